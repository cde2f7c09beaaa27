#pragma once

#include "AnalysisData.h"
#include "ExecArgumentReader.h"
#include "ExecBlock.h"
#include "SqlStatementParser.h"
#include "SymbolTable.h"

#include <vector>

namespace cobol {

/// Reads EXEC CICS, EXEC SQL and EXEC DLI blocks into statements of kind Exec: the command in the
/// statement's detail, every argument (host variable, data area, resource name) as an operand
/// with its option, its role and its place. Remembers what SQL statements declare (tables,
/// cursors) for the statements after them. Problems become diagnostics with file and line: a
/// block without END-EXEC, an unknown language or command, an undeclared host variable.
class ExecParser final
{
public:
    using OperandReader = ExecArgumentReader::OperandReader;

    /// `reader` reads one COBOL operand as the procedure parser does.
    ExecParser(AnalysisData &data, OperandReader reader)
        : m_data(data)
        , m_symbols(data.items)
        , m_reader(std::move(reader))
    {}

    /// The statement for `block` of `tokens`: kind Exec, verb EXEC, detail and operands. The
    /// caller numbers and places it. `itemsBefore`: the data items declared before a block of
    /// the data division (DECLARE TABLE takes the host structure declared after it).
    Statement parse(const std::vector<LexToken> &tokens,
                    const ExecBlock &block,
                    std::uint32_t itemsBefore = 0);

private:
    AnalysisData &m_data;
    SymbolTable m_symbols;
    OperandReader m_reader;
    SqlSchema m_schema;
};

} // namespace cobol
