#pragma once

#include "KindInterval.h"
#include "LineReader.h"

#include <iosfwd>
#include <string>
#include <vector>

class ProgramInfo;
class SeedTable;

/// Reads one program-info file (".xrl") into a seed table on behalf of one program.
///
///     <PROGRAM-INFO>
///     <FILE> program source </FILE>
///     <FILE> copybook </FILE>              one line per included copybook
///     </PROGRAM-INFO>
///     <INCLUDE> copybook qualifier
///     ...any lines...
///     <RESULT>
///     <KIND-NAME>                           e.g. <USED-AS-YEAR>
///     <INDEX> n <LENGTH> m
///     ...any lines...
///     </KIND-NAME>
///     </RESULT>
///
/// Tags are matched case-sensitively anywhere in a line; lines are read at most 999 characters
/// at a time (the rest of a longer line is the next read); texts between tags are stripped of
/// blanks. Several PROGRAM-INFO blocks all add to the same program. The end of the file ends
/// whatever block is open as its closing tag would: an INCLUDE block is merged with the runs read
/// so far, none when the file ended before its "<RESULT>" (a new entry is still made and counts
/// as a change). Lines that fit no rule are ignored. A number that does
/// not fit 32 bits drops its run; runs of index 0 or length 0 denote no bytes and are dropped by
/// the merge.
class ProgramInfoReader final
{
public:
    ProgramInfoReader(SeedTable &table, ProgramInfo &program, std::istream &in);

    /// Reads to the end of the file. Throws IAccessError("Kind did not parse correctly") for a
    /// kind name outside the six read forms; the blocks merged before it stay merged.
    void read();

private:
    bool nextLine();
    void readProgramInfoBlock();
    void readIncludeBlock();
    /// Reads kind blocks up to "</RESULT>"; false when the file ended first.
    bool readResults(std::vector<KindInterval> &runs);

    SeedTable &m_table;
    ProgramInfo &m_program;
    LineReader m_reader;
    std::string m_line;
};
