#pragma once

#include "CompactText.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// What the COBOL front end learns about one program, in plain structs: the include tree, the
/// data items with their byte layout, the program's structure, the statement facts the date-field
/// analysis needs, the tokens with their places, and the diagnostics. zmc2 writes it to an
/// analysis data file (".adt", see ADT_FORMAT.md); kelmkpu reads it back; a later analysis
/// database can be fed from the same structs.
///
/// Conventions: ids are 1-based indexes into their vector plus one (id n is element n-1), 0 means
/// "none". Include id 0 is the program source itself. Offsets in memory are 0-based byte offsets;
/// the file writes them 1-based (0 = none). Lines and columns are 1-based.
namespace cobol {

/// A place in the sources: the include whose file holds the text (0 = the program source),
/// the line and the column in that file.
struct SourcePlace
{
    std::uint32_t include = 0;
    std::uint32_t line = 0;
    std::uint32_t column = 0;
};

/// One COPY statement, expanded. Includes form a tree through `parent`.
struct Include
{
    std::uint32_t id = 0;
    std::string copybook; ///< name as written, upper case, without quotes
    std::string library;  ///< OF/IN library, upper case; empty when none
    std::vector<std::pair<std::string, std::string>> replacing; ///< normalised (from, to) pairs
    std::string qualifier;        ///< DEFAULT, LIB=<LIBRARY>, each optionally followed by +R<8 hex>
    std::string path;             ///< the file that was read
    std::uint32_t parent = 0;     ///< include that holds the COPY statement (0 = program source)
    std::uint32_t copyLine = 0;   ///< line of the word COPY in the parent's file
    std::uint32_t copyColumn = 0; ///< column of the word COPY
    /// Added by the front end, not by a COPY of the program: the execute interface block and the
    /// default commarea of a CICS program, the DL/I interface block of an EXEC DLI program. The
    /// copy place is where a translator would put the block.
    bool implicit = false;
    std::uint32_t endLine = 0;   ///< line of the COPY statement's last character (its period)
    std::uint32_t endColumn = 0; ///< column just after that character
};

enum class StorageArea { File, WorkingStorage, LocalStorage, Linkage, Other };

enum class Usage {
    Display,
    Binary, ///< BINARY, COMP, COMP-4
    Comp5,  ///< COMP-5, COMP-X native binary
    Packed, ///< COMP-3, PACKED-DECIMAL
    Comp1,
    Comp2,
    Pointer,
    Index,
    National
};

enum class Category {
    Group,
    Alphabetic,
    Alphanumeric,
    AlphanumericEdited,
    Numeric,
    NumericEdited,
    National,
    Float,
    Pointer,
    Index,
    Condition, ///< level 88
    Renames,   ///< level 66
    Constant   ///< level 78
};

/// One data description entry. Levels 88 and 78 take no storage (length 0); a 66 item covers the
/// bytes it renames. A group's length is its size with OCCURS DEPENDING ON at the maximum.
struct DataItem
{
    std::uint32_t id = 0;
    std::string name;         ///< upper case; "FILLER" for unnamed entries
    int level = 0;            ///< 1-49, 66, 77, 78, 88
    std::uint32_t parent = 0; ///< enclosing group item (for 88: its conditional variable)
    StorageArea area = StorageArea::WorkingStorage;
    std::uint32_t record = 0;  ///< the level-01/77 item this one belongs to (itself for 01/77)
    std::uint32_t storage = 0; ///< storage block: records sharing bytes (one FD, 01 REDEFINES)
                               ///< have the same id, the id of the block's first record
    std::uint64_t offset = 0;  ///< 0-based offset in the storage block
    std::uint64_t length = 0;  ///< bytes of one occurrence
    Usage usage = Usage::Display;
    std::string picture; ///< as written (upper case), empty for groups
    Category category = Category::Group;
    int digits = 0; ///< numeric digits, including P positions
    int scale = 0;  ///< digits right of the point; negative for P right of the digits
    bool isSigned = false;
    bool signSeparate = false;
    bool synchronized = false;
    std::uint32_t occursMin = 0;   ///< OCCURS n TO m: n; plain OCCURS m: m
    std::uint32_t occursMax = 0;   ///< 0 = no OCCURS
    std::uint64_t stride = 0;      ///< bytes between occurrences (length plus slack)
    std::uint32_t dependingOn = 0; ///< ODO object
    std::uint32_t redefines = 0;
    std::uint32_t renamesFrom = 0;     ///< level 66
    std::uint32_t renamesThru = 0;     ///< level 66 with THRU, else 0
    std::uint32_t declaredIn = 0;      ///< include that declared the entry (0 = the program source)
    bool hasCanonical = false;         ///< true when declared in a copybook
    std::uint64_t canonicalOffset = 0; ///< 0-based offset in the copybook laid out on its own
    std::uint64_t canonicalLength = 0;
    bool layoutVaries = false; ///< the copybook cannot be laid out on its own for this include
    SourcePlace place;         ///< the level number
    std::string value;         ///< VALUE clause text as written (88: all values, THRU kept)
};

/// Divisions, sections and paragraphs of the program.
struct ProgramNode
{
    enum class Kind : std::uint8_t { Division, Section, Paragraph };
    std::uint32_t id = 0;
    Kind kind = Kind::Paragraph;
    std::string name; ///< upper case ("PROCEDURE" for the PROCEDURE DIVISION)
    std::uint32_t parent = 0;
    SourcePlace place;
    std::uint32_t firstToken = 0;
};

enum class StatementKind : std::uint8_t {
    Move,
    MoveCorresponding,
    Compute,
    Add,
    AddCorresponding,
    Subtract,
    SubtractCorresponding,
    Multiply,
    Divide,
    Compare, ///< one relational condition (IF, EVALUATE, PERFORM UNTIL, SEARCH WHEN)
    Accept,
    Initialize,
    Call,
    Read,  ///< READ ... INTO, RETURN ... INTO
    Write, ///< WRITE/REWRITE/RELEASE ... FROM
    PerformVarying,
    PerformTimes,
    Perform, ///< PERFORM of a procedure: literal operands name the procedures
    Set,
    String,
    Unstring,
    Other, ///< recognised verb without facts of interest
    Exec   ///< EXEC CICS, EXEC SQL or EXEC DLI ... END-EXEC: `detail` names the command
};

/// Where a Compare comes from.
enum class StatementContext : std::uint8_t { None, If, Evaluate, PerformUntil, SearchWhen };

enum class OperandRole : std::uint8_t {
    Source,
    Target,
    Compared,  ///< a side of a relational condition
    Remainder, ///< DIVIDE ... REMAINDER
    Counter,   ///< PERFORM VARYING counter, PERFORM n TIMES count
    Argument,  ///< CALL USING argument; in EXEC, an argument whose direction is not known
    Procedure, ///< PERFORM target (literal text); in EXEC CICS, a HANDLE label
    Both,      ///< EXEC: read and written by the command
    Column     ///< EXEC SQL DECLARE TABLE: a column (`column`, `sqlType`), its host item if any
};

enum class OperandKind : std::uint8_t { Item, Literal, Figurative, Function };

enum class RefMod : std::uint8_t { None, Constant, Variable };

/// A subscript: an item (possibly with a relative +/- n, not recorded) or an integer literal.
struct Subscript
{
    std::uint32_t item = 0; ///< 0 for a literal
    std::string literal;
};

/// An operand of a statement fact. A large program has hundreds of thousands of them: the fields
/// are ordered so that no padding is wasted, and the rarely used texts take a pointer each.
struct Operand
{
    OperandRole role = OperandRole::Source;
    OperandKind kind = OperandKind::Item;
    RefMod refMod = RefMod::None;
    std::uint32_t item = 0;      ///< data item for kind Item
    std::string text;            ///< literal/figurative text as written; function name; procedure
    CompactText function;        ///< for an item or literal used as a function argument: its name
    int sign = 0;                ///< arithmetic term: +1 or -1; 0 when not an additive term
    std::uint32_t refOffset = 0; ///< 1-based start of a constant reference modification
    std::uint32_t refLength = 0; ///< its length; 0 = to the end of the item
    SourcePlace place;
    std::vector<Subscript> subscripts;
    CompactText option;  ///< EXEC: the option (CICS, DL/I) or clause (SQL) of the argument
    CompactText column;  ///< EXEC SQL: the column or select-list expression the host variable
                         ///< goes with ("EMP.HIRE_DATE", "CURRENT DATE"); EXEC DLI: the segment
                         ///< (INTO, FROM) or "SEGMENT.FIELD" (WHERE)
    CompactText sqlType; ///< EXEC SQL: the type of `column` when known ("DATE", "CHAR(6)", ...)
};

/// One statement fact. A statement with several relational conditions gives several Compare
/// facts; `group` ties facts of one source statement together. (Fields ordered for packing.)
struct Statement
{
    std::uint32_t id = 0;
    StatementKind kind = StatementKind::Other;
    StatementContext context = StatementContext::None;
    bool nonLinear = false;      ///< COMPUTE with *, /, ** or functions around the terms
    std::string verb;            ///< upper case verb as written (MOVE, IF, WHEN, ...)
    std::string detail;          ///< ACCEPT: DATE, DAY, DATE-YYYYMMDD, DAY-YYYYDDD, TIME...;
                                 ///< CALL: program name; Compare: the operator (=, <, >=, ...);
                                 ///< Exec: language and command ("CICS ASKTIME", "SQL SELECT")
    std::uint32_t group = 0;     ///< id of the first fact of the same source statement
    std::uint32_t paragraph = 0; ///< ProgramNode id of the enclosing paragraph or section
    SourcePlace place;
    std::uint32_t firstToken = 0;
    std::uint32_t lastToken = 0;
    std::vector<Operand> operands;
};

enum class TokenKind : std::uint8_t { Word, Number, Literal, Punctuation, PictureString, Other };

/// What a token is in the program, beyond its lexical kind (TokenRoles.h assigns it).
enum class TokenRole : std::uint8_t {
    None,                 ///< a user-defined word that names no data item or procedure
    Keyword,              ///< a reserved word
    Level,                ///< the level number of a data description entry
    DataDeclaration,      ///< the name of a data description entry
    DataReference,        ///< a data name used elsewhere (also as a qualifier or in a clause)
    ProcedureDeclaration, ///< a section or paragraph name in its header
    ProcedureReference    ///< a section or paragraph name used in PERFORM, GO TO, ...
};

/// A token of the program with its place and role. (Fields ordered for packing: a large program
/// has half a million tokens.)
struct Token
{
    std::uint32_t id = 0;
    TokenKind kind = TokenKind::Word;
    TokenRole role = TokenRole::None;
    bool replaced = false;    ///< text produced by REPLACING (place: the replaced text)
    std::string text;         ///< as it reaches the parser (after REPLACING), case kept
    SourcePlace place;        ///< where the text stands in its file
    std::uint32_t length = 0; ///< characters the token spans on its line
    std::uint32_t item = 0;   ///< the data item a Level or Data* token stands for (0 = unresolved)
    std::uint32_t node = 0;   ///< the innermost syntax node that holds the token (0 = not known)
};

/// One node of the program's syntax structure (SyntaxTree.h says what the nodes are). Nodes are
/// numbered from 1 in an order where every parent comes before its children; node 1 is the
/// program and holds every token.
struct SyntaxNode
{
    enum class Kind : std::uint8_t {
        Program,
        Division,
        Section,
        Paragraph,
        Sentence,
        Statement,
        DataEntry
    };
    Kind kind = Kind::Program;
    std::string name;             ///< division/section/paragraph/data name; a statement's verb
    std::uint32_t parent = 0;     ///< node number (1-based); 0 for the program
    std::uint32_t firstToken = 0; ///< token ids (1-based, as in AnalysisData::tokens)
    std::uint32_t lastToken = 0;
    std::uint32_t item = 0;        ///< DataEntry: its item
    std::uint32_t programNode = 0; ///< Division/Section/Paragraph: the ProgramNode id
};

/// Text of a source file that no token stands for: a comment (a comment or debugging line, or
/// the rest of a line after `*>`) or a compiler directive line, as `Lexer::scanRemarks` finds
/// it reading the file in the format the program ends in. Each file is listed once, under the
/// first include that reads it; columns count with tabs expanded.
struct Remark
{
    enum class Kind { Comment, Directive };
    Kind kind = Kind::Comment;
    std::uint32_t include = 0; ///< the first include whose file holds the text
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    std::uint32_t length = 0; ///< characters up to the end of the line's text area
};

struct Diagnostic
{
    enum class Severity { Information, Warning, Error };
    Severity severity = Severity::Warning;
    SourcePlace place;
    std::string message;
};

/// The analysis data of one program.
class AnalysisData final
{
public:
    /// The version of the analysis data file (ADT_FORMAT.md): 2 is the binary file with its
    /// text form; the text form of version 1 is still read.
    static constexpr int formatVersion = 2;

