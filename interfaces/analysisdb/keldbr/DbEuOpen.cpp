// DbEu::open: the part of DbEu that reads a database file (keldbr).
#include "DbEu.h"

#include "DbReader.h"

std::unique_ptr<DbEu> DbEu::open(const std::string &fileName)
{
    DbReader::EuContents contents = DbReader::readEu(fileName);
    return std::make_unique<DbEu>(fileName,
                                  std::move(contents.name),
                                  std::move(contents.units),
                                  std::move(contents.databaseIds));
}
