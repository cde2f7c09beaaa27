#pragma once

#include "AnalysisData.h"
#include "ExecBlock.h"
#include "LexToken.h"
#include "SymbolTable.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

class TokenCursor;

/// The token-level helpers the EXEC command parsers share: the tokens of one block, matching
/// parentheses, reading the COBOL operands of an option's argument, and diagnostics that name the
/// block's language.
class ExecArgumentReader final
{
public:
    /// Reads one COBOL operand (identifier, literal, LENGTH OF ...) at the cursor, as the
    /// procedure parser reads statement operands.
    using OperandReader = std::function<bool(TokenCursor &, Operand &)>;

    ExecArgumentReader(const std::vector<LexToken> &tokens,
                       const ExecBlock &block,
                       AnalysisData &data,
                       const SymbolTable &symbols,
                       const OperandReader &reader)
        : m_tokens(tokens)
        , m_block(block)
        , m_data(data)
        , m_symbols(symbols)
        , m_reader(reader)
    {}

    const std::vector<LexToken> &tokens() const { return m_tokens; }
    const ExecBlock &block() const { return m_block; }
    AnalysisData &data() const { return m_data; }
    const SymbolTable &symbols() const { return m_symbols; }

    /// `tokens[index]` inside the block's command, else an empty end token.
    const LexToken &token(std::size_t index) const;
    bool isPunct(std::size_t index, std::string_view text) const;
    /// Whether `tokens[index]` is the word `word` (upper case) inside the command.
    bool isWord(std::size_t index, std::string_view word) const;

    /// The index of the ')' that closes the '(' at `open`; the end of the command when the
    /// parentheses do not balance (an error diagnostic says so).
    std::size_t closing(std::size_t open) const;

    /// The COBOL operands written in `tokens[first, last)`, each with `role` and `option`. A word
    /// that names no data item gives an Item operand with item 0 and a warning naming it as an
    /// undeclared host variable. Tokens that are no operand are skipped.
    std::vector<Operand> operands(std::size_t first,
                                  std::size_t last,
                                  OperandRole role,
                                  const std::string &option) const;

    void diagnose(Diagnostic::Severity severity,
                  const SourcePlace &place,
                  std::string message) const;

    /// "EXEC CICS" / "EXEC SQL" / "EXEC DLI", for messages.
    std::string blockName() const { return "EXEC " + m_block.languageName(); }

private:
    const std::vector<LexToken> &m_tokens;
    const ExecBlock &m_block;
    AnalysisData &m_data;
    const SymbolTable &m_symbols;
    const OperandReader &m_reader;
};

} // namespace cobol