    std::string programName;
    std::string sourcePath;
    std::string dialect = "ibm";
    bool freeFormat = false;
    std::vector<Include> includes; ///< includes[0] is the program source (id 0)
    std::vector<DataItem> items;
    std::vector<ProgramNode> nodes;
    std::vector<Statement> statements;
    std::vector<Token> tokens;
    std::vector<Diagnostic> diagnostics;
    /// The syntax structure, the token owners (Token::node) and the remarks: the front end
    /// records them (with keepTokens); data read from a version 1 file lacks them until
    /// `completeStructure` adds them.
    std::vector<SyntaxNode> syntaxNodes;
    std::vector<Remark> remarks;
    bool structureKnown = false;

    /// The item with `id`, or nullptr for 0 or an id out of range.
    const DataItem *item(std::uint32_t id) const;
    /// The include with `id`, or nullptr when out of range.
    const Include *include(std::uint32_t id) const;
    /// The file of an include (the program source for 0); empty when out of range.
    const std::string &fileOf(std::uint32_t includeId) const;

    /// Writes the text form (version 2). Throws IAccessError when the stream fails.
    void write(std::ostream &out) const;
    /// Writes the binary file to `path` through a temporary file renamed into place, so a failed
    /// write leaves no partial file. Throws IAccessError naming the file.
    void writeFile(const std::string &path) const;

