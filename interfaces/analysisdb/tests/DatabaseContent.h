#pragma once

#include <string>

/// What an analysis database holds, as text to compare: every table (by name) with every row
/// (sorted), each value written out, blobs in hexadecimal. The clock's columns (`eu.created`,
/// `eu.updated`, `pu.time_stamp`) are left out: two runs that record the same units differ only
/// there; so are the units' origins (`pu_origin`), which name where a run wrote and when.
/// Throws std::runtime_error naming the file when it cannot be read.
std::string databaseContent(const std::string &path);

/// The first column of the first row that `sql` gives on the database `path`, as text ("" when
/// none). Throws std::runtime_error naming the file when it cannot be read.
std::string databaseValue(const std::string &path, const std::string &sql);
