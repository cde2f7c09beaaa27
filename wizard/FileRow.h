#pragma once

#include "FileStateDisplay.h"

#include <QColor>
#include <QTreeWidgetItem>

class ConversionFile;
class ConversionFileCollection;
class ResourceLibrary;

/// One row of a `FileListContainer`: a conversion record shown with an icon and a text, and in
/// the status form also its full path in the second column.
///
/// The icon and text are made once, when the row is made: in the plain form the file's own icon
/// and the record's base name; in the status form the icon and text of the record's state
/// (`FileStateDisplay`), whose counter rule may advance the record's display counter. A row
/// that must show a new state is therefore replaced by a new row, never refreshed.
class FileRow final : public QTreeWidgetItem
{
public:
    enum class Form { Plain, Status };

    /// Column of the icon and text; the status form shows the full path in `pathColumn`.
    static constexpr int textColumn = 0;
    static constexpr int pathColumn = 1;

    /// Makes the row for `record`, which `collection` holds; `resources` (KELWIZRS) gives the
    /// state icons and texts. A missing resource gives an empty icon or text, never an error.
    FileRow(ConversionFile &record,
            const ConversionFileCollection &collection,
            Form form,
            const ResourceLibrary &resources);
    /// Makes a status-form row for `record` that shows `display`, a state's icon and text made
    /// earlier (the engine makes it when the state changes, so the counter rule sees every
    /// state the record passes through even when the GUI draws later).
    FileRow(ConversionFile &record,
            const ConversionFileCollection &collection,
            const FileStateDisplay::Row &display,
            const ResourceLibrary &resources);

    ConversionFile &record() const { return m_record; }
    const ConversionFileCollection &collection() const { return m_collection; }
    /// The record's full path as the row shows it in the status form.
    const QString &fullPath() const { return m_fullPath; }
    bool isStatusForm() const { return m_form == Form::Status; }
    /// True for a status-form row of a file that failed: drawn in bold red, so that it cannot be
    /// missed. Its tool tip is the file's latest tool message.
    bool isFailed() const { return m_failed; }

    /// The colour of failed rows (the failure counts' red).
    static QColor failureColour();

private:
    void showState(const FileStateDisplay::Row &display, const ResourceLibrary &resources);

    ConversionFile &m_record;
    const ConversionFileCollection &m_collection;
    const QString m_fullPath;
    const Form m_form;
    bool m_failed = false;
};