    /// Reads an analysis data file of either form (binary, or text of version 1 or 2).
    /// `fileName` names the input in errors. Throws IAccessError "<file>:<line>: expected
    /// <what>, found <what>" (text) or "<file>: ..." (binary) on any malformed or truncated input.
    static AnalysisData read(std::istream &in, std::string_view fileName);
    static AnalysisData readFile(const std::string &path);
    /// Reads the file's bytes, `text`, of either form.
    static AnalysisData parse(std::string text, std::string_view fileName);

    /// Adds the syntax structure, the token owners and the remarks when they are not known (data
    /// of a version 1 file): the structure from the tokens, the remarks from the source files as
    /// they are now (a file that cannot be read has none).
    void completeStructure();
};

/// Names used in the file for the enums (upper case words, e.g. "COMP-3", "WORKING-STORAGE").
std::string_view toString(StorageArea value);
std::string_view toString(Usage value);
std::string_view toString(Category value);
std::string_view toString(ProgramNode::Kind value);
std::string_view toString(StatementKind value);
std::string_view toString(StatementContext value);
std::string_view toString(OperandRole value);
std::string_view toString(OperandKind value);
std::string_view toString(RefMod value);
std::string_view toString(TokenKind value);
std::string_view toString(TokenRole value);
std::string_view toString(Diagnostic::Severity value);
std::string_view toString(SyntaxNode::Kind value);
std::string_view toString(Remark::Kind value);

/// The include qualifier for a COPY: "DEFAULT" or "LIB=<LIBRARY>", followed by "+R" and eight
/// upper-case hex digits (FNV-1a 32 of the normalised pairs) when `replacing` is not empty.
std::string includeQualifier(std::string_view library,
                             const std::vector<std::pair<std::string, std::string>> &replacing);

/// The binary file of some analysis data, written beside its place under a hidden temporary name
/// and not yet in place, so that a caller can write it while other work runs and decide later
/// whether it stands: `commit` renames it over the target; dropped uncommitted, it is removed.
class PendingAdtFile final
{
public:
    /// Writes `data` beside `path`. Throws IAccessError naming the file when it cannot.
    PendingAdtFile(const AnalysisData &data, const std::string &path);
    ~PendingAdtFile();
    PendingAdtFile(const PendingAdtFile &) = delete;
    PendingAdtFile &operator=(const PendingAdtFile &) = delete;

    /// Puts the file in place. Throws IAccessError naming both files when it cannot (the
    /// temporary file is then removed when this goes).
    void commit();

private:
    std::string m_path;
    std::string m_temporary; ///< empty once committed
};

} // namespace cobol
