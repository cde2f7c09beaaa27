#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// What one program unit contributes to field impact: which statements read and write which
/// storage bytes, how bytes flow into one another, where the unit's storage lies in copybooks,
/// the unit's linkage parameters and its CALLs, and the flows the analysis does not follow.
/// `kelmkpu` builds it while it records the unit; `DbImpact` joins the facts of all units of an
/// execution unit to answer "which statements touch these bytes".
///
/// Storage is addressed as (area, offset, length): an area is a block of storage of the
/// program (a level-01/77 record, or the records of one FD, which share their bytes), offsets
/// count from 0 in that area. Inside an OCCURS the bytes of the first occurrence stand for all.
struct DbImpactFacts
{
    /// A byte range of an area; `length` 0 means "no storage" (a literal argument).
    struct Range
    {
        std::uint32_t area = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        bool operator==(const Range &) const = default;
    };

    /// A source statement, with the place of its first word.
    struct Statement
    {
        std::uint32_t include = 0; ///< 0 the program source, n the n-th COPY
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        std::string text; ///< the statement as written, blanks folded, at most `maxText` bytes
    };
    static constexpr std::size_t maxText = 120;

    enum Mode : std::uint8_t { read = 1, write = 2, readWrite = 3 };

    /// A statement reading or writing a range.
    struct Access
    {
        std::uint32_t statement = 0; ///< index into `statements`
        Range range;
        Mode mode = read;
    };

    enum class FlowKind : std::uint8_t {
        aligned = 0, ///< byte i of `from` with byte i + `shift` of `to` where both exist, both
                     ///< ways (shift 0: left-aligned; numbers line up on the decimal point)
        whole = 1,   ///< any byte of either side reaches every byte of the other (numeric moves,
                     ///< comparisons of numbers)
        forward = 2  ///< any byte of `from` reaches every byte of `to`, not back (arithmetic)
    };

    /// Bytes joined by a statement.
    struct Flow
    {
        std::uint32_t statement = 0;
        FlowKind kind = FlowKind::aligned;
        Range from;
        Range to;
        std::int32_t shift = 0;
    };

    /// Bytes of an area that are a copybook's bytes: `range` holds the copybook's bytes from
    /// `canonical` on (0-based, the copybook laid out on its own).
    struct CopybookSpan
    {
        Range range;
        std::string copybook;
        std::uint32_t canonical = 0;
    };

    /// A CALL: its target when written as a literal, and its arguments by position (a literal
    /// or OMITTED argument has length 0).
    struct Call
    {
        std::uint32_t statement = 0;
        std::string target;   ///< the program called, upper case; empty when not a literal
        std::string nameItem; ///< the data item naming the program of a dynamic CALL
        std::vector<Range> arguments;
    };

    /// Bytes whose flow the analysis does not follow at `statement`, with the reason.
    struct Boundary
    {
        std::uint32_t statement = 0;
        Range range;
        std::string reason;
    };

    /// An OCCURS range of an area: offsets in it reduce to the first occurrence.
    struct Occurs
    {
        std::uint32_t area = 0;
        std::uint32_t offset = 0;
        std::uint32_t stride = 0;
        std::uint32_t count = 0;
    };

    std::string program;            ///< PROGRAM-ID, upper case: what CALLs name
    std::vector<std::string> files; ///< per include id: the file's path
    std::vector<std::uint32_t> areaSizes;
    std::vector<Occurs> occurs;
    std::vector<Range> items;      ///< per symbol number - 1: the item's bytes (length 0: none)
    std::vector<Range> parameters; ///< PROCEDURE DIVISION USING, by position
    std::vector<Statement> statements;
    std::vector<Access> accesses;
    std::vector<Flow> flows;
    std::vector<CopybookSpan> copybookSpans;
    std::vector<Call> calls;
    std::vector<Boundary> boundaries;

    bool empty() const { return statements.empty() && items.empty(); }

    /// Accesses or flows packed as `encode` packs them, one record after another, for a writer
    /// that collects a large unit's records as it finds them: a few bytes each instead of a
    /// record of 20 or 36, and no packing again when the facts are encoded.
    class PackedRecords
    {
    public:
        void add(const Access &access);
        void add(const Flow &flow);
        std::size_t size() const { return m_count; }
        /// Appends the records to `out` (all of them accesses, or all flows) and empties the
        /// list.
        void moveTo(std::vector<Access> &out);
        void moveTo(std::vector<Flow> &out);
        /// The packed bytes, in pieces that each end with a record.
        const std::vector<std::string> &pieces() const { return m_pieces; }

    private:
        static constexpr std::size_t pieceSize = 64 * 1024;
        /// The piece to append a record of at most `bytes` bytes to.
        std::string &pieceFor(std::size_t bytes);
        template<typename Record>
        void unpackTo(std::vector<Record> &out);

        std::vector<std::string> m_pieces;
        std::size_t m_count = 0;
    };

    /// The facts packed for the database (a version byte, then LEB128 numbers and texts).
    /// `accesses` and `flows`, when given, follow the members of the same names.
    std::string encode(const PackedRecords *accesses = nullptr,
                       const PackedRecords *flows = nullptr) const;
    /// The same bytes, given to `write` a piece at a time (for a writer that keeps them in a
    /// file rather than in memory).
    void encode(const std::function<void(std::string_view)> &write,
                const PackedRecords *accesses = nullptr,
                const PackedRecords *flows = nullptr) const;
    /// Unpacks `encode()`'s bytes; false with `error` set when they are damaged.
    static bool decode(std::string_view bytes, DbImpactFacts &facts, std::string &error);

    /// `range` moved into the first occurrence of the OCCURS ranges that hold its start (a
    /// range of one occurrence or more becomes the whole first occurrence).
    Range reduce(Range range) const;

private:
    /// Writes the facts after the version byte to `output` (a Packer).
    template<typename Output>
    void pack(Output &output, const PackedRecords *accesses, const PackedRecords *flows) const;
};
