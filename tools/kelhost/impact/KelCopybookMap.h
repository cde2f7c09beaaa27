#pragma once

#include <QString>

#include <string>

class KelDataMapWindow;
class QWidget;

/// Opens the data map on a copybook laid out on its own (what `kelhost --copybook NAME` and the
/// related-source-members list open): the copybook's records as the first unit that includes
/// it plainly lays them out, entries that some unit's analysis finds to be date fields marked,
/// and in the info area a note naming the units whose includes lay it out differently
/// (REPLACING, SYNC).
///
/// The map works on a program unit of its own, made from the copybook's entries, which lives as
/// long as the window (the window deletes itself when closed). `owner` is the desktop (may be
/// null). Returns the window, shown; null with the reason in `error` when the database cannot
/// be read or no unit includes the copybook with data entries.
KelDataMapWindow *openCopybookMap(QWidget *owner,
                                  const std::string &databaseFile,
                                  const std::string &copybook,
                                  QString &error);
