#include "FileListContainer.h"

#include "ConversionFile.h"
#include "ConversionFileCollection.h"
#include "File.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QStyle>

namespace {

/// The event that makes a list fill itself; it carries nothing.
class FillEvent final : public QEvent
{
public:
    FillEvent()
        : QEvent(FileListContainer::fillEventType)
    {}
};

QString textOr(const ResourceLibrary &resources, unsigned long id)
{
    return resources.hasString(id) ? resources.loadString(id) : QString();
}

} // namespace

FileListContainer::FileListContainer(ConversionFileCollection &collection,
                                     const ResourceLibrary &resources,
                                     Form form,
                                     QWidget *parent,
                                     unsigned long controlId)
    : QTreeWidget(parent)
    , m_collection(collection)
    , m_resources(resources)
    , m_form(form)
    , m_controlId(controlId)
{
    if (controlId != 0)
        setObjectName(QStringLiteral("control%1").arg(controlId));
    setProperty("controlId", QVariant::fromValue(qulonglong(controlId)));
    setIconSize(QSize(16, 16));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    if (m_form == Form::Plain) {
        setColumnCount(1);
        setHeaderHidden(true);
        // The one column fills the list: no horizontal scroll bar, not even when it is empty.
        header()->setSectionResizeMode(FileRow::textColumn, QHeaderView::Stretch);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        setColumnCount(2);
        setHeaderLabels({textOr(resources, KelwizRes::statusColumnHeading),
                         textOr(resources, KelwizRes::fileColumnHeading)});
        header()->setStretchLastSection(true);
        header()->setSectionResizeMode(FileRow::textColumn, QHeaderView::Interactive);
        setColumnWidth(FileRow::textColumn, 220);
    }
}

FileListContainer::~FileListContainer()
{
    // A fill that never came must not leave the application with the wait pointer.
    endFillWait();
}

int FileListContainer::minimumNameWidth() const
{
    // An eight-character member name in wide letters, its icon, the gaps and the frame.
    return fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW")) + iconSize().width()
           + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2 * frameWidth() + 16;
}

FileRow *FileListContainer::makeRow(ConversionFile &record) const
{
    return new FileRow(record, m_collection, m_form, m_resources);
}

void FileListContainer::insertRow(int index, FileRow *row)
{
    // The list owns its rows; the map only remembers them.
    insertTopLevelItem(index, row);
    m_rows.insert(&row->record(), row);
}

FileRow *FileListContainer::addRecord(ConversionFile &record)
{
    if (FileRow *existing = rowFor(record))
        return existing;
    FileRow *row = makeRow(record);
    insertRow(topLevelItemCount(), row);
    return row;
}

FileRow *FileListContainer::addNewRecord(std::unique_ptr<ConversionFile> record)
{
    // The collection destroys a record it does not take, so the pointer is kept only for a true
    // result.
    ConversionFile *added = record.get();
    if (!m_collection.add(std::move(record)))
        return nullptr;
    return addRecord(*added);
}

FileRow *FileListContainer::addNewFile(const QString &path)
{
    return addNewRecord(std::make_unique<ConversionFile>(File(path).fullPath()));
}

bool FileListContainer::removeRecord(ConversionFile &record)
{
    if (FileRow *row = m_rows.take(&record))
        delete takeTopLevelItem(indexOfTopLevelItem(row));
    return m_collection.remove(record) != nullptr;
}

void FileListContainer::postFill()
{
    if (!m_fillPending) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_waitingFrame = window();
        m_waitingFrame->setEnabled(false);
        m_fillPending = true;
    }
    QCoreApplication::postEvent(this, new FillEvent);
}

void FileListContainer::fill()
{
    removeRows();
    for (std::size_t i = 0; i < m_collection.size(); ++i)
        addRecord(m_collection.at(i));
    endFillWait();
}

void FileListContainer::endFillWait()
{
    if (!m_fillPending)
        return;
    m_fillPending = false;
    QApplication::restoreOverrideCursor();
    if (m_waitingFrame)
        m_waitingFrame->setEnabled(true);
    m_waitingFrame = nullptr;
}

void FileListContainer::removeRows()
{
    m_rows.clear();
    clear();
}

FileRow *FileListContainer::remakeRow(ConversionFile &record)
{
    FileRow *old = rowFor(record);
    return old ? replaceRow(old, makeRow(record)) : nullptr;
}

FileRow *FileListContainer::remakeRow(ConversionFile &record, const FileStateDisplay::Row &display)
{
    if (m_form != Form::Status)
        return remakeRow(record);
    FileRow *old = rowFor(record);
    return old ? replaceRow(old, new FileRow(record, m_collection, display, m_resources)) : nullptr;
}

FileRow *FileListContainer::replaceRow(FileRow *old, FileRow *row)
{
    const int index = indexOfTopLevelItem(old);
    const bool wasCurrent = currentItem() == old;
    const bool wasSelected = old->isSelected();
    m_rows.remove(&old->record());
    delete takeTopLevelItem(index);

    insertRow(index, row);
    if (wasCurrent)
        setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    row->setSelected(wasSelected);
    return row;
}

FileRow *FileListContainer::rowFor(const ConversionFile &record) const
{
    return m_rows.value(&record, nullptr);
}

FileRow *FileListContainer::rowAt(int index) const
{
    return static_cast<FileRow *>(topLevelItem(index));
}

std::vector<ConversionFile *> FileListContainer::selectedRecords() const
{
    std::vector<ConversionFile *> records;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (FileRow *row = rowAt(i); row->isSelected())
            records.push_back(&row->record());
    }
    return records;
}

bool FileListContainer::event(QEvent *event)
{
    if (event->type() == fillEventType) {
        fill();
        return true;
    }
    return QTreeWidget::event(event);
}
