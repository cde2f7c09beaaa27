#include "Preprocessor.h"

#include "Lexer.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace cobol {

using namespace std::string_view_literals;

namespace {

constexpr int maxDepth = 50;

bool readWholeFile(const std::string &path, std::string &text)
{
    // Only a regular file is read: a FIFO named like a copybook would block for ever.
    RegularFile::Result file = RegularFile::read(path);
    text = std::move(file.text);
    return bool(file);
}

bool isFile(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string lowerCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string unquoted(const LexToken &token)
{
    if (token.kind != TokenKind::Literal || token.text().size() < 2)
        return std::string(token.text());
    return std::string(token.text().substr(1, token.text().size() - 2));
}

/// Normalised text of an operand: words upper case, one blank between text words.
std::string normalised(const std::vector<LexToken> &tokens, bool pseudoText)
{
    std::string text = pseudoText ? "==" : "";
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (i > 0 && !tokens[i].glued)
            text += ' ';
        text += tokens[i].kind == TokenKind::Literal ? tokens[i].text() : tokens[i].upper();
    }
    if (pseudoText)
        text += "==";
    return text;
}

bool sameText(const LexToken &a, const LexToken &b)
{
    if (a.kind == TokenKind::Literal || b.kind == TokenKind::Literal)
        return a.text() == b.text();
    return a.upper() == b.upper();
}

} // namespace

void Preprocessor::error(const SourcePlace &place, std::string message)
{
    m_diagnostics.push_back({Diagnostic::Severity::Error, place, std::move(message)});
}

std::vector<LexToken> Preprocessor::run(const std::string &path, std::string_view text)
{
    Include source;
    source.id = 0;
    source.path = path;
    m_includes.clear();
    m_includes.push_back(source);
    Lexer lexer(text, 0, m_options.format, m_diagnostics, &m_store);
    std::vector<SourceRemark> lexed;
    if (m_remarks)
        lexer.setRemarkSink(&lexed);
    std::vector<LexToken> tokens = lexer.tokenize();
    m_finalFormat = lexer.format();
    listRemarks(path, text, 0, m_options.format, lexed);
    m_activeFiles = {path};
    m_replaceSeen = false;
    std::vector<LexToken> expanded = expand(std::move(tokens), 0, 0, m_finalFormat);
    // A REPLACE statement is rare: without one the expanded text stands as it is.
    if (m_replaceSeen)
        return applyReplaceStatements(std::move(expanded));
    return expanded;
}

std::vector<LexToken> Preprocessor::implicitMember(const std::string &name,
                                                   const SourcePlace &place)
{
    std::vector<LexToken> out;
    const std::size_t before = m_includes.size();
    m_activeFiles = {m_includes.front().path};
    includeCopybook({name, name, "", "The system member " + name, place},
                    {},
                    place,
                    0,
                    0,
                    m_finalFormat,
                    out);
    if (m_includes.size() > before)
        m_includes[before].implicit = true;
    return out;
}

void Preprocessor::listRemarks(const std::string &path,
                               std::string_view text,
                               std::uint32_t include,
                               SourceFormat format,
                               const std::vector<SourceRemark> &lexed)
{
    if (!m_remarks || !m_remarkFiles.insert(path).second)
        return;
    // The lexer's remarks and the scan's differ only where a "*>" comment is read differently
    // (inside a picture string or an SQL comment), or when the scan starts in another format.
    const bool same = format == m_finalFormat && text.find("*>") == std::string_view::npos;
    std::vector<Diagnostic> ignored;
    const std::vector<SourceRemark> remarks
        = same ? lexed : Lexer(text, include, m_finalFormat, ignored).scanRemarks();
    for (const SourceRemark &remark : remarks)
        m_remarks->push_back({remark.kind == SourceRemark::Kind::Comment ? Remark::Kind::Comment
                                                                         : Remark::Kind::Directive,
                              include,
                              remark.line,
                              remark.column,
                              remark.length});
}

