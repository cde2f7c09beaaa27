#pragma once

#include "DbPropertyPage.h"

class QListWidget;

/// The source page of the unit property window: under the heading KELRESRC 0xC204, the files the
/// unit read, one line per entry of its input file table (the program source, then each
/// copybook once, in first-read order; DbInputFile::inputFile).
class DbSourcePageInfo : public DbPropertyPage
{
    Q_OBJECT

public:
    DbSourcePageInfo(QWidget *parent, DbPu &pu);

    /// The list of files; null when the unit could not be loaded.
    QListWidget *fileList() const { return m_files; }

private:
    QListWidget *m_files = nullptr;
};
