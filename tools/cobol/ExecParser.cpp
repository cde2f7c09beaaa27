#include "ExecParser.h"

#include "CicsCommandParser.h"
#include "DliCommandParser.h"

namespace cobol {

Statement ExecParser::parse(const std::vector<LexToken> &tokens,
                            const ExecBlock &block,
                            std::uint32_t itemsBefore)
{
    Statement statement;
    statement.kind = StatementKind::Exec;
    statement.verb = "EXEC";
    const LexToken &exec = tokens[block.begin];
    statement.place = exec.place;
    const ExecArgumentReader reader(tokens, block, m_data, m_symbols, m_reader);
    if (!block.terminated) {
        const std::size_t last = block.end > block.begin ? block.end - 1 : block.begin;
        m_data.diagnostics.push_back(
            {Diagnostic::Severity::Error,
             exec.place,
             "Expected END-EXEC to close " + reader.blockName() + ", found "
                 + (block.end < tokens.size() ? quoted(tokens[block.end].text())
                                              : std::string("the end of the program"))
                 + "; the block is taken to end on line " + std::to_string(tokens[last].place.line)
                 + "."});
    }
    switch (block.language) {
    case ExecBlock::Language::Cics:
        CicsCommandParser(reader).parse(statement);
        break;
    case ExecBlock::Language::Sql:
        SqlStatementParser(reader, m_schema, itemsBefore).parse(statement);
        break;
    case ExecBlock::Language::Dli:
        DliCommandParser(reader).parse(statement);
        break;
    case ExecBlock::Language::Unknown:
        statement.detail = block.languageWord;
        m_data.diagnostics.push_back(
            {Diagnostic::Severity::Warning,
             exec.place,
             "Unknown EXEC language " + (block.languageWord.empty() ? "(none)" : block.languageWord)
                 + ": expected CICS, SQL or DLI; the block is skipped."});
        break;
    }
    return statement;
}

} // namespace cobol
