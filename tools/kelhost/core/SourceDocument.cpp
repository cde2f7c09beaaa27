#include "SourceDocument.h"

#include "DbMark.h"
#include "DbPu.h"
#include "DbToken.h"
#include "PathNames.h"

#include <algorithm>

namespace {

const std::string emptyText;

} // namespace

SourceDocument::SourceDocument(const DbPu &pu)
    : m_pu(&pu)
{
    const std::uint32_t lineCount = pu.numberOfExpandedLines();
    m_lines.resize(lineCount);

    // How deep each include lies: its parent is always an earlier include.
    const std::vector<DbIncludeRecord> &includes = pu.includes();
    std::vector<std::uint8_t> depths(includes.size(), 0);
    for (std::size_t i = 1; i < includes.size(); ++i) {
        const std::uint32_t parent = includes[i].parent;
        depths[i] = parent < i ? static_cast<std::uint8_t>(std::min(depths[parent] + 1, 255)) : 1;
    }
    const auto depthOf = [&](std::uint32_t include) -> std::uint8_t {
        return include < depths.size() ? depths[include] : 0;
    };
    const auto isWithin = [&](std::uint32_t include, std::uint32_t ancestor) {
        for (std::uint32_t guard = 0; guard < 256 && include != 0 && include < includes.size();
             ++guard) {
            if (include == ancestor)
                return true;
            include = includes[include].parent;
        }
        return include == ancestor;
    };

    for (std::uint32_t n = 1; n <= lineCount; ++n) {
        const DbSourceLine &source = *pu.expandedLine(n);
        Line &line = m_lines[n - 1];
        line.include = source.include;
        line.fileLine = source.line;
        line.kind = source.kind;
        line.depth = depthOf(source.include);
        m_maximumDepth = std::max<std::uint32_t>(m_maximumDepth, line.depth);
        if (n == 1 || m_lines[n - 2].include == line.include)
            continue;
        const std::uint32_t previous = m_lines[n - 2].include;
        if (line.include != 0 && !isWithin(previous, line.include)) {
            line.boundary = Boundary::enter;
            line.boundaryInclude = line.include;
        } else {
            // Back in a file that holds the previous line's copybook: name the outermost
            // copybook left below it.
            std::uint32_t left = previous;
            while (left < includes.size() && includes[left].parent != line.include && left != 0)
                left = includes[left].parent;
            line.boundary = Boundary::leave;
            line.boundaryInclude = left;
        }
    }

    // Spans: counted per line first, so that the tokens land in one array in line order.
    const std::uint32_t tokenCount = pu.numberOfTokens();
    std::vector<std::uint32_t> counts(lineCount + 1, 0);
    for (std::uint32_t t = 1; t <= tokenCount; ++t) {
        const std::uint32_t at = pu.numberToToken(t)->expandedLine();
        if (at >= 1 && at <= lineCount)
            ++counts[at];
    }
    std::uint32_t start = 0;
    for (std::uint32_t n = 1; n <= lineCount; ++n) {
        m_lines[n - 1].firstSpan = start;
        start += counts[n];
    }
    m_spans.resize(start);
    for (std::uint32_t t = 1; t <= tokenCount; ++t) {
        const DbToken &token = *pu.numberToToken(t);
        const std::uint32_t at = token.expandedLine();
        if (at < 1 || at > lineCount)
            continue;
        Line &line = m_lines[at - 1];
        m_spans[line.firstSpan + line.spanCount++] = Span{token.column(),
                                                          token.length(),
                                                          t,
                                                          static_cast<std::uint8_t>(token.type())};
    }
    for (Line &line : m_lines) {
        auto first = m_spans.begin() + line.firstSpan;
        if (!std::is_sorted(first, first + line.spanCount, [](const Span &a, const Span &b) {
                return a.column < b.column;
            }))
            std::stable_sort(first, first + line.spanCount, [](const Span &a, const Span &b) {
                return a.column < b.column;
            });
    }

    // Findings, in line order (marks are in token order, lines almost always follow).
    std::vector<const DbMark *> marks;
    for (const DbMark &mark : pu.marks())
        if (mark.token() && mark.token()->expandedLine() >= 1
            && mark.token()->expandedLine() <= lineCount)
            marks.push_back(&mark);
    std::stable_sort(marks.begin(), marks.end(), [](const DbMark *a, const DbMark *b) {
        return a->token()->expandedLine() < b->token()->expandedLine();
    });
    m_marks = std::move(marks);
    for (std::uint32_t i = 0; i < m_marks.size(); ++i) {
        Line &line = m_lines[m_marks[i]->token()->expandedLine() - 1];
        if (line.markCount++ == 0) {
            line.firstMark = i;
            ++m_markedLines;
        }
    }
}

const std::string &SourceDocument::text(std::uint32_t line) const
{
    const DbSourceLine *source = m_pu->expandedLine(line);
    return source ? source->text : emptyText;
}

std::span<const SourceDocument::Span> SourceDocument::spans(std::uint32_t line) const
{
    if (line < 1 || line > m_lines.size())
        return {};
    const Line &l = m_lines[line - 1];
    return std::span<const Span>(m_spans.data() + l.firstSpan, l.spanCount);
}

std::span<const DbMark *const> SourceDocument::marks(std::uint32_t line) const
{
    if (line < 1 || line > m_lines.size())
        return {};
    const Line &l = m_lines[line - 1];
    return std::span<const DbMark *const>(m_marks.data() + l.firstMark, l.markCount);
}

std::uint32_t SourceDocument::lineOfToken(std::uint32_t tokenNumber) const
{
    const DbToken *token = m_pu->numberToToken(tokenNumber);
    if (!token || token->expandedLine() > m_lines.size())
        return 0;
    return token->expandedLine();
}

std::uint32_t SourceDocument::tokenAt(std::uint32_t line, std::uint32_t column) const
{
    for (const Span &span : spans(line))
        if (column >= span.column && column < span.column + std::max<std::uint32_t>(span.length, 1))
            return span.token;
    return 0;
}

std::uint32_t SourceDocument::nextMarkedLine(std::uint32_t line, bool forward) const
{
    if (m_marks.empty())
        return 0;
    const std::uint32_t count = lineCount();
    std::uint32_t n = std::min(line, count);
    for (std::uint32_t step = 0; step < count; ++step) {
        if (forward)
            n = n >= count ? 1 : n + 1;
        else
            n = n <= 1 ? count : n - 1;
        if (m_lines[n - 1].markCount != 0)
            return n;
    }
    return 0;
}

std::string SourceDocument::copybookName(std::uint32_t include) const
{
    const std::vector<DbIncludeRecord> &includes = m_pu->includes();
    return include != 0 && include < includes.size() ? includes[include].copybook : std::string();
}

std::string SourceDocument::fileOf(std::uint32_t include) const
{
    const DbInputFile *file = m_pu->includeFile(include);
    return file ? file->path() : std::string();
}

std::string SourceDocument::placeOf(std::uint32_t line) const
{
    if (line < 1 || line > m_lines.size())
        return {};
    const Line &l = m_lines[line - 1];
    std::string file = PathNames::fileName(fileOf(l.include));
    if (file.empty())
        file = l.include == 0 ? m_pu->puName() : copybookName(l.include);
    return file + " line " + std::to_string(l.fileLine);
}
