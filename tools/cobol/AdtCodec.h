#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

/// The pieces of the binary analysis data file (ADT_FORMAT.md, "Binary file") that its writer
/// and its reader share: the magic bytes, the section tags, and LEB128 numbers and texts.
namespace cobol::adt {

/// The first eight bytes of a binary file.
inline constexpr std::string_view magic{"CHXADT\0\x1A", 8};
/// Magic, version (u32) and section count (u32).
inline constexpr std::size_t headerSize = 16;
/// Tag (4 bytes), record count (u32), offset (u64) and size (u64) of one section.
inline constexpr std::size_t sectionEntrySize = 24;

/// The sections, in the order the writer puts them.
enum class Section : std::uint8_t {
    Program,
    Includes,
    Items,
    Nodes,
    Statements,
    Tokens,
    SyntaxNodes,
    Remarks,
    Diagnostics
};
inline constexpr int sectionCount = 9;
inline constexpr const char *sectionTags[sectionCount]
    = {"PROG", "INCL", "ITEM", "NODE", "STMT", "TOKN", "SYNT", "RMRK", "DIAG"};

/// Operand flags (the second byte of an operand record): which fields follow.
inline constexpr std::uint8_t operandTextIsItemName = 0x01; ///< the text is left out
inline constexpr std::uint8_t operandHasFunction = 0x02;
inline constexpr std::uint8_t operandHasOption = 0x04;
inline constexpr std::uint8_t operandHasColumn = 0x08;
inline constexpr std::uint8_t operandHasSqlType = 0x10;
inline constexpr std::uint8_t operandHasSubscripts = 0x20;
inline constexpr std::uint8_t operandHasRefMod = 0x40;
inline constexpr std::uint8_t operandHasSign = 0x80;

/// Token flags byte: kind in bits 0-2, role in bits 3-5.
inline constexpr std::uint8_t tokenReplaced = 0x40;
inline constexpr std::uint8_t tokenHasItem = 0x80;

inline std::uint64_t zigzag(std::int64_t value)
{
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

inline std::int64_t unzigzag(std::uint64_t value)
{
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

/// Appends numbers and texts to a section. It writes through a pointer into `out`, which it
/// grows in large steps, and gives `out` its exact size when it goes.
class ByteWriter final
{
public:
    explicit ByteWriter(std::string &out)
        : m_out(out)
        , m_size(out.size())
    {}
    ~ByteWriter() { m_out.resize(m_size); }
    ByteWriter(const ByteWriter &) = delete;
    ByteWriter &operator=(const ByteWriter &) = delete;

    void number(std::uint64_t value)
    {
        char *at = room(10);
        while (value >= 0x80) {
            *at++ = static_cast<char>((value & 0x7F) | 0x80);
            value >>= 7;
        }
        *at++ = static_cast<char>(value);
        m_size = static_cast<std::size_t>(at - m_out.data());
    }
    void signedNumber(std::int64_t value) { number(zigzag(value)); }
    void byte(std::uint8_t value)
    {
        *room(1) = static_cast<char>(value);
        ++m_size;
    }
    void text(std::string_view value)
    {
        number(value.size());
        if (!value.empty()) {
            std::memcpy(room(value.size()), value.data(), value.size());
            m_size += value.size();
        }
    }

    /// Writing a whole record through a pointer: `begin(most)` gives room for at most `most`
    /// bytes, `put...` write at the pointer and return where it now stands, `end` takes the
    /// record's end.
    char *begin(std::size_t most) { return room(most); }
    void end(char *at) { m_size = static_cast<std::size_t>(at - m_out.data()); }
    static char *put(char *at, std::uint64_t value)
    {
        while (value >= 0x80) {
            *at++ = static_cast<char>((value & 0x7F) | 0x80);
            value >>= 7;
        }
        *at++ = static_cast<char>(value);
        return at;
    }
    static char *putSigned(char *at, std::int64_t value) { return put(at, zigzag(value)); }
    static char *putText(char *at, std::string_view value)
    {
        at = put(at, value.size());
        if (!value.empty())
            std::memcpy(at, value.data(), value.size());
        return at + value.size();
    }
    /// Bytes a number takes at most.
    static constexpr std::size_t numberBytes = 10;

private:
    /// Where the next `bytes` bytes go.
    char *room(std::size_t bytes)
    {
        if (m_size + bytes > m_out.size()) [[unlikely]]
            m_out.resize(std::max({m_out.size() * 2, m_size + bytes + 4096, m_out.capacity()}));
        return m_out.data() + m_size;
    }

    std::string &m_out;
    std::size_t m_size = 0;
};

/// Reads numbers and texts from a section; every read is bounds-checked, and the first read
/// past the end or of a malformed number marks the reader failed (reads then give 0 and "").
class ByteReader final
{
public:
    ByteReader() = default;
    explicit ByteReader(std::string_view bytes)
        : m_at(bytes.data())
        , m_end(bytes.data() + bytes.size())
    {}

    std::uint64_t number()
    {
        // Most numbers take one byte.
        if (m_at != m_end && !(static_cast<unsigned char>(*m_at) & 0x80)) [[likely]]
            return static_cast<unsigned char>(*m_at++);
        return longNumber();
    }
    std::uint32_t number32()
    {
        const std::uint64_t value = number();
        if (value > 0xFFFFFFFFu)
            return static_cast<std::uint32_t>(fail());
        return static_cast<std::uint32_t>(value);
    }
    std::int64_t signedNumber() { return unzigzag(number()); }
    std::uint8_t byte()
    {
        if (m_at == m_end)
            return static_cast<std::uint8_t>(fail());
        return static_cast<std::uint8_t>(*m_at++);
    }
    std::string_view text()
    {
        const std::uint64_t size = number();
        if (size > static_cast<std::uint64_t>(m_end - m_at)) [[unlikely]] {
            fail();
            return {};
        }
        const std::string_view value(m_at, static_cast<std::size_t>(size));
        m_at += size;
        return value;
    }
    /// Steps over a text.
    void skipText()
    {
        const std::uint64_t size = number();
        if (size > static_cast<std::uint64_t>(m_end - m_at)) [[unlikely]]
            fail();
        else
            m_at += size;
    }

    bool failed() const { return m_failed; }
    bool atEnd() const { return m_at == m_end; }
    /// Bytes not read yet.
    std::size_t left() const { return static_cast<std::size_t>(m_end - m_at); }
    std::size_t remaining() const { return static_cast<std::size_t>(m_end - m_at); }
    const char *position() const { return m_at; }
    void setPosition(const char *at) { m_at = at; }
    std::uint64_t fail()
    {
        m_failed = true;
        m_at = m_end;
        return 0;
    }

private:
    /// A number of more than one byte, or the failure of a read at the end.
    [[gnu::noinline]] std::uint64_t longNumber()
    {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            if (m_at == m_end)
                return fail();
            const auto byte = static_cast<unsigned char>(*m_at++);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        return fail();
    }

    const char *m_at = nullptr;
    const char *m_end = nullptr;
    bool m_failed = false;
};

inline void putFixed32(std::string &out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void putFixed64(std::string &out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::uint64_t getFixed(const char *bytes, int size)
{
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace cobol::adt