std::vector<LexToken> Preprocessor::applyReplaceStatements(std::vector<LexToken> tokens)
{
    // REPLACE ==a== BY ==b== ... . applies to the text after it (copybooks already expanded)
    // until the next REPLACE, which replaces the set, or REPLACE OFF.
    if (std::none_of(tokens.begin(), tokens.end(), [](const LexToken &t) {
            return t.is("REPLACE");
        }))
        return tokens;
    std::vector<LexToken> out, segment;
    std::vector<ReplacingPair> active;
    auto flush = [&] {
        if (!active.empty())
            segment = applyReplacing(segment, active, m_store);
        for (LexToken &t : segment)
            out.push_back(std::move(t));
        segment.clear();
    };
    for (std::size_t i = 0; i < tokens.size();) {
        if (!tokens[i].is("REPLACE")) {
            segment.push_back(std::move(tokens[i++]));
            continue;
        }
        flush();
        const SourcePlace place = tokens[i].place;
        std::size_t j = i + 1;
        std::vector<ReplacingPair> pairs;
        bool ok = true;
        if (j < tokens.size() && tokens[j].is("OFF"))
            ++j;
        else
            ok = replacingPairs(tokens, j, pairs);
        while (j < tokens.size() && tokens[j].text() != "."sv)
            ++j;
        if (!ok)
            error(place, "The REPLACE statement is malformed: expected operand BY operand.");
        else
            active = std::move(pairs);
        i = j < tokens.size() ? j + 1 : j;
    }
    flush();
    return out;
}

std::string Preprocessor::resolve(const std::string &name,
                                  const std::string &library,
                                  const std::string &includingFile) const
{
    static const char *const extensions[] = {"", ".cpy", ".cbl", ".CPY", ".CBL", ".cob"};
    std::vector<std::string> directories = m_options.includeDirectories;
    directories.push_back(PathNames::directory(includingFile));
    directories.push_back(PathNames::directory(m_includes.front().path));
    directories.insert(directories.end(),
                       m_options.cobcpyDirectories.begin(),
                       m_options.cobcpyDirectories.end());
    directories.insert(directories.end(),
                       m_options.systemDirectories.begin(),
                       m_options.systemDirectories.end());
    std::vector<std::string> names = {name};
    if (lowerCase(name) != name)
        names.push_back(lowerCase(name));
    for (const std::string &candidate : names) {
        if (!candidate.empty() && candidate.front() == PathNames::separator) {
            for (const char *ext : extensions)
                if (isFile(candidate + ext))
                    return candidate + ext;
            continue;
        }
        for (const std::string &dir : directories) {
            const std::string base = dir.empty() ? std::string(".") : dir;
            std::vector<std::string> stems;
            if (!library.empty()) {
                stems.push_back(PathNames::join(PathNames::join(base, library), candidate));
                stems.push_back(
                    PathNames::join(PathNames::join(base, lowerCase(library)), candidate));
            }
            stems.push_back(PathNames::join(base, candidate));
            for (const std::string &stem : stems)
                for (const char *ext : extensions)
                    if (isFile(stem + ext))
                        return stem + ext;
        }
    }
    return {};
}

std::vector<LexToken> Preprocessor::expand(std::vector<LexToken> tokens,
                                           std::uint32_t include,
                                           int depth,
                                           SourceFormat format)
{
    // The result is assembled in `tokens` itself: the loop below only notes which runs of
    // tokens stay and where the copybooks' tokens (gathered in `inserted`) go, so the program's
    // tokens are not copied into a second vector as large as the first.
    std::vector<LexToken> inserted;
    std::vector<ExpansionPiece> pieces;
    auto insert = [&](std::size_t before) {
        if (inserted.size() > before)
            pieces.push_back({true, before, inserted.size()});
    };
    bool seenIdentification = include != 0;
    std::uint32_t skipLine = 0;
    for (std::size_t i = 0; i < tokens.size();) {
        const LexToken &token = tokens[i];
        if (skipLine != 0 && token.place.line == skipLine) {
            ++i;
            continue;
        }
        skipLine = 0;
        if (token.kind == TokenKind::Word) {
            if (!seenIdentification && (token.upper() == "CBL"sv || token.upper() == "PROCESS"sv)) {
                skipLine = token.place.line;
                continue;
            }
            if (token.upper() == "IDENTIFICATION"sv || token.upper() == "ID"sv)
                seenIdentification = true;
            if (token.upper() == "COPY"sv) {
                const std::size_t before = inserted.size();
                i = copyStatement(tokens, i, include, depth, format, inserted);
                insert(before);
                continue;
            }
            if (token.upper() == "EXEC"sv && i + 3 < tokens.size() && tokens[i + 1].is("SQL")
                && tokens[i + 2].is("INCLUDE")) {
                const std::size_t before = inserted.size();
                i = sqlInclude(tokens, i, include, depth, format, inserted);
                insert(before);
                continue;
            }
            if (token.upper() == "EJECT"sv || token.upper() == "SKIP1"sv
                || token.upper() == "SKIP2"sv || token.upper() == "SKIP3"sv) {
                ++i;
                if (i < tokens.size() && tokens[i].text() == "."sv)
                    ++i;
                continue;
            }
            if (token.upper() == "TITLE"sv && i + 1 < tokens.size()
                && tokens[i + 1].kind == TokenKind::Literal) {
                i += 2;
                if (i < tokens.size() && tokens[i].text() == "."sv)
                    ++i;
                continue;
            }
        }
        if (token.is("REPLACE"))
            m_replaceSeen = true;
        if (!pieces.empty() && !pieces.back().inserted && pieces.back().end == i)
            ++pieces.back().end;
        else
            pieces.push_back({false, i, i + 1});
        ++i;
    }
    for (const LexToken &token : inserted)
        if (token.is("REPLACE"))
            m_replaceSeen = true;
    assemble(tokens, pieces, inserted);
    return tokens;
}

