#pragma once

#include "AnalysisData.h"
#include "ExecBlock.h"
#include "ExecParser.h"
#include "LexToken.h"
#include "SymbolTable.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace cobol {

class TokenCursor;

/// Collects the facts of the procedure division the date-field analysis needs (moves,
/// arithmetic with the signs of its terms, relational conditions, ACCEPT FROM DATE, calls, record
/// I/O with INTO/FROM, PERFORM loops) and the sections and paragraphs. Statements it does not
/// know are skipped up to the next verb or period; nothing here is fatal.
class ProcedureParser final
{
public:
    /// `fileRecords` maps a file (FD/SD) name to its first record item.
    ProcedureParser(AnalysisData &data,
                    std::unordered_map<std::string, std::uint32_t> fileRecords = {})
        : m_data(data)
        , m_symbols(data.items)
        , m_fileRecords(std::move(fileRecords))
        , m_exec(data, [this](TokenCursor &cursor, Operand &out) {
            std::vector<Operand> extra;
            return operand(cursor, out, extra);
        })
    {}

    /// Parses from the PROCEDURE DIVISION header to the cursor's end.
    void parse(TokenCursor &cursor);

    /// Reads the EXEC blocks of the data division (DECLARE TABLE, INCLUDE, ...) into statements,
    /// before parse(): what they declare serves the EXEC SQL statements of the procedure division.
    void dataDivisionExec(const std::vector<LexToken> &tokens,
                          const std::vector<DataDivisionExec> &blocks);

private:
    /// Fewer tokens than a statement fact takes in practice (the room reserved for the facts).
    static constexpr std::size_t statementTokens = 3;

    struct Context
    {
        enum class Kind { Evaluate, Search };
        Kind kind = Kind::Evaluate;
        std::vector<std::vector<Operand>> subjects; ///< empty vector = TRUE/FALSE subject
        std::uint32_t group = 0;
    };

    void statement(TokenCursor &cursor);
    void when(TokenCursor &cursor);
    Statement &fact(StatementKind kind,
                    const LexToken &verb,
                    std::size_t firstToken,
                    std::uint32_t group = 0);
    void finish(Statement &stmt, const TokenCursor &cursor);
    bool operand(TokenCursor &cursor, Operand &out, std::vector<Operand> &extra);
    std::vector<Operand> operandList(TokenCursor &cursor,
                                     OperandRole role,
                                     int sign,
                                     std::vector<Operand> &extra);
    /// The same, appended to `into`.
    void operandList(TokenCursor &cursor,
                     OperandRole role,
                     int sign,
                     std::vector<Operand> &extra,
                     std::vector<Operand> &into);
    void expression(TokenCursor &cursor,
                    int sign,
                    bool linear,
                    std::vector<Operand> &terms,
                    std::vector<Operand> &extra,
                    bool &nonLinear);
    void term(TokenCursor &cursor,
              int sign,
              bool linear,
              std::vector<Operand> &terms,
              std::vector<Operand> &extra,
              bool &nonLinear);
    void primary(TokenCursor &cursor,
                 int sign,
                 bool linear,
                 std::vector<Operand> &terms,
                 std::vector<Operand> &extra,
                 bool &nonLinear);
    void condition(TokenCursor &cursor,
                   StatementContext context,
                   const LexToken &verb,
                   std::size_t firstToken,
                   std::uint32_t &group);
    std::string relation(TokenCursor &cursor);
    void compare(const std::vector<Operand> &left,
                 const std::string &op,
                 const std::vector<Operand> &right,
                 StatementContext context,
                 const LexToken &verb,
                 std::size_t firstToken,
                 std::uint32_t &group,
                 const TokenCursor &cursor,
                 std::vector<Operand> extra);
    bool isVerb(const LexToken &token) const;
    bool isReserved(const LexToken &token) const;
    void subscriptsAndRefMod(TokenCursor &cursor, Operand &out);
    void perform(TokenCursor &cursor, const LexToken &verb, std::size_t first);
    void execBlock(TokenCursor &cursor, const LexToken &verb, std::size_t first);
    void paragraphOrSection(TokenCursor &cursor);

    AnalysisData &m_data;
    SymbolTable m_symbols;
    std::unordered_map<std::string, std::uint32_t> m_fileRecords;
    std::vector<Context> m_contexts;
    std::uint32_t m_section = 0;
    std::uint32_t m_paragraph = 0;
    std::uint32_t m_division = 0;
    std::size_t m_unresolvedReported = 0;
    ExecParser m_exec;
};

} // namespace cobol
