#include "ExpandedSource.h"

#include "AnalysisData.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>

namespace cobol {

namespace {

constexpr int maxDepth = 60;
constexpr std::size_t fixedTextEnd = 72;

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\f\v\r") == std::string_view::npos;
}

} // namespace

ExpandedSource::ExpandedSource(const AnalysisData &data)
    : m_data(data)
    , m_format(data.freeFormat ? SourceFormat::Free : SourceFormat::Fixed)
{
    const std::size_t includes = std::max<std::size_t>(1, data.includes.size());
    m_files.resize(includes);
    m_children.resize(includes);
    m_lineMap.resize(includes);
    for (std::size_t i = 1; i < data.includes.size(); ++i) {
        const std::uint32_t parent = data.includes[i].parent;
        if (parent < includes)
            m_children[parent].push_back(static_cast<std::uint32_t>(i));
    }
    // A copybook's text follows the line that ends its COPY statement; several COPY statements
    // ending on one line follow in the order they were read.
    auto endLine = [&data](std::uint32_t include) {
        const Include &inc = data.includes[include];
        return inc.endLine ? inc.endLine : inc.copyLine;
    };
    for (std::vector<std::uint32_t> &children : m_children)
        std::stable_sort(children.begin(), children.end(), [&](std::uint32_t a, std::uint32_t b) {
            return endLine(a) < endLine(b);
        });

    // The front end lists each file's remarks under its first include; data of an older file
    // lacks them, and each file is scanned here instead.
    std::vector<std::vector<SourceRemark>> listed(data.structureKnown ? includes : 0);
    for (const Remark &remark : data.remarks)
        if (remark.include < listed.size())
            listed[remark.include].push_back({remark.kind == Remark::Kind::Comment
                                                  ? SourceRemark::Kind::Comment
                                                  : SourceRemark::Kind::Directive,
                                              remark.line,
                                              remark.column,
                                              remark.length});

    // Each distinct file is read and scanned once, however often it is copied.
    for (std::size_t i = 0; i < includes; ++i) {
        const std::string &path = data.fileOf(static_cast<std::uint32_t>(i));
        auto [it, added] = m_cache.try_emplace(path);
        if (added) {
            std::ifstream in(path, std::ios::binary);
            std::ostringstream buffer;
            buffer << in.rdbuf();
            it->second.readable = in.good() || in.eof();
            if (!in.is_open())
                it->second.readable = false;
            if (it->second.readable) {
                File &f = it->second;
                f.text = buffer.str();
                if (data.structureKnown) {
                    f.remarks = std::move(listed[i]);
                } else {
                    std::vector<Diagnostic> ignored;
                    f.remarks = Lexer(f.text, static_cast<std::uint32_t>(i), m_format, ignored)
                                    .scanRemarks();
                }
                const std::string_view text = f.text;
                std::size_t start = 0;
                while (start < text.size()) {
                    std::size_t end = text.find('\n', start);
                    if (end == std::string_view::npos)
                        end = text.size();
                    std::string_view line = text.substr(start, end - start);
                    if (!line.empty() && line.back() == '\r')
                        line.remove_suffix(1);
                    if (line.find('\t') != std::string_view::npos)
                        line = f.expanded.emplace_back(expandTabs(line));
                    f.lines.push_back(line);
                    start = end + 1;
                }
            } else {
                m_unreadable.push_back(path);
            }
        }
        m_files[i] = &it->second;
    }
    emit(0, 0);
    for (std::uint32_t i = 0; i < includes; ++i) {
        for (const SourceRemark &remark : m_files[i]->remarks) {
            const std::string_view line = m_files[i]->lines.size() >= remark.line
                                              ? m_files[i]->lines[remark.line - 1]
                                              : std::string_view();
            Extra extra;
            extra.kind = remark.kind == SourceRemark::Kind::Comment ? Extra::Kind::Comment
                                                                    : Extra::Kind::Directive;
            extra.include = i;
            extra.line = remark.line;
            extra.column = remark.column;
            extra.length = remark.length;
            if (remark.column >= 1 && remark.column <= line.size())
                extra.text = std::string(line.substr(remark.column - 1, remark.length));
            m_extras.push_back(std::move(extra));
        }
        for (std::uint32_t child : m_children[i])
            copyWords(child);
    }
    std::stable_sort(m_extras.begin(), m_extras.end(), [this](const Extra &a, const Extra &b) {
        const std::uint32_t la = expandedLine(a.include, a.line);
        const std::uint32_t lb = expandedLine(b.include, b.line);
        return la != lb ? la < lb : a.column < b.column;
    });
}

const ExpandedSource::File &ExpandedSource::file(std::uint32_t include)
{
    return *m_files[include];
}

