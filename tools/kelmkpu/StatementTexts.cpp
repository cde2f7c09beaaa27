#include "StatementTexts.h"

#include "DbImpactFacts.h"

#include <algorithm>

namespace kelmkpu {

namespace {

/// A word no statement's text runs on into: a period or a scope word.
bool endsRunOn(std::string_view word)
{
    return word == "." || StatementTexts::equalsUpper(word, "ELSE")
           || StatementTexts::equalsUpper(word, "WHEN")
           || (word.size() >= 4 && StatementTexts::equalsUpper(word.substr(0, 4), "END-"));
}

} // namespace

bool StatementTexts::equalsUpper(std::string_view text, std::string_view upperWord)
{
    if (text.size() != upperWord.size())
        return false;
    // ASCII letters fold as std::toupper folds them in the "C" locale kelmkpu runs in, without
    // a call per character.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upperWord[i])
            return false;
    }
    return true;
}

StatementTexts::StatementTexts(std::uint32_t tokenCount, Sink sink)
    : m_tokenCount(tokenCount)
    , m_sink(std::move(sink))
    , m_statementStart(static_cast<std::size_t>(tokenCount) + 2, false)
{}

void StatementTexts::addStatementStart(std::uint32_t token)
{
    if (token < m_statementStart.size())
        m_statementStart[token] = true;
}

std::uint32_t StatementTexts::add(std::uint32_t firstToken,
                                  std::uint32_t lastToken,
                                  std::string_view fallback)
{
    // Neighbouring statements often share their verb: the fallback asked for last is tried
    // before the index.
    if (m_fallbacks.empty() || m_fallbacks[m_lastFallback] != fallback) {
        auto known = m_fallbackIndex.find(fallback);
        if (known == m_fallbackIndex.end()) {
            known = m_fallbackIndex
                        .emplace(std::string(fallback),
                                 static_cast<std::uint32_t>(m_fallbacks.size()))
                        .first;
            m_fallbacks.emplace_back(fallback);
        }
        m_lastFallback = known->second;
    }
    m_requests.push_back({std::max<std::uint32_t>(firstToken, 1),
                          std::min(lastToken, m_tokenCount),
                          m_lastFallback});
    return static_cast<std::uint32_t>(m_requests.size() - 1);
}

StatementTexts::Place StatementTexts::placeOf(const cobol::AdtFile::TokenView &token)
{
    return {token.place.include, token.place.line, token.place.column, token.length};
}

void StatementTexts::start()
{
    m_started = true;
    // A text is read from its first token, or from the token after its last when it may run on
    // past its last token into its first (a first token after the last).
    const auto from = [this](std::uint32_t r) {
        const Request &request = m_requests[r];
        return request.first <= request.last ? request.first : request.last + 1;
    };
    m_order.reserve(m_requests.size());
    for (std::uint32_t r = 0; r < m_requests.size(); ++r) {
        if (m_requests[r].last == 0) // no token: the fallback
            m_sink(r, std::string(m_fallbacks[m_requests[r].fallback]));
        else
            m_order.push_back(r);
    }
    // The requests come mostly in the order of their statements' tokens already.
    const auto before = [&](std::uint32_t a, std::uint32_t b) {
        return from(a) != from(b) ? from(a) < from(b) : a < b;
    };
    if (!std::is_sorted(m_order.begin(), m_order.end(), before))
        std::sort(m_order.begin(), m_order.end(), before);
}

bool StatementTexts::append(Open &open, const Place &place, std::string_view word)
{
    const bool adjacent = open.hasPrevious && open.previous.include == place.include
                          && open.previous.line == place.line
                          && open.previous.column + open.previous.length == place.column;
    if (open.hasPrevious && !adjacent)
        open.text += ' ';
    open.text += word;
    open.previous = place;
    open.hasPrevious = true;
    if (open.text.size() <= DbImpactFacts::maxText)
        return false;
    open.text.resize(DbImpactFacts::maxText - 3);
    open.text += "...";
    return true;
}

bool StatementTexts::appendToken(Open &open, const cobol::AdtFile::TokenView &token)
{
    if (open.pendingPeriod) {
        open.pendingPeriod = false;
        if (append(open, open.period, "."))
            return true;
    }
    if (token.text == ".") {
        open.pendingPeriod = true;
        open.period = placeOf(token);
        return false;
    }
    return append(open, placeOf(token), token.text);
}

void StatementTexts::close(Open &open)
{
    const Request &request = m_requests[open.request];
    m_sink(open.request,
           open.text.empty() ? std::string(m_fallbacks[request.fallback]) : std::move(open.text));
}

void StatementTexts::take(const cobol::AdtFile::TokenView &token)
{
    if (!m_started)
        start();
    const std::uint32_t t = ++m_token;
    const Place place = placeOf(token);
    // Whether a text whose last token is the one before may run on into this one.
    const bool runOn = t >= 2 && place.include == m_before.include && place.line == m_before.line
                       && !endsRunOn(token.text) && !m_statementStart[t];
    m_before = place;

    for (; m_nextOpen < m_order.size(); ++m_nextOpen) {
        const Request &request = m_requests[m_order[m_nextOpen]];
        const std::uint32_t from = request.first <= request.last ? request.first : request.last + 1;
        if (from > t)
            break;
        Open &open = m_open.emplace_back();
        open.request = m_order[m_nextOpen];
        open.last = request.last;
    }
    for (std::size_t i = 0; i < m_open.size();) {
        Open &open = m_open[i];
        bool done = false;
        if (t > open.last) {
            if (t == open.last + 1 && runOn)
                open.last = t;
            else
                done = true;
        }
        if (!done && t >= m_requests[open.request].first)
            done = appendToken(open, token);
        if (!done) {
            ++i;
            continue;
        }
        close(open);
        if (i + 1 != m_open.size())
            open = std::move(m_open.back());
        m_open.pop_back();
    }
}

void StatementTexts::finish()
{
    if (!m_started)
        start();
    for (Open &open : m_open)
        close(open);
    m_open.clear();
    for (; m_nextOpen < m_order.size(); ++m_nextOpen) {
        const std::uint32_t r = m_order[m_nextOpen];
        m_sink(r, std::string(m_fallbacks[m_requests[r].fallback]));
    }
    std::vector<Request>().swap(m_requests);
    std::vector<std::uint32_t>().swap(m_order);
}

} // namespace kelmkpu
