#include "DbImpactFacts.h"

#include <limits>

namespace {

constexpr std::uint8_t formatVersion = 1;
static_assert(formatVersion < 0x80, "the version is one byte, also as a packed number");

/// Writes LEB128 numbers and texts to a sink, which takes the bytes with `append`.
template<typename Sink>
class Packer
{
public:
    explicit Packer(Sink &sink)
        : m_sink(sink)
    {}
    void number(std::uint64_t value)
    {
        char bytes[10]; // 64 bits, seven to a byte
        std::size_t n = 0;
        do {
            std::uint8_t byte = value & 0x7F;
            value >>= 7;
            if (value)
                byte |= 0x80;
            bytes[n++] = static_cast<char>(byte);
        } while (value);
        m_sink.append(std::string_view(bytes, n));
    }
    void text(std::string_view value)
    {
        number(value.size());
        m_sink.append(value);
    }
    void range(const DbImpactFacts::Range &r)
    {
        number(r.area);
        number(r.offset);
        number(r.length);
    }
    void access(const DbImpactFacts::Access &a)
    {
        number(a.statement);
        range(a.range);
        number(a.mode);
    }
    void flow(const DbImpactFacts::Flow &f)
    {
        number(f.statement);
        number(static_cast<std::uint8_t>(f.kind));
        range(f.from);
        range(f.to);
        number(f.shift < 0 ? 2 * static_cast<std::uint64_t>(-static_cast<std::int64_t>(f.shift)) - 1
                           : 2 * static_cast<std::uint64_t>(f.shift));
    }
    /// Bytes packed before (PackedRecords).
    void raw(std::string_view bytes) { m_sink.append(bytes); }

private:
    Sink &m_sink;
};

/// Only counts the bytes, so that an output can be given its exact size first (a unit's facts
/// run to megabytes).
struct CountingSink
{
    std::size_t size = 0;
    void append(std::string_view bytes) { size += bytes.size(); }
};

struct StringSink
{
    std::string &out;
    void append(std::string_view bytes) { out.append(bytes); }
};

/// Collects the bytes in a small buffer that goes to `write` whenever it fills.
class StreamSink
{
public:
    explicit StreamSink(const std::function<void(std::string_view)> &write)
        : m_write(write)
    {
        m_buffer.reserve(bufferSize);
    }
    void append(std::string_view bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= bufferSize)
            flush();
    }
    void flush()
    {
        if (!m_buffer.empty())
            m_write(m_buffer);
        m_buffer.clear();
    }

private:
    static constexpr std::size_t bufferSize = 64 * 1024;
    const std::function<void(std::string_view)> &m_write;
    std::string m_buffer;
};

/// Reads what Packer wrote; every read checks the bounds and sets `failed` instead of reading
/// past the end, so damaged bytes give an error, never a crash.
class Unpacker
{
public:
    explicit Unpacker(std::string_view in)
        : m_in(in)
    {}

    bool failed = false;

    std::uint32_t number()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_at >= m_in.size()) {
                failed = true;
                return 0;
            }
            const auto byte = static_cast<std::uint8_t>(m_in[m_at++]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) {
                if (value > std::numeric_limits<std::uint32_t>::max())
                    failed = true;
                return static_cast<std::uint32_t>(value);
            }
        }
        failed = true;
        return 0;
    }
    std::string text()
    {
        const std::uint32_t size = number();
        if (failed || size > m_in.size() - m_at) {
            failed = true;
            return {};
        }
        std::string value(m_in.substr(m_at, size));
        m_at += size;
        return value;
    }
    DbImpactFacts::Range range()
    {
        DbImpactFacts::Range r;
        r.area = number();
        r.offset = number();
        r.length = number();
        return r;
    }
    /// A count of records, each at least `minBytes` long: never more than the bytes left allow.
    std::size_t count(std::size_t minBytes)
    {
        const std::size_t n = number();
        if (n > (m_in.size() - m_at) / minBytes)
            failed = true;
        return failed ? 0 : n;
    }
    bool atEnd() const { return m_at == m_in.size(); }

    void read(DbImpactFacts::Access &a)
    {
        a.statement = number();
        a.range = range();
        const std::uint32_t mode = number();
        failed = failed || mode < DbImpactFacts::read || mode > DbImpactFacts::readWrite;
        a.mode = static_cast<DbImpactFacts::Mode>(mode);
    }
    void read(DbImpactFacts::Flow &flow)
    {
        flow.statement = number();
        const std::uint32_t kind = number();
        failed = failed || kind > static_cast<std::uint32_t>(DbImpactFacts::FlowKind::forward);
        flow.kind = static_cast<DbImpactFacts::FlowKind>(kind);
        flow.from = range();
        flow.to = range();
        const std::uint32_t zigzag = number();
        flow.shift = zigzag % 2 ? -static_cast<std::int32_t>((zigzag + 1) / 2)
                                : static_cast<std::int32_t>(zigzag / 2);
    }