void Preprocessor::assemble(std::vector<LexToken> &tokens,
                            const std::vector<ExpansionPiece> &pieces,
                            std::vector<LexToken> &inserted)
{
    std::vector<std::size_t> to(pieces.size());
    std::size_t total = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        to[k] = total;
        total += pieces[k].end - pieces[k].begin;
    }
    if (total > tokens.size())
        tokens.resize(total);
    // Pieces keep their order, so their places in the result never overlap: runs that move
    // towards the end are moved last to first, those that move towards the start first to last,
    // and neither overwrites a run not yet moved. The copybooks' tokens fill the gaps after.
    const auto at = [&tokens](std::size_t index) {
        return tokens.begin() + static_cast<std::ptrdiff_t>(index);
    };
    for (std::size_t k = pieces.size(); k-- > 0;)
        if (!pieces[k].inserted && to[k] > pieces[k].begin)
            std::move_backward(at(pieces[k].begin),
                               at(pieces[k].end),
                               at(to[k] + pieces[k].end - pieces[k].begin));
    for (std::size_t k = 0; k < pieces.size(); ++k)
        if (!pieces[k].inserted && to[k] < pieces[k].begin)
            std::move(at(pieces[k].begin), at(pieces[k].end), at(to[k]));
    for (std::size_t k = 0; k < pieces.size(); ++k)
        if (pieces[k].inserted)
            std::move(inserted.begin() + static_cast<std::ptrdiff_t>(pieces[k].begin),
                      inserted.begin() + static_cast<std::ptrdiff_t>(pieces[k].end),
                      at(to[k]));
    tokens.resize(total);
}

std::size_t Preprocessor::copyStatement(const std::vector<LexToken> &tokens,
                                        std::size_t at,
                                        std::uint32_t include,
                                        int depth,
                                        SourceFormat format,
                                        std::vector<LexToken> &out)
{
    const SourcePlace copyPlace = tokens[at].place;
    std::size_t i = at + 1;
    auto atEnd = [&] { return i >= tokens.size(); };
    if (atEnd() || !(tokens[i].isWordLike() || tokens[i].kind == TokenKind::Literal)) {
        error(copyPlace, "COPY must be followed by a copybook name.");
        return i;
    }
    const std::string name = tokens[i].kind == TokenKind::Literal ? unquoted(tokens[i])
                                                                  : std::string(tokens[i].upper());
    const std::string nameAsWritten = unquoted(tokens[i]);
    ++i;
    std::string library;
    if (!atEnd() && (tokens[i].is("OF") || tokens[i].is("IN")) && i + 1 < tokens.size()) {
        library = tokens[i + 1].kind == TokenKind::Literal ? unquoted(tokens[i + 1])
                                                           : std::string(tokens[i + 1].upper());
        i += 2;
    }
    if (!atEnd() && tokens[i].is("SUPPRESS")) {
        ++i;
        if (!atEnd() && tokens[i].is("PRINTING"))
            ++i;
    }
    std::vector<ReplacingPair> pairs;
    bool bad = false;
    if (!atEnd() && tokens[i].is("REPLACING")) {
        ++i;
        bad = !replacingPairs(tokens, i, pairs);
    }
    if (bad) {
        // Resume after the statement's period when it is near; otherwise right here, so that a
        // missing period does not swallow the rest of the program.
        error(copyPlace,
              "The REPLACING phrase of COPY " + name
                  + " is malformed: expected operand BY operand.");
        std::size_t j = i;
        while (j < tokens.size() && j < i + 50 && tokens[j].text() != "."sv)
            ++j;
        return j < tokens.size() && tokens[j].text() == "."sv ? j + 1 : i;
    }
    if (atEnd() || tokens[i].text() != "."sv)
        error(copyPlace,
              "Expected a period to end COPY " + name + ", found "
                  + (atEnd() ? std::string("the end of the file") : quoted(tokens[i].text()))
                  + ".");
    else
        ++i; // the period

    const LexToken &last = tokens[i - 1]; // the period, or the last word when it is missing
    const SourcePlace end{last.place.include, last.place.line, last.place.column + last.length};
    includeCopybook({name, nameAsWritten, library, "Copybook " + name, end},
                    pairs,
                    copyPlace,
                    include,
                    depth,
                    format,
                    out);
    return i;
}

