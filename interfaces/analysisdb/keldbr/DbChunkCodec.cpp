#include "DbChunkCodec.h"

namespace {

void putNumber(std::string &out, std::uint64_t value)
{
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

void putText(std::string &out, const std::string &text)
{
    putNumber(out, text.size());
    out += text;
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

void DbChunkCodec::encode(const DbTokenRecord &token, std::string &out)
{
    putNumber(out, static_cast<std::uint64_t>(token.type) | (token.replaced ? 0x10u : 0u));
    putNumber(out, token.include);
    putNumber(out, token.line);
    putNumber(out, token.column);
    putNumber(out, token.length);
    putNumber(out, token.expandedLine);
    putNumber(out, token.symbol);
    putNumber(out, token.node);
    putText(out, token.text);
}

void DbChunkCodec::encode(const DbNodeRecord &node, std::string &out)
{
    putNumber(out, node.kind);
    putNumber(out, node.parent);
    putNumber(out, node.firstToken);
    putNumber(out, node.lastToken);
    putNumber(out, node.symbol);
    putNumber(out, node.treeRecord);
    putText(out, node.name);
}

void DbChunkCodec::encode(const DbLineRecord &line, std::string &out)
{
    putNumber(out, line.include);
    putNumber(out, line.line);
    putNumber(out, line.kind);
    putText(out, line.text);
}

bool DbChunkCodec::decode(std::string_view blob, std::size_t count, std::vector<DbTokenRecord> &out)
{
    return decodeAll(blob, count, out, [](ChunkReader &in, DbTokenRecord &token) {
        const std::uint8_t typeAndFlags = in.byte();
        token.type = typeAndFlags & 0x0F;
        token.replaced = (typeAndFlags & 0x10) != 0;
        token.include = in.number32();
        token.line = in.number32();
        token.column = in.number32();
        token.length = in.number32();
        token.expandedLine = in.number32();
        token.symbol = in.number32();
        token.node = in.number32();
        in.text(token.text);
    });
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