void ExpandedSource::emit(std::uint32_t include, int depth)
{
    if (depth > maxDepth || include >= m_files.size())
        return;
    const File &f = file(include);
    std::vector<std::uint32_t> &map = m_lineMap[include];
    map.assign(f.lines.size(), 0);
    // Line kinds from what the lexer skipped: a line that holds nothing but a comment (or a
    // directive) is one.
    std::vector<Line::Kind> kinds(f.lines.size(), Line::Kind::Code);
    for (std::size_t l = 0; l < f.lines.size(); ++l) {
        const std::string_view text = f.lines[l];
        const std::string_view area = m_format == SourceFormat::Fixed
                                          ? std::string_view(text)
                                                .substr(std::min<std::size_t>(6, text.size()),
                                                        fixedTextEnd - 6)
                                          : std::string_view(text);
        if (isBlank(area))
            kinds[l] = Line::Kind::Blank;
    }
    for (const SourceRemark &remark : f.remarks) {
        if (remark.line < 1 || remark.line > f.lines.size())
            continue;
        const std::string_view text = f.lines[remark.line - 1];
        const std::size_t first = text.find_first_not_of(' ',
                                                         m_format == SourceFormat::Fixed
                                                             ? std::min<std::size_t>(6, text.size())
                                                             : 0);
        if (first != std::string::npos && remark.column <= first + 1)
            kinds[remark.line - 1] = remark.kind == SourceRemark::Kind::Comment
                                         ? Line::Kind::Comment
                                         : Line::Kind::Directive;
    }
    const std::vector<std::uint32_t> &children = m_children[include];
    std::size_t next = 0;
    auto endLine = [this](std::uint32_t child) {
        const Include &inc = m_data.includes[child];
        return inc.endLine ? inc.endLine : inc.copyLine;
    };
    for (std::size_t l = 0; l < f.lines.size(); ++l) {
        m_lines.push_back({include, static_cast<std::uint32_t>(l + 1), kinds[l], f.lines[l]});
        map[l] = static_cast<std::uint32_t>(m_lines.size());
        while (next < children.size() && endLine(children[next]) <= l + 1)
            emit(children[next++], depth + 1);
    }
    // COPY statements past the end of the file as read now (it changed): their text follows.
    while (next < children.size())
        emit(children[next++], depth + 1);
}

void ExpandedSource::copyWords(std::uint32_t child)
{
    const Include &inc = m_data.includes[child];
    if (inc.implicit)
        return; // no COPY statement in the source: the front end added the member
    const File &f = file(inc.parent);
    const std::uint32_t last = inc.endLine ? inc.endLine : inc.copyLine;
    for (std::uint32_t l = inc.copyLine; l >= 1 && l <= last && l <= f.lines.size(); ++l) {
        const std::string_view text = f.lines[l - 1];
        std::size_t from = m_format == SourceFormat::Fixed ? 7 : 0;
        std::size_t to = m_format == SourceFormat::Fixed ? std::min(text.size(), fixedTextEnd)
                                                         : text.size();
        if (m_format == SourceFormat::Fixed && text.size() > 6
            && (text[6] == '*' || text[6] == '/'))
            continue; // a comment line inside the statement
        if (l == inc.copyLine)
            from = std::max<std::size_t>(from, inc.copyColumn - 1);
        if (l == inc.endLine && inc.endColumn > 0)
            to = std::min<std::size_t>(to, inc.endColumn - 1);
        std::size_t i = from;
        while (i < to) {
            while (i < to && text[i] == ' ')
                ++i;
            const std::size_t start = i;
            while (i < to && text[i] != ' ')
                ++i;
            if (i > start)
                m_extras.push_back({Extra::Kind::CopyStatement,
                                    inc.parent,
                                    l,
                                    static_cast<std::uint32_t>(start + 1),
                                    static_cast<std::uint32_t>(i - start),
                                    std::string(text.substr(start, i - start))});
        }
    }
}

std::uint32_t ExpandedSource::expandedLine(std::uint32_t include, std::uint32_t line) const
{
    if (include >= m_lineMap.size() || line < 1 || line > m_lineMap[include].size())
        return 0;
    return m_lineMap[include][line - 1];
}

std::string ExpandedSource::text() const
{
    std::string out;
    std::size_t size = 0;
    for (const Line &line : m_lines)
        size += line.text.size() + 1;
    out.reserve(size);
    for (const Line &line : m_lines) {
        out += line.text;
        out += '\n';
    }
    return out;
}

void ExpandedSource::write(std::ostream &out) const
{
    // A block at a time: as fast as one write of the whole text, without holding it.
    std::string block;
    constexpr std::size_t blockSize = 64 * 1024;
    block.reserve(blockSize + 1024);
    for (const Line &line : m_lines) {
        block += line.text;
        block += '\n';
        if (block.size() >= blockSize) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

} // namespace cobol
