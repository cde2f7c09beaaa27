#pragma once

#include "AnalysisData.h"

namespace cobol {

class ExecArgumentReader;

/// Reads the command of one EXEC DLI block: its name (long spellings such as GET UNIQUE become
/// the short ones, GU) into the statement's detail ("DLI GU"), and every option's argument as an
/// operand. The I/O areas of a segment (INTO written, FROM read) name their segment in `column`;
/// the data areas of a WHERE qualification are read and name "SEGMENT.FIELD".
class DliCommandParser final
{
public:
    explicit DliCommandParser(const ExecArgumentReader &reader)
        : m_reader(reader)
    {}

    void parse(Statement &statement) const;

private:
    /// The command at `i` in its short spelling (`i` moves past it); empty, with an error
    /// diagnostic, when there is none.
    std::string command(std::size_t &i) const;
    void where(Statement &statement,
               std::size_t first,
               std::size_t last,
               const std::string &segment) const;

    const ExecArgumentReader &m_reader;
};

} // namespace cobol