void Preprocessor::includeCopybook(const Member &member,
                                   const std::vector<ReplacingPair> &pairs,
                                   const SourcePlace &copyPlace,
                                   std::uint32_t include,
                                   int depth,
                                   SourceFormat format,
                                   std::vector<LexToken> &out)
{
    const std::string &name = member.name;
    const std::string &library = member.library;
    const std::string &includingFile = m_includes[include].path;
    const std::string path = resolve(member.nameAsWritten, library, includingFile);
    if (path.empty()) {
        error(copyPlace,
              member.subject + (library.empty() ? "" : " of " + library)
                  + " was not found in the include directories, " + "the directory of "
                  + includingFile + " or COBCPY.");
        return;
    }
    std::error_code ec;
    std::string canonical = std::filesystem::weakly_canonical(path, ec).string();
    if (ec)
        canonical = path;
    if (std::find(m_activeFiles.begin(), m_activeFiles.end(), canonical) != m_activeFiles.end()) {
        error(copyPlace,
              "Copybook " + name + " includes itself (" + path + "); not expanded again.");
        return;
    }
    if (depth >= maxDepth) {
        error(copyPlace, "Copybooks are nested more than 50 deep at " + name + ".");
        return;
    }
    // Once a limit has stopped the expansion, the COPY statements left stay as they are: the
    // one diagnostic says why.
    if (m_limitReached)
        return;
    if (m_includes.size() > maxIncludes) {
        m_limitReached = true;
        error(copyPlace,
              "The COPY statements expand to more than " + std::to_string(maxIncludes)
                  + " copybook includes (nested COPY statements multiply); the expansion stops at "
                  + name + ".");
        return;
    }
    std::string text;
    if (!readWholeFile(path, text)) {
        error(copyPlace, "Copybook " + path + " cannot be read.");
        return;
    }
    m_expandedLines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (m_expandedLines > maxExpandedLines) {
        m_limitReached = true;
        error(copyPlace,
              "The COPY statements expand to more than " + std::to_string(maxExpandedLines)
                  + " lines of copybook text; the expansion stops at " + name + ".");
        return;
    }

    Include inc;
    inc.id = static_cast<std::uint32_t>(m_includes.size());
    inc.copybook = name;
    inc.library = library;
    for (const ReplacingPair &pair : pairs)
        inc.replacing.emplace_back(pair.fromText, pair.toText);
    // The qualifier covers every REPLACING that reaches this text: its own pairs, then those of
    // the enclosing COPY statements (they apply to nested text too), innermost first.
    std::vector<std::pair<std::string, std::string>> effective = inc.replacing;
    for (auto it = m_replacingStack.rbegin(); it != m_replacingStack.rend(); ++it)
        effective.insert(effective.end(), it->begin(), it->end());
    inc.qualifier = includeQualifier(library, effective);
    inc.path = path;
    inc.parent = include;
    inc.copyLine = copyPlace.line;
    inc.copyColumn = copyPlace.column;
    inc.endLine = member.end.line;
    inc.endColumn = member.end.column;
    m_includes.push_back(inc);

    // The tokens are views into the copybook's text: the store keeps it.
    const std::string_view kept = m_store.keep(std::move(text));
    Lexer lexer(kept, inc.id, format, m_diagnostics, &m_store);
    std::vector<SourceRemark> lexed;
    if (m_remarks)
        lexer.setRemarkSink(&lexed);
    std::vector<LexToken> body = lexer.tokenize();
    listRemarks(path, kept, inc.id, format, lexed);
    m_activeFiles.push_back(canonical);
    m_replacingStack.push_back(m_includes.back().replacing);
    body = expand(std::move(body), inc.id, depth + 1, lexer.format());
    m_activeFiles.pop_back();
    m_replacingStack.pop_back();
    if (!pairs.empty())
        body = applyReplacing(body, pairs, m_store);
    for (LexToken &token : body)
        out.push_back(std::move(token));
}

