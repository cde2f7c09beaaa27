#pragma once

#include "FileRow.h"

#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

class ConversionFile;
class ConversionFileCollection;
class ResourceLibrary;

/// The list control for conversion records: plain (icon and base name) in the file selection and
/// summary panels, with a status column in the progress window. It shows records of the
/// collection it is given; it never owns them.
///
/// Each record has at most one row, remembered by the list (`rowFor`); a record's row is replaced
/// when its state changes (`remakeRow`). The list must be told before a record it shows is
/// removed from the collection (`removeRecord`).
class FileListContainer final : public QTreeWidget
{
    Q_OBJECT

public:
    using Form = FileRow::Form;

    /// The user event that makes the list fill itself (see `postFill`).
    static constexpr QEvent::Type fillEventType = QEvent::Type(39169);

    /// A list over `collection` in `form`; `resources` (KELWIZRS) gives the column headings and
    /// the state icons and texts. Both must outlive the list. The list starts empty.
    FileListContainer(ConversionFileCollection &collection,
                      const ResourceLibrary &resources,
                      Form form,
                      QWidget *parent = nullptr,
                      unsigned long controlId = 0);
    ~FileListContainer() override;

    /// Adds a row for `record`, which the collection holds, at the end of the list. A record
    /// that already has a row keeps it: that row is returned and nothing is added.
    FileRow *addRecord(ConversionFile &record);
    /// Adds `record` to the collection first, then a row for it. Returns null and adds no row
    /// when the collection reports the record as not newly added (`record` is then destroyed).
    FileRow *addNewRecord(std::unique_ptr<ConversionFile> record);
    /// The same for a record made from the kit `File` of `path`.
    FileRow *addNewFile(const QString &path);

    /// Removes the record's row and then the record from the collection (destroying it).
    /// False when the collection did not hold it.
    bool removeRecord(ConversionFile &record);

    /// Shows the wait pointer, disables the list's frame and posts the fill event to the list;
    /// `fill` runs when it arrives and undoes both. Panels call this right after construction, so
    /// the list fills once the panel is on screen.
    void postFill();
    /// Replaces the rows with one row per record of the collection, in collection order, then
    /// restores the pointer and the frame that `postFill` changed (if it did).
    void fill();

    /// Replaces the row of `record` by a newly made one at the same place, so that it shows the
    /// record's current state (in the status form the counter rule applies again). Returns the
    /// new row, null when the record has no row in this list.
    FileRow *remakeRow(ConversionFile &record);
    /// The same with a state display made earlier (status form only; see FileRow).
    FileRow *remakeRow(ConversionFile &record, const FileStateDisplay::Row &display);

    /// The row of `record`, null when it has none.
    FileRow *rowFor(const ConversionFile &record) const;
    /// The row at `index` (0-based), null when out of range.
    FileRow *rowAt(int index) const;
    int rowCount() const { return topLevelItemCount(); }
    /// The records of the selected rows, in list order.
    std::vector<ConversionFile *> selectedRecords() const;

    /// The width that shows an eight-character member name whole, with its icon.
    int minimumNameWidth() const;

    ConversionFileCollection &collection() const { return m_collection; }
    Form form() const { return m_form; }
    bool isStatusForm() const { return m_form == Form::Status; }
    unsigned long controlId() const { return m_controlId; }

protected:
    bool event(QEvent *event) override;

private:
    FileRow *makeRow(ConversionFile &record) const;
    FileRow *replaceRow(FileRow *old, FileRow *row);
    void insertRow(int index, FileRow *row);
    void removeRows();
    void endFillWait();

    ConversionFileCollection &m_collection;
    const ResourceLibrary &m_resources;
    const Form m_form;
    const unsigned long m_controlId;
    QHash<const ConversionFile *, FileRow *> m_rows;
    /// The frame that `postFill` disabled and whose pointer it changed, until the fill.
    QPointer<QWidget> m_waitingFrame;
    bool m_fillPending = false;
};