private:
    std::string_view m_in;
    std::size_t m_at = 0;
};

} // namespace

template<typename Output>
void DbImpactFacts::pack(Output &p,
                         const PackedRecords *packedAccesses,
                         const PackedRecords *packedFlows) const
{
    p.text(program);
    p.number(files.size());
    for (const std::string &file : files)
        p.text(file);
    p.number(areaSizes.size());
    for (std::uint32_t size : areaSizes)
        p.number(size);
    p.number(occurs.size());
    for (const Occurs &o : occurs) {
        p.number(o.area);
        p.number(o.offset);
        p.number(o.stride);
        p.number(o.count);
    }
    p.number(items.size());
    for (const Range &r : items)
        p.range(r);
    p.number(parameters.size());
    for (const Range &r : parameters)
        p.range(r);
    p.number(statements.size());
    for (const Statement &s : statements) {
        p.number(s.include);
        p.number(s.line);
        p.number(s.column);
        p.text(s.text);
    }
    p.number(accesses.size() + (packedAccesses ? packedAccesses->size() : 0));
    for (const Access &a : accesses)
        p.access(a);
    if (packedAccesses)
        for (const std::string &piece : packedAccesses->pieces())
            p.raw(piece);
    p.number(flows.size() + (packedFlows ? packedFlows->size() : 0));
    for (const Flow &f : flows)
        p.flow(f);
    if (packedFlows)
        for (const std::string &piece : packedFlows->pieces())
            p.raw(piece);
    p.number(copybookSpans.size());
    for (const CopybookSpan &c : copybookSpans) {
        p.range(c.range);
        p.text(c.copybook);
        p.number(c.canonical);
    }
    p.number(calls.size());
    for (const Call &c : calls) {
        p.number(c.statement);
        p.text(c.target);
        p.text(c.nameItem);
        p.number(c.arguments.size());
        for (const Range &r : c.arguments)
            p.range(r);
    }
    p.number(boundaries.size());
    for (const Boundary &b : boundaries) {
        p.number(b.statement);
        p.range(b.range);
        p.text(b.reason);
    }
}

std::string DbImpactFacts::encode(const PackedRecords *accesses, const PackedRecords *flows) const
{
    CountingSink counter;
    Packer<CountingSink> count(counter);
    pack(count, accesses, flows);
    std::string out;
    out.reserve(counter.size + 1);
    StringSink sink{out};
    Packer<StringSink> p(sink);
    p.number(formatVersion);
    pack(p, accesses, flows);
    return out;
}

void DbImpactFacts::encode(const std::function<void(std::string_view)> &write,
                           const PackedRecords *accesses,
                           const PackedRecords *flows) const
{
    StreamSink sink(write);
    Packer<StreamSink> p(sink);
    p.number(formatVersion);
    pack(p, accesses, flows);
    sink.flush();
}

std::string &DbImpactFacts::PackedRecords::pieceFor(std::size_t bytes)
{
    if (m_pieces.empty() || m_pieces.back().size() + bytes > pieceSize) {
        m_pieces.emplace_back();
        m_pieces.back().reserve(pieceSize);
    }
    return m_pieces.back();
}

void DbImpactFacts::PackedRecords::add(const Access &access)
{
    // Five numbers of at most five bytes each: a record never spans two pieces.
    StringSink sink{pieceFor(25)};
    Packer<StringSink>(sink).access(access);
    ++m_count;
}

void DbImpactFacts::PackedRecords::add(const Flow &flow)
{
    StringSink sink{pieceFor(50)};
    Packer<StringSink>(sink).flow(flow);
    ++m_count;
}

template<typename Record>
void DbImpactFacts::PackedRecords::unpackTo(std::vector<Record> &out)
{
    out.reserve(out.size() + m_count);
    for (const std::string &piece : m_pieces) {
        Unpacker in(piece);
        while (!in.atEnd() && !in.failed) {
            out.emplace_back();
            in.read(out.back());
        }
    }
    std::vector<std::string>().swap(m_pieces);
    m_count = 0;
}

void DbImpactFacts::PackedRecords::moveTo(std::vector<Access> &out)
{
    unpackTo(out);
}

void DbImpactFacts::PackedRecords::moveTo(std::vector<Flow> &out)
{
    unpackTo(out);
}

