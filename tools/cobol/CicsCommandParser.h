#pragma once

#include "AnalysisData.h"
#include "CicsCommandTable.h"

namespace cobol {

class ExecArgumentReader;

/// Reads the command of one EXEC CICS block: its name (one or two words, as the CICS
/// reference spells it) into the statement's detail ("CICS READQ TS"), and every option's
/// argument as an operand with the option's name and its role from CicsCommandTable. An unknown
/// command keeps its arguments with an unknown direction (role ARGUMENT) and gets a warning.
/// SEND MAP without FROM and RECEIVE MAP without INTO name the symbolic map (`<map>O`, `<map>I`)
/// as the translator would.
class CicsCommandParser final
{
public:
    explicit CicsCommandParser(const ExecArgumentReader &reader)
        : m_reader(reader)
    {}

    void parse(Statement &statement) const;

private:
    /// The operands of one option's argument, `tokens[first, last)`, as `kind` says.
    void argument(Statement &statement,
                  const std::string &option,
                  CicsCommandTable::Argument kind,
                  std::size_t first,
                  std::size_t last) const;
    void implicitMapArea(Statement &statement, const std::string &command) const;

    const ExecArgumentReader &m_reader;
};

} // namespace cobol