std::size_t Preprocessor::sqlInclude(const std::vector<LexToken> &tokens,
                                     std::size_t at,
                                     std::uint32_t include,
                                     int depth,
                                     SourceFormat format,
                                     std::vector<LexToken> &out)
{
    // EXEC SQL INCLUDE member END-EXEC [.]: the block stays (the parsers read it as a
    // statement) and the member's text follows it, as a precompiler puts it in its place.
    const LexToken &member = tokens[at + 3];
    if (!(member.isWordLike() || member.kind == TokenKind::Literal) || at + 4 >= tokens.size()
        || !tokens[at + 4].is("END-EXEC")) {
        out.push_back(tokens[at]);
        return at + 1;
    }
    const SourcePlace place = tokens[at].place;
    std::size_t i = at + 5;
    if (i < tokens.size() && tokens[i].text() == "."sv)
        ++i;
    for (std::size_t k = at; k < i; ++k)
        out.push_back(tokens[k]);
    const std::string name = member.kind == TokenKind::Literal ? unquoted(member)
                                                               : std::string(member.upper());
    const LexToken &last = tokens[i - 1];
    const SourcePlace end{last.place.include, last.place.line, last.place.column + last.length};
    includeCopybook({name,
                     unquoted(member),
                     "",
                     "The member " + name + " of EXEC SQL INCLUDE",
                     end},
                    {},
                    place,
                    include,
                    depth,
                    format,
                    out);
    return i;
}

bool Preprocessor::replacingPairs(const std::vector<LexToken> &tokens,
                                  std::size_t &i,
                                  std::vector<ReplacingPair> &pairs)
{
    auto atEnd = [&] { return i >= tokens.size(); };
    bool bad = false;
    auto operand = [&](std::vector<LexToken> &result, std::string &text) {
        if (atEnd())
            return false;
        if (tokens[i].text() == "=="sv) {
            ++i;
            while (!atEnd() && tokens[i].text() != "=="sv)
                result.push_back(tokens[i++]);
            if (atEnd())
                return false;
            ++i;
            text = normalised(result, true);
            return true;
        }
        if (tokens[i].text() == "."sv || tokens[i].kind == TokenKind::Punctuation)
            return false;
        result.push_back(tokens[i++]);
        // A qualified or subscripted identifier as a REPLACING operand.
        while (!atEnd() && (tokens[i].is("OF") || tokens[i].is("IN")) && i + 1 < tokens.size()) {
            result.push_back(tokens[i++]);
            result.push_back(tokens[i++]);
        }
        text = normalised(result, false);
        return true;
    };
    while (!atEnd() && tokens[i].text() != "."sv) {
        ReplacingPair pair;
        if (tokens[i].is("LEADING")) {
            pair.mode = ReplacingPair::Mode::Leading;
            ++i;
        } else if (tokens[i].is("TRAILING")) {
            pair.mode = ReplacingPair::Mode::Trailing;
            ++i;
        }
        if (!operand(pair.from, pair.fromText) || atEnd() || !tokens[i].is("BY")) {
            bad = true;
            break;
        }
        ++i;
        if (!operand(pair.to, pair.toText)) {
            bad = true;
            break;
        }
        if (pair.mode != ReplacingPair::Mode::Full) {
            const char *prefix = pair.mode == ReplacingPair::Mode::Leading ? "LEADING "
                                                                           : "TRAILING ";
            pair.fromText = prefix + pair.fromText;
            if (pair.from.size() != 1 || pair.to.size() > 1) {
                bad = true;
                break;
            }
        }
        if (pair.from.empty()) {
            bad = true;
            break;
        }
        pairs.push_back(std::move(pair));
    }
    return !bad;
}

