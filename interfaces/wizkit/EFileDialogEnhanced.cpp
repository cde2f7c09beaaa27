#include "EFileDialogEnhanced.h"

#include "EStaticText.h"
#include "GenericFileDialog.h"
#include "KitMarkup.h"
#include "WizkitTexts.h"

#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QToolButton>

namespace {

constexpr int pathRole = Qt::UserRole + 1;
constexpr int isDirectoryRole = Qt::UserRole + 2;

/// The list, with Enter reported like a double-click on the current entry.
class EntryList final : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
            emit itemActivated(currentItem());
            event->accept();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

/// The current directory, shortened at its start when it does not fit: the end of a path names
/// the directory, so that part stays readable. The full path is the tool tip.
class PathLabel final : public QLabel
{
public:
    explicit PathLabel(QWidget *parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        // The path never widens the browser: it takes the room the layout gives it.
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    void setPath(const QString &path)
    {
        m_path = path;
        setToolTip(path);
        showPath();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        showPath();
    }

private:
    void showPath()
    {
        setText(fontMetrics().elidedText(m_path, Qt::ElideLeft, contentsRect().width()));
    }

    QString m_path;
};

} // namespace

EFileDialogEnhanced::EFileDialogEnhanced(QWidget *parent,
                                         const QString &startDirectory,
                                         const QString &defaultExtension,
                                         const QString &label,
                                         unsigned long controlId)
    : QWidget(parent)
    , m_defaultExtension(defaultExtension)
    , m_containerId(controlId + 1)
{
    if (controlId != 0)
        setObjectName(QStringLiteral("control%1").arg(controlId));
    m_label = new EStaticText(label, this);
    auto *lookInLabel = new EStaticText(WizkitTexts::text(WizkitTexts::lookIn), this);
    lookInLabel->setWordWrap(false);
    m_lookIn = new PathLabel(this);
    m_lookIn->setObjectName(QStringLiteral("lookIn"));
    m_lookIn->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_up = new QToolButton(this);
    m_up->setText(WizkitTexts::buttonLabel(WizkitTexts::parentDirectory));
    m_up->setObjectName(QStringLiteral("parentDirectory"));
    m_list = new EntryList(this);
    m_list->setObjectName(QStringLiteral("control%1").arg(m_containerId));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setIconSize(QSize(16, 16));
    m_list->setUniformItemSizes(true);
    auto *typeLabel = new QLabel(WizkitTexts::buttonLabel(WizkitTexts::fileTypeLabel).trimmed(),
                                 this);
    m_types = new QComboBox(this);
    m_types->setObjectName(QStringLiteral("fileTypes"));
    // The file types never widen the browser; a narrow browser shows their start.
    m_types->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_types->setMinimumContentsLength(8);
    m_types->addItem(WizkitTexts::buttonLabel(WizkitTexts::allFiles) + QStringLiteral(" (*)"));
    m_extensions.append(QString());

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_label, 0, 0, 1, 3);
    grid->addWidget(lookInLabel, 1, 0);
    grid->addWidget(m_lookIn, 1, 1);
    grid->addWidget(m_up, 1, 2);
    grid->addWidget(m_list, 2, 0, 1, 3);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(m_types, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    connect(m_up, &QToolButton::clicked, this, &EFileDialogEnhanced::goUp);
    connect(m_list,
            &QListWidget::itemSelectionChanged,
            this,
            &EFileDialogEnhanced::selectionChanged);
    connect(m_list, &QListWidget::itemActivated, this, &EFileDialogEnhanced::activate);
    connect(m_types, &QComboBox::currentIndexChanged, this, &EFileDialogEnhanced::refresh);

    if (!setDirectory(startDirectory.isEmpty() ? QStringLiteral(".") : startDirectory))
        setDirectory(QDir::currentPath());
}

EFileDialogEnhanced::~EFileDialogEnhanced() = default;

void EFileDialogEnhanced::addSpecifiedExtension(const QString &extension,
                                                const QString &description)
{
    // Before "All Files", which stays last.
    const int index = m_types->count() - 1;
    m_types->insertItem(index, GenericFileDialog::fileTypeText(extension, description));
    m_extensions.insert(index, extension);
    if (extension.compare(m_defaultExtension, Qt::CaseInsensitive) == 0)
        m_types->setCurrentIndex(index);
    else
        refresh();
}

bool EFileDialogEnhanced::setDirectory(const QString &path)
{
    const QDir directory(path);
    if (!directory.exists() || !directory.isReadable())
        return false;
    m_directory = QDir::cleanPath(directory.absolutePath());
    static_cast<PathLabel *>(m_lookIn)->setPath(QDir::toNativeSeparators(m_directory));
    m_up->setEnabled(!directory.isRoot());
    fill();
    emit directoryChanged(m_directory);
    return true;
}

bool EFileDialogEnhanced::goUp()
{
    QDir directory(m_directory);
    if (directory.isRoot() || !directory.cdUp())
        return false;
    return setDirectory(directory.absolutePath());
}

void EFileDialogEnhanced::refresh()
{
    fill();
}

QStringList EFileDialogEnhanced::currentPatterns() const
{
    const int index = m_types->currentIndex();
    if (index < 0 || index >= m_extensions.size() || m_extensions.at(index).isEmpty())
        return {QStringLiteral("*")};
    return {QStringLiteral("*.") + m_extensions.at(index)};
}

void EFileDialogEnhanced::fill()
{
    const bool hadSelection = !m_list->selectedItems().isEmpty();
    m_list->clear();
    if (m_directory.isEmpty())
        return;
    QFileIconProvider icons;
    const QDir directory(m_directory);
    const QFileInfoList directories = directory.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                              QDir::Name | QDir::IgnoreCase);
    // Name filters match without regard to case: sources come as PAY.CBL and pay.cbl.
    const QFileInfoList files = directory.entryInfoList(currentPatterns(),
                                                        QDir::Files,
                                                        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfoList *list : {&directories, &files}) {
        for (const QFileInfo &info : *list) {
            auto *item = new QListWidgetItem(icons.icon(info), info.fileName(), m_list);
            item->setData(pathRole, info.absoluteFilePath());
            item->setData(isDirectoryRole, info.isDir());
        }
    }
    if (hadSelection)
        emit selectionChanged();
}

File EFileDialogEnhanced::getSelected() const
{
    QListWidgetItem *current = m_list->currentItem();
    if (current && current->isSelected())
        return File(current->data(pathRole).toString());
    const QList<File> entries = selectedEntries();
    return entries.isEmpty() ? File() : entries.constFirst();
}

QList<File> EFileDialogEnhanced::selectedEntries() const
{
    QList<File> entries;
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem *item = m_list->item(row);
        if (item->isSelected())
            entries.append(File(item->data(pathRole).toString()));
    }
    return entries;
}

void EFileDialogEnhanced::select(const QStringList &fileNames)
{
    m_list->clearSelection();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        if (fileNames.contains(item->text())) {
            item->setSelected(true);
            m_list->setCurrentItem(item, QItemSelectionModel::Current);
        }
    }
}

QStringList EFileDialogEnhanced::listedNames() const
{
    QStringList names;
    for (int row = 0; row < m_list->count(); ++row)
        names << m_list->item(row)->text();
    return names;
}

void EFileDialogEnhanced::activate(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString path = item->data(pathRole).toString();
    if (item->data(isDirectoryRole).toBool()) {
        // Deferred: the item that brought us here goes with the old list.
        QMetaObject::invokeMethod(
            this, [this, path] { setDirectory(path); }, Qt::QueuedConnection);
        return;
    }
    emit entryActivated(File(path));
}
