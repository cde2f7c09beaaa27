#pragma once

#include "AdtFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kelmkpu {

/// The texts of statements as written (their words, one blank where the source has any blank
/// or line break, at most DbImpactFacts::maxText bytes), made in one pass over the tokens
/// instead of from a copy of all of them: only the statements whose tokens are being read hold
/// a text.
///
/// A statement's text runs from its first to its last token; a statement the parser ends
/// early (SET X TO TRUE) takes the rest of its last line, up to the next statement, period or
/// scope word (ELSE, WHEN, END-...). A period that ends the text is left out. An empty text is
/// the statement's fallback (its verb).
///
/// Use: `addStatementStart` for every statement and `add` for each text wanted, then `take`
/// with every token in order, then `finish`.
class StatementTexts final
{
public:
    /// Receives text number `text` (as `add` numbered it).
    using Sink = std::function<void(std::uint32_t text, std::string &&value)>;

    /// True when `text` is `upperWord` (given in upper case) in any case: COBOL words are
    /// case-blind.
    static bool equalsUpper(std::string_view text, std::string_view upperWord);

    /// For a file of `tokenCount` tokens; `sink` receives every text once.
    StatementTexts(std::uint32_t tokenCount, Sink sink);

    /// A statement starts at token `token`: no text runs on into it.
    void addStatementStart(std::uint32_t token);
    /// Room for `count` texts.
    void reserve(std::size_t count) { m_requests.reserve(count); }
    /// Asks for the text of tokens `firstToken` to `lastToken` (1-based); returns its number.
    std::uint32_t add(std::uint32_t firstToken, std::uint32_t lastToken, std::string_view fallback);

    /// The next token of the file (the first call gives token 1).
    void take(const cobol::AdtFile::TokenView &token);
    /// After the last token: the texts still open go to the sink.
    void finish();

private:
    struct Place
    {
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        std::uint32_t length = 0;
    };
    struct Request
    {
        std::uint32_t first = 0;
        std::uint32_t last = 0;     ///< the last token given, at most the file's last
        std::uint32_t fallback = 0; ///< index into m_fallbacks
    };
    struct Open
    {
        std::uint32_t request = 0;
        std::uint32_t last = 0; ///< the last token of the text so far
        std::string text;
        bool hasPrevious = false;
        bool pendingPeriod = false; ///< a period read: left out unless a token follows
        Place previous;
        Place period;
    };

    static Place placeOf(const cobol::AdtFile::TokenView &token);
    /// Appends a word; true when the text is full (and ends in "...").
    static bool append(Open &open, const Place &place, std::string_view word);
    /// Appends the token to an open text; true when the text is full.
    static bool appendToken(Open &open, const cobol::AdtFile::TokenView &token);
    void start();
    void close(Open &open);

    std::uint32_t m_tokenCount = 0;
    Sink m_sink;
    std::vector<bool> m_statementStart; ///< per token id
    std::vector<Request> m_requests;
    std::vector<std::string> m_fallbacks; ///< each fallback once (they are verbs: a few dozen)
    std::map<std::string, std::uint32_t, std::less<>> m_fallbackIndex;
    std::uint32_t m_lastFallback = 0;   ///< the fallback `add` was given last
    std::vector<std::uint32_t> m_order; ///< requests by the token from which they read
    std::size_t m_nextOpen = 0;
    std::vector<Open> m_open;
    std::uint32_t m_token = 0; ///< the id of the token last taken
    Place m_before;            ///< the token last taken
    bool m_started = false;
};

} // namespace kelmkpu
