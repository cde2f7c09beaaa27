#include "DbChunkCodec.h"

namespace {

void putNumber(std::string &out, std::uint64_t value)
{
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
        return;
    }
    char bytes[10];
    std::size_t n = 0;
    while (value >= 0x80) {
        bytes[n++] = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    bytes[n++] = static_cast<char>(value);
    out.append(bytes, n);
}

void putText(std::string &out, std::string_view text)
{
    putNumber(out, text.size());
    out.append(text);
}

/// Reads numbers and texts from a blob; any read past its end marks the reader failed.
class ChunkReader
{
public:
    explicit ChunkReader(std::string_view blob)
        : m_blob(blob)
    {}

    std::uint64_t number()
    {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            if (m_at >= m_blob.size()) {
                m_failed = true;
                return 0;
            }
            const auto byte = static_cast<unsigned char>(m_blob[m_at++]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_failed = true;
        return 0;
    }
    std::uint32_t number32()
    {
        const std::uint64_t value = number();
        if (value > 0xFFFFFFFFu)
            m_failed = true;
        return static_cast<std::uint32_t>(value);
    }
    std::uint8_t byte()
    {
        const std::uint64_t value = number();
        if (value > 0xFF)
            m_failed = true;
        return static_cast<std::uint8_t>(value);
    }
    void text(std::string &out)
    {
        const std::uint64_t size = number();
        if (m_failed || size > m_blob.size() - m_at) {
            m_failed = true;
            return;
        }
        out.assign(m_blob.data() + m_at, static_cast<std::size_t>(size));
        m_at += static_cast<std::size_t>(size);
    }
    void fail() { m_failed = true; }
    bool good() const { return !m_failed; }
    bool atEnd() const { return m_at == m_blob.size(); }

private:
    std::string_view m_blob;
    std::size_t m_at = 0;
    bool m_failed = false;
};

template<typename Record, typename ReadOne>
bool decodeAll(std::string_view blob, std::size_t count, std::vector<Record> &out, ReadOne readOne)
{
    ChunkReader in(blob);
    // A damaged count must not make the reader reserve gigabytes: every record takes a byte.
    if (count > blob.size())
        return false;
    out.reserve(out.size() + count);
    for (std::size_t i = 0; i < count && in.good(); ++i)
        readOne(in, out.emplace_back());
    return in.good() && in.atEnd();
}

} // namespace

namespace {

constexpr std::uint64_t replacedFlag = 0x10;
constexpr std::uint64_t textFlag = 0x20;  ///< the text follows (it is not the line's)
constexpr std::uint64_t placeFlag = 0x40; ///< include and line follow (not the expanded line's)

std::uint64_t zigzag(std::int64_t value)
{
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

std::int64_t unzigzag(std::uint64_t value)
{
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

/// The line's text at the token's place, when the line holds it.
std::string_view shownText(const DbTokenRecord &t, const std::vector<DbLineRecord> &lines)
{
    if (t.expandedLine == 0 || t.expandedLine > lines.size() || t.column == 0)
        return {};
    const std::string &text = lines[t.expandedLine - 1].text;
    if (t.column - 1 > text.size() || t.length > text.size() - (t.column - 1))
        return {};
    return std::string_view(text).substr(t.column - 1, t.length);
}

} // namespace

namespace {

/// Appends a LEB128 number at `at`; returns the end.
inline char *putNumberAt(char *at, std::uint64_t value)
{
    while (value >= 0x80) {
        *at++ = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *at++ = static_cast<char>(value);
    return at;
}

} // namespace

void DbChunkCodec::encodeToken(const TokenFields &t,
                               const LineView *shownOn,
                               TokenState &state,
                               std::string &out)
{
    const bool place = !shownOn || shownOn->include != t.include || shownOn->line != t.line;
    bool text = t.length == 0;
    if (!text) {
        // The line's text at the token's place, when the line holds it.
        std::string_view shown;
        if (shownOn && t.column != 0 && t.column - 1 <= shownOn->text.size()
            && t.length <= shownOn->text.size() - (t.column - 1))
            shown = shownOn->text.substr(t.column - 1, t.length);
        text = shown != t.text;
    }
    // At most eight numbers of ten bytes each before the text.
    char numbers[80];
    char *at = numbers;
    at = putNumberAt(at,
                     static_cast<std::uint64_t>(t.type) | (t.replaced ? replacedFlag : 0)
                         | (text ? textFlag : 0) | (place ? placeFlag : 0));
    at = putNumberAt(at, zigzag(static_cast<std::int64_t>(t.expandedLine) - state.line));
    at = putNumberAt(at, t.column);
    at = putNumberAt(at, t.length);
    at = putNumberAt(at, t.symbol);
    at = putNumberAt(at, zigzag(static_cast<std::int64_t>(t.node) - state.node));
    if (place) {
        at = putNumberAt(at, t.include);
        at = putNumberAt(at, t.line);
    }
    out.append(numbers, static_cast<std::size_t>(at - numbers));
    if (text)
        putText(out, t.text);
    state.line = t.expandedLine;
    state.node = t.node;
}

void DbChunkCodec::encodeTokens(const std::vector<DbTokenRecord> &tokens,
                                std::size_t first,
                                std::size_t end,
                                const std::vector<DbLineRecord> &lines,
                                std::string &out)
{
    TokenState state;
    for (std::size_t i = first; i < end; ++i) {
        const DbTokenRecord &t = tokens[i];
        LineView view;
        const bool shown = t.expandedLine >= 1 && t.expandedLine <= lines.size();
        if (shown) {
            const DbLineRecord &line = lines[t.expandedLine - 1];
            view = {line.include, line.line, line.text};
        }
        encodeToken({t.type,
                     t.replaced,
                     t.include,
                     t.line,
                     t.column,
                     t.length,
                     t.expandedLine,
                     t.symbol,
                     t.node,
                     t.text},
                    shown ? &view : nullptr,
                    state,
                    out);
    }
}

void DbChunkCodec::encodeNode(std::uint8_t kind,
                              std::uint32_t parent,
                              std::uint32_t firstToken,
                              std::uint32_t lastToken,
                              std::uint32_t symbol,
                              std::uint32_t treeRecord,
                              std::string_view name,
                              std::string &out)
{
    putNumber(out, kind);
    putNumber(out, parent);
    putNumber(out, firstToken);
    putNumber(out, lastToken);
    putNumber(out, symbol);
    putNumber(out, treeRecord);
    putText(out, name);
}

void DbChunkCodec::encode(const DbNodeRecord &node, std::string &out)
{
    encodeNode(node.kind,
               node.parent,
               node.firstToken,
               node.lastToken,
               node.symbol,
               node.treeRecord,
               node.name,
               out);
}

void DbChunkCodec::encodeLine(std::uint32_t include,
                              std::uint32_t line,
                              std::uint8_t kind,
                              std::string_view text,
                              std::string &out)
{
    putNumber(out, include);
    putNumber(out, line);
    putNumber(out, kind);
    putText(out, text);
}

void DbChunkCodec::encode(const DbLineRecord &line, std::string &out)
{
    encodeLine(line.include, line.line, line.kind, line.text, out);
}

bool DbChunkCodec::decodeTokens(std::string_view blob,
                                std::size_t count,
                                const std::vector<DbLineRecord> &lines,
                                std::vector<DbTokenRecord> &out)
{
    std::int64_t line = 0, node = 0;
    bool linesOk = true;
    const bool ok = decodeAll(blob, count, out, [&](ChunkReader &in, DbTokenRecord &t) {
        const std::uint64_t flags = in.number();
        t.type = static_cast<std::uint8_t>(flags & 0x0F);
        t.replaced = (flags & replacedFlag) != 0;
        line += unzigzag(in.number());
        t.expandedLine = static_cast<std::uint32_t>(line);
        t.column = in.number32();
        t.length = in.number32();
        t.symbol = in.number32();
        node += unzigzag(in.number());
        t.node = static_cast<std::uint32_t>(node);
        if (line < 0 || line > static_cast<std::int64_t>(lines.size()) || node < 0
            || node > 0xFFFFFFFF) {
            linesOk = false;
            in.fail();
            return;
        }
        if (flags & placeFlag) {
            t.include = in.number32();
            t.line = in.number32();
        } else if (line == 0) {
            linesOk = false;
            in.fail();
            return;
        } else {
            t.include = lines[line - 1].include;
            t.line = lines[line - 1].line;
        }
        if (flags & textFlag) {
            in.text(t.text);
        } else {
            const std::string_view shown = shownText(t, lines);
            if (shown.size() != t.length) {
                linesOk = false;
                in.fail();
                return;
            }
            t.text.assign(shown);
        }
    });
    return ok && linesOk;
}

bool DbChunkCodec::decode(std::string_view blob, std::size_t count, std::vector<DbNodeRecord> &out)
{
    return decodeAll(blob, count, out, [](ChunkReader &in, DbNodeRecord &node) {
        node.kind = in.byte();
        node.parent = in.number32();
        node.firstToken = in.number32();
        node.lastToken = in.number32();
        node.symbol = in.number32();
        node.treeRecord = in.number32();
        in.text(node.name);
    });
}

bool DbChunkCodec::decode(std::string_view blob, std::size_t count, std::vector<DbLineRecord> &out)
{
    return decodeAll(blob, count, out, [](ChunkReader &in, DbLineRecord &line) {
        line.include = in.number32();
        line.line = in.number32();
        const std::uint8_t kind = in.byte();
        if (kind > DbLineRecord::directive)
            in.fail();
        line.kind = static_cast<DbLineRecord::Kind>(kind);
        in.text(line.text);
    });
}
