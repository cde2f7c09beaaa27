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
    setToolTip(pathColumn, m_fullPath);
}
