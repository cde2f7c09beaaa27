#pragma once

#include <string>

class DbPu;

/// A file a program unit read: its source or a copybook.
class DbInputFile final
{
public:
    enum Kind { sourceFile, copybookFile };

    /// The path of the file as the unit read it. `pu` is the unit whose table holds the entry;
    /// an entry of another unit gives an empty text.
    std::string inputFile(const DbPu &pu) const { return &pu == m_pu ? m_path : std::string(); }

    const std::string &path() const { return m_path; }
    Kind kind() const { return m_kind; }
    /// The copybook name as written in COPY; empty for the source.
    const std::string &copybook() const { return m_copybook; }
    DbPu *pPu() const { return m_pu; }

private:
    friend class DbPu;

    std::string m_path;
    std::string m_copybook;
    DbPu *m_pu = nullptr;
    Kind m_kind = sourceFile;
};