bool DbImpactFacts::decode(std::string_view bytes, DbImpactFacts &f, std::string &error)
{
    f = DbImpactFacts();
    if (bytes.empty() || static_cast<std::uint8_t>(bytes[0]) != formatVersion) {
        error = bytes.empty() ? "the impact facts are empty"
                              : "the impact facts have format "
                                    + std::to_string(static_cast<std::uint8_t>(bytes[0]))
                                    + ", expected " + std::to_string(formatVersion);
        return false;
    }
    Unpacker u(bytes.substr(1));
    f.program = u.text();
    f.files.resize(u.count(1));
    for (std::string &file : f.files)
        file = u.text();
    f.areaSizes.resize(u.count(1));
    for (std::uint32_t &size : f.areaSizes)
        size = u.number();
    f.occurs.resize(u.count(4));
    for (Occurs &o : f.occurs) {
        o.area = u.number();
        o.offset = u.number();
        o.stride = u.number();
        o.count = u.number();
    }
    f.items.resize(u.count(3));
    for (Range &r : f.items)
        r = u.range();
    f.parameters.resize(u.count(3));
    for (Range &r : f.parameters)
        r = u.range();
    f.statements.resize(u.count(4));
    for (Statement &s : f.statements) {
        s.include = u.number();
        s.line = u.number();
        s.column = u.number();
        s.text = u.text();
    }
    f.accesses.resize(u.count(5));
    for (Access &a : f.accesses)
        u.read(a);
    f.flows.resize(u.count(9));
    for (Flow &flow : f.flows)
        u.read(flow);
    f.copybookSpans.resize(u.count(5));
    for (CopybookSpan &c : f.copybookSpans) {
        c.range = u.range();
        c.copybook = u.text();
        c.canonical = u.number();
    }
    f.calls.resize(u.count(4));
    for (Call &c : f.calls) {
        c.statement = u.number();
        c.target = u.text();
        c.nameItem = u.text();
        c.arguments.resize(u.count(3));
        for (Range &r : c.arguments)
            r = u.range();
    }
    f.boundaries.resize(u.count(5));
    for (Boundary &b : f.boundaries) {
        b.statement = u.number();
        b.range = u.range();
        b.reason = u.text();
    }
    if (u.failed || !u.atEnd()) {
        error = "the impact facts are damaged";
        return false;
    }
    const auto badStatement = [&](std::uint32_t s) { return s >= f.statements.size(); };
    const auto badArea = [&](const Range &r) {
        return r.length > 0
               && (r.area >= f.areaSizes.size() || r.offset > f.areaSizes[r.area]
                   || r.length > f.areaSizes[r.area] - r.offset);
    };
    for (const Access &a : f.accesses)
        if (badStatement(a.statement) || badArea(a.range))
            return error = "an access of the impact facts is out of range", false;
    for (const Flow &flow : f.flows)
        if (badStatement(flow.statement) || badArea(flow.from) || badArea(flow.to))
            return error = "a flow of the impact facts is out of range", false;
    for (const Boundary &b : f.boundaries)
        if (badStatement(b.statement) || badArea(b.range))
            return error = "a boundary of the impact facts is out of range", false;
    for (const Call &c : f.calls) {
        if (badStatement(c.statement))
            return error = "a call of the impact facts is out of range", false;
        for (const Range &r : c.arguments)
            if (badArea(r))
                return error = "a call argument of the impact facts is out of range", false;
    }
    for (const CopybookSpan &c : f.copybookSpans)
        if (badArea(c.range))
            return error = "a copybook span of the impact facts is out of range", false;
    for (const Range &r : f.items)
        if (badArea(r))
            return error = "an item of the impact facts is out of range", false;
    for (const Range &r : f.parameters)
        if (badArea(r))
            return error = "a parameter of the impact facts is out of range", false;
    return true;
}

DbImpactFacts::Range DbImpactFacts::reduce(Range range) const
{
    // The OCCURS ranges are listed outer before inner, so a nested table reduces step by step.
    for (const Occurs &o : occurs) {
        if (o.area != range.area || o.stride == 0 || range.offset < o.offset)
            continue;
        const std::uint64_t end = o.offset + static_cast<std::uint64_t>(o.stride) * o.count;
        if (range.offset >= end)
            continue;
        const std::uint32_t within = (range.offset - o.offset) % o.stride;
        if (range.length >= o.stride) {
            range.offset = o.offset;
            range.length = o.stride;
        } else {
            range.offset = o.offset + within;
            range.length = std::min(range.length, o.stride - within);
        }
    }
    return range;
}
