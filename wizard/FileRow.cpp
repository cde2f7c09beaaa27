#include "FileRow.h"

#include "ConversionFile.h"
#include "File.h"
#include "ResourceLibrary.h"

FileRow::FileRow(ConversionFile &record,
                 const ConversionFileCollection &collection,
                 Form form,
                 const ResourceLibrary &resources)
    : m_record(record)
    , m_collection(collection)
    , m_fullPath(QString::fromStdString(record.fullPath()))
    , m_form(form)
{
    if (m_form == Form::Status) {
        showState(FileStateDisplay::makeRow(record), resources);
        return;
    }
    setIcon(textColumn, File(m_fullPath).icon());
    setText(textColumn, QString::fromStdString(record.baseName()));
    setToolTip(textColumn, m_fullPath);
}

FileRow::FileRow(ConversionFile &record,
                 const ConversionFileCollection &collection,
                 const FileStateDisplay::Row &display,
                 const ResourceLibrary &resources)
    : m_record(record)
    , m_collection(collection)
    , m_fullPath(QString::fromStdString(record.fullPath()))
    , m_form(Form::Status)
{
    showState(display, resources);
}

void FileRow::showState(const FileStateDisplay::Row &display, const ResourceLibrary &resources)
{
    const auto iconId = static_cast<unsigned long>(display.entry.iconId);
    if (display.entry.iconId == FileStateDisplay::fileIcon || !resources.hasImage(iconId))
        setIcon(textColumn, File(m_fullPath).icon());
    else
        setIcon(textColumn, resources.loadIcon(iconId));
    const auto textId = static_cast<unsigned long>(display.entry.textId);
    const QString text = resources.hasString(textId) ? resources.loadString(textId) : QString();
    setText(textColumn, text + QString::fromStdString(display.counterText()));
    setText(pathColumn, m_fullPath);
    // The first thing to know about a file: its tool's latest message, at a glance.
    const QString message = QString::fromStdString(display.message);
    setToolTip(textColumn, message.isEmpty() ? text : message);
    setToolTip(pathColumn, message.isEmpty() ? m_fullPath : m_fullPath + u'\n' + message);
    m_failed = display.failed;
    if (m_failed) {
        for (const int column : {textColumn, pathColumn}) {
            setForeground(column, failureColour());
            QFont bold = font(column);
            bold.setBold(true);
            setFont(column, bold);
        }
    }
}

QColor FileRow::failureColour()
{
    return QColor(0xC0, 0x00, 0x00);
}
