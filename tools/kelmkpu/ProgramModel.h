#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The analyser's own view of one program: storage areas, data items as byte ranges inside them,
/// copybook includes, and the statement facts the inference needs. The front end's analysis data
/// is translated into this model (AnalysisDataAdapter), so the inference can be tested on small
/// hand-made programs.
namespace kelmkpu {

inline constexpr std::uint32_t noIndex = 0xFFFFFFFFu;

/// A place in a source or copybook file; line and column count from 1 (0 = unknown).
struct SourcePos
{
    std::uint32_t file = 0; ///< index into ProgramModel::files
    std::uint32_t line = 0;
    std::uint32_t column = 0;
};

/// How an item's bytes hold its value; decides how a numeric MOVE lines its bytes up.
enum class ItemCategory {
    Group,
    Alphanumeric,
    NumericDisplay,
    NumericPacked,
    NumericBinary,
    NumericEdited,
    Other
};

/// One data item: a view over `length` bytes at `offset` inside storage area `area`. Items inside
/// an OCCURS describe their first occurrence.
struct DataItem
{
    std::string name;
    SourcePos declared;
    std::uint32_t area = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    ItemCategory category = ItemCategory::Alphanumeric;
    std::uint32_t digits = 0;     ///< numeric: number of digit positions
    std::int32_t scale = 0;       ///< numeric: digits right of the decimal point
    bool leadingSignByte = false; ///< DISPLAY numeric with SIGN LEADING SEPARATE
    std::string picture;          ///< as written, upper case; empty for groups
    bool elementary = true;
    std::uint32_t include = noIndex;         ///< index into ProgramModel::includes, or noIndex
    std::uint32_t canonicalOffset = noIndex; ///< 0-based offset in the copybook's own layout
    /// Storage outside the program that EXEC commands read and write (an SQL column, a CICS
    /// file or queue, a DL/I segment): it joins the items that flow through it, but is no field
    /// of the program and is never reported.
    bool synthetic = false;
};

/// A storage area: a level-01/77 record, or all records of one FD, which share storage.
/// `occurs` lists the OCCURS ranges inside it: one occurrence stands for all.
struct StorageArea
{
    struct Occurs
    {
        std::uint32_t offset = 0; ///< first byte of the first occurrence
        std::uint32_t stride = 0; ///< length of one occurrence
        std::uint32_t count = 0;  ///< maximum number of occurrences
    };
    std::string name;
    std::uint32_t size = 0;
    std::vector<Occurs> occurs;
};

/// One COPY of a copybook, keyed by its name and include qualifier.
struct Include
{
    std::string copybook;
    std::string qualifier;
    std::uint32_t file = 0; ///< index into ProgramModel::files of the copybook's text
    SourcePos copiedAt;
};

/// A reference to a data item in a statement, with an optional constant reference modification.
struct Operand
{
    std::uint32_t item = noIndex; ///< noIndex for literals and figurative constants
    std::uint32_t refStart = 0;   ///< 1-based constant start, 0 = none
    std::uint32_t refLength = 0;  ///< constant length, 0 = to the end of the item
    bool variableRefMod = false;  ///< refmod with a non-constant start: the whole item is used
    SourcePos pos;

    bool isItem() const { return item != noIndex; }
};

enum class StatementKind {
    Move,       ///< MOVE, READ INTO, WRITE FROM, RELEASE FROM, RETURN INTO
    Compare,    ///< relational condition
    Arithmetic, ///< ADD, SUBTRACT, COMPUTE (and MULTIPLY/DIVIDE as non-linear terms)
    AcceptDate, ///< ACCEPT x FROM DATE / DAY
    NonYearUse, ///< subscripts, refmod offsets/lengths, ODO objects, TIMES, VARYING counters
    YearUse,    ///< operands known to hold a year at their start (INTEGER-OF-DATE argument)
    Other       ///< anything else worth listing (CALL boundaries, STRING into a year, ...)
};

/// Which form of ACCEPT ... FROM: where the year sits in the received value.
enum class AcceptForm { Date, DateYyyymmdd, Day, DayYyyyddd };

/// One arithmetic term: an operand with its sign in the linear sum; `linear` is false for factors
/// of MULTIPLY/DIVIDE and of * / ** in COMPUTE.
struct Term
{
    Operand operand;
    int sign = 1;
    bool linear = true;
};

/// One fact from the procedure division.
struct Statement
{
    StatementKind kind = StatementKind::Other;
    SourcePos pos;
    std::string text; ///< short description, e.g. "MOVE A TO B"
    /// Move: operands[0] is the sender, the rest receivers. Compare: the two sides.
    /// AcceptDate: operands[0] is the receiver. NonYearUse / YearUse: the items used.
    /// Arithmetic: the results (each result = sum of the terms).
    std::vector<Operand> operands;
    std::vector<Term> terms; ///< Arithmetic only; a result that is also a term is listed here too
    AcceptForm acceptForm = AcceptForm::Date;
    std::uint32_t yearDigits = 2; ///< YearUse: bytes of the year at the operand's start
};

/// A remark of the front end or the translation, passed on to the findings.
struct ModelNote
{
    SourcePos pos;
    std::string text;
};

struct ProgramModel
{
    std::vector<std::string> files; ///< files[0] is the program source, then the copybooks
    std::vector<StorageArea> areas;
    std::vector<DataItem> items;
    std::vector<Include> includes;
    std::vector<Statement> statements;
    std::vector<ModelNote> notes; ///< remarks to pass on (layout varies, CALL boundaries, ...)
};

} // namespace kelmkpu