std::vector<LexToken> Preprocessor::applyReplacing(const std::vector<LexToken> &tokens,
                                                   const std::vector<ReplacingPair> &pairs,
                                                   TextStore &store)
{
    std::vector<LexToken> replaced;
    replaced.reserve(tokens.size());
    for (std::size_t i = 0; i < tokens.size();) {
        bool matched = false;
        for (const ReplacingPair &pair : pairs) {
            if (pair.mode == ReplacingPair::Mode::Full) {
                if (i + pair.from.size() > tokens.size())
                    continue;
                bool equal = true;
                for (std::size_t k = 0; k < pair.from.size() && equal; ++k)
                    equal = sameText(tokens[i + k], pair.from[k]);
                if (!equal)
                    continue;
                for (std::size_t k = 0; k < pair.to.size(); ++k) {
                    LexToken token = pair.to[k];
                    const LexToken &at = tokens[i + std::min(k, pair.from.size() - 1)];
                    token.place = at.place;
                    token.length = at.length;
                    token.replaced = true;
                    if (k == 0)
                        token.glued = tokens[i].glued;
                    replaced.push_back(std::move(token));
                }
                i += pair.from.size();
                matched = true;
                break;
            }
            const LexToken &token = tokens[i];
            const std::string_view part = pair.from.front().upper();
            if (!token.isWordLike() || token.upper().size() < part.size() || part.empty())
                continue;
            const bool leading = pair.mode == ReplacingPair::Mode::Leading;
            const std::size_t at = leading ? 0 : token.upper().size() - part.size();
            if (token.upper().compare(at, part.size(), part) != 0)
                continue;
            LexToken changed = token;
            const std::string_view by = pair.to.empty() ? std::string_view()
                                                        : pair.to.front().text();
            std::string text(changed.text());
            text.replace(at, part.size(), by);
            changed.setText(store.copy(text));
            changed.setUpper(store.upper(changed.text()));
            changed.replaced = true;
            replaced.push_back(std::move(changed));
            ++i;
            matched = true;
            break;
        }
        if (!matched && tokens[i].kind == TokenKind::PictureString) {
            // A picture string is one token here, but REPLACING sees "X(:N:)" as separate text
            // words: replace inside it.
            LexToken changed = tokens[i];
            std::string upper(changed.upper());
            for (const ReplacingPair &pair : pairs) {
                if (pair.mode != ReplacingPair::Mode::Full)
                    continue;
                std::string from, to;
                for (const LexToken &t : pair.from)
                    from += t.upper();
                for (const LexToken &t : pair.to)
                    to += t.text();
                if (from.empty())
                    continue;
                for (std::size_t at = upper.find(from); at != std::string::npos;
                     at = upper.find(from, at + to.size())) {
                    upper.replace(at, from.size(), to);
                    changed.replaced = true;
                }
            }
            if (changed.replaced) {
                const std::string_view text = store.copy(upper);
                changed.setText(text);
                changed.setUpper(text);
                replaced.push_back(std::move(changed));
                ++i;
                continue;
            }
        }
        if (!matched)
            replaced.push_back(tokens[i++]);
    }

    // Join word parts that touch: ":P:-YY" with ==:P:== BY ==WS== gives "WS-YY"; a hyphen
    // between two replaced parts (":P:-:Q:") joins too.
    auto joinable = [](const LexToken &t) {
        return t.isWordLike() || (t.kind == TokenKind::Punctuation && t.text() == "-"sv);
    };
    std::vector<LexToken> joined;
    joined.reserve(replaced.size());
    for (LexToken &token : replaced) {
        if (!joined.empty() && token.glued && joinable(token) && joinable(joined.back())
            && (token.isWordLike() || joined.back().isWordLike())
            && (token.replaced || joined.back().replaced)) {
            LexToken &last = joined.back();
            const std::string_view upper = store.join(last.upper(), token.upper());
            last.setText(store.join(last.text(), token.text()));
            last.setUpper(upper);
            last.kind = TokenKind::Word;
            last.replaced = true;
            if (last.place.line == token.place.line && last.place.include == token.place.include)
                last.length = token.place.column + token.length - last.place.column;
            continue;
        }
        joined.push_back(std::move(token));
    }
    return joined;
}

} // namespace cobol
