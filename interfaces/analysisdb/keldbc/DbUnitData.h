#pragma once

#include "DbImpactFacts.h"

#include <cstdint>
#include <string>
#include <vector>

/// One program unit as plain records: what the builder (kelmkpu) hands to the writer, what the
/// reader hands to `DbPu`, and what tests build by hand. Numbers that refer to other records are
/// 1-based positions in their vector (0 = none): token n is `tokens[n - 1]`, symbol n is
/// `symbols[n - 1]`, and so on. Include ids are 0 for the program source and n for the n-th COPY.
///
/// `validate()` checks every reference, so a damaged database never reaches the object model.

/// Program-unit states (`DbPu::State`).
enum class DbPuState : std::uint8_t {
    analyzed = 0,             ///< analysed, nothing to warn about
    analyzedWithWarnings = 1, ///< analysed; the analysis has warnings
    analyzedWithErrors = 2    ///< analysed, but the front end found errors in the source
};

/// The header of a program unit: what the program-unit table and the settings view show.
struct DbUnitHeader
{
    std::string name;               ///< PROGRAM-ID, upper case
    std::string sourceFile;         ///< absolute path of the program source; the unit's identity
    std::string expandedSourceFile; ///< the expanded source written beside the database
    std::string dialect;            ///< the COBOL dialect the layout follows (ibm, default, mf)
    std::uint32_t languageCode = 1; ///< 1 = COBOL
    std::uint32_t version = 1;      ///< version of the builder that recorded the unit
    std::uint32_t release = 0;
    bool analyzed = true;
    bool linkable = false; ///< the compile found no errors
    DbPuState state = DbPuState::analyzed;
    std::int64_t timeStamp = 0;    ///< seconds since 1970 (UTC) when the unit was recorded
    std::uint32_t codePage = 1208; ///< CCSID of the texts: 1208 = UTF-8
    std::uint32_t tokenCount = 0;  ///< filled by the writer from the unit's data
    std::uint32_t symbolCount = 0;
    std::uint32_t lineCount = 0;
};

/// A file the unit read: the program source, then each copybook once, in first-read order.
struct DbInputFileRecord
{
    enum Kind : std::uint8_t { sourceFile = 0, copybookFile = 1 };
    std::string path;
    Kind kind = sourceFile;
    std::string copybook; ///< name as written in COPY (upper case); empty for the source
};

/// One COPY statement expanded (include id = position; `includes[0]` is the program source).
struct DbIncludeRecord
{
    std::uint32_t parent = 0;    ///< include holding the COPY statement
    std::uint32_t inputFile = 0; ///< the file read (1-based into inputFiles)
    std::uint32_t copyLine = 0;  ///< place of the word COPY in the parent's file
    std::uint32_t copyColumn = 0;
    std::string copybook;
    std::string qualifier; ///< the front end's include qualifier (DEFAULT, LIB=X, +R<hash>)
};

/// One line of the expanded source (the source with its copybooks expanded).
struct DbLineRecord
{
    enum Kind : std::uint8_t {
        code = 0,     ///< a line with program text
        comment = 1,  ///< a comment line (`*`, `/` or a `D` debugging line, or `*>` only)
        blank = 2,    ///< nothing but blanks (and sequence numbers)
        directive = 3 ///< a compiler directive (`>>SOURCE`, `$SET`, CBL/PROCESS ...)
    };
    std::uint32_t include = 0; ///< whose file the line comes from
    std::uint32_t line = 0;    ///< line in that file
    Kind kind = code;
    std::string text; ///< the line as in the file, tabs expanded
};

/// One token. `type` is a `DbToken::Type` value (0..9).
struct DbTokenRecord
{
    std::uint8_t type = 9;
    bool replaced = false; ///< text produced by REPLACING
    std::uint32_t include = 0;
    std::uint32_t line = 0; ///< line in its file
    std::uint32_t column = 0;
    std::uint32_t length = 0;       ///< characters it spans on that line
    std::uint32_t expandedLine = 0; ///< line of the expanded source, 0 when unknown
    std::uint32_t symbol = 0;       ///< the data symbol it names
    std::uint32_t node = 0;         ///< its owning syntax node
    std::string text;
};

/// One syntax node. `kind` is a `DbNode::Kind` value.
struct DbNodeRecord
{
    std::uint8_t kind = 0;
    std::string name;         ///< division/section/paragraph/data name, or a statement's verb
    std::uint32_t parent = 0; ///< 0 only for the unit's root node (node 1)
    std::uint32_t firstToken = 0;
    std::uint32_t lastToken = 0;
    std::uint32_t symbol = 0;     ///< data entries: their symbol
    std::uint32_t treeRecord = 0; ///< the tree record that stands for the node, 0 when none
};

/// One data item.
struct DbSymbolRecord
{
    std::uint32_t level = 0;
    std::string name; ///< FILLER for unnamed entries
    std::string longName;
    std::uint32_t declaringToken = 0; ///< the entry's name (its level number when unnamed)
    std::uint32_t parent = 0;         ///< enclosing group; for 88 the conditional variable
    std::uint32_t record = 0;         ///< the level-01/77 item of the entry (itself for those)
    std::uint32_t base = 0;           ///< REDEFINES object, or the first item a 66 renames
    std::uint32_t related[3] = {0, 0, 0};
    bool group = false;
    bool recordStart = false;
    std::uint32_t occursMin = 0;
    std::uint32_t occursMax = 0; ///< 0 = no OCCURS
    std::uint64_t offset = 0;    ///< byte offset from the record's first byte
    std::uint64_t length = 0;    ///< bytes of one occurrence
    std::string displayText;     ///< offset * 8 as eight upper-case hex digits ("0E..." no storage)
    std::string usage;
    std::string picture;
    std::string category;
    std::string value;
    std::string area; ///< FILE, WORKING-STORAGE, LOCAL-STORAGE, LINKAGE, OTHER
    bool isSigned = false;
    bool signSeparate = false;
    bool synchronized = false;
    std::uint32_t include = 0; ///< include whose text declares the entry
    std::uint32_t line = 0;    ///< line of the level number in that include's file
};

/// One record of the structure tree. Record 1 is the unit's root.
struct DbTreeRecord
{
    std::uint8_t kind = 0; ///< a `DbTreeInfo::Kind` value
    std::string text;
    std::uint32_t parent = 0; ///< 0 only for record 1
    std::uint32_t node = 0;   ///< the syntax node it stands for
};

/// A token the date-field analysis marked.
struct DbMarkRecord
{
    std::uint8_t kind = 0; ///< a `DbMark::Kind` value
    std::uint32_t token = 0;
    std::uint32_t symbol = 0; ///< the item concerned, 0 when none
    std::string text;         ///< the kind of date field, or why the statement needs a window
};

/// One entry of a copybook laid out on its own (its canonical coordinates), as one include of
/// the unit shows it. Entries of one (copybook, qualifier) are listed in declaration order.
struct DbCopybookItemRecord
{
    std::string copybook;
    std::string qualifier; ///< the include's qualifier (DEFAULT, LIB=X, +R<hash>)
    std::uint32_t level = 0;
    std::string name;
    std::uint32_t parent = 0; ///< 1-based among the entries of the same copybook; 0 none
    std::uint32_t base = 0;   ///< the REDEFINES object (or a 66's first item), same numbering
    std::uint64_t offset = 0; ///< 0-based offset in the copybook laid out on its own
    std::uint64_t length = 0; ///< bytes of one occurrence
    std::uint32_t occursMax = 0;
    std::string usage;
    std::string picture;
    std::uint32_t line = 0; ///< line of the level number in the copybook
    bool varies = false;    ///< this include lays the entry out differently (SYNC, REPLACING)
    bool synchronized = false;
    std::string dateText; ///< what the unit's analysis found ("USED-AS-YEAR bytes 1-2")
};

/// What a unit's records were made from, for a writer that may later find its records still
/// good and bring only the analysis's part up to date (DbWriter::refresh). The database keeps
/// both as they are given; no reader needs them.
struct DbUnitOrigin
{
    std::string key;         ///< what the records were made from; empty: never refreshed
    std::string findingsKey; ///< what the marks and copybook layouts were made from
    std::string builderData; ///< bytes of the writer's own, given back with the key
};

struct DbUnitData
{
    DbUnitHeader header;
    std::vector<DbInputFileRecord> inputFiles;
    std::vector<DbIncludeRecord> includes;
    std::vector<DbLineRecord> lines;
    std::vector<DbTokenRecord> tokens;
    std::vector<DbNodeRecord> nodes;
    std::vector<DbSymbolRecord> symbols;
    std::vector<DbTreeRecord> treeRecords;
    std::vector<DbMarkRecord> marks;
    /// What the unit contributes to field impact; empty for units recorded without it.
    DbImpactFacts impact;
    /// The impact facts already packed (`impact.encode()`) with their program, for a writer
    /// that packs them as soon as they are made (the packed form takes a third of the
    /// memory); written instead of `impact` when not empty.
    std::string packedImpact;
    std::string packedImpactProgram;
    std::vector<DbCopybookItemRecord> copybookItems;
    DbUnitOrigin origin;

    /// Empty when every reference is in range and the unit has its root node and tree record;
    /// otherwise what is wrong, e.g. "token 12 refers to symbol 40 of 39".
    std::string validate() const;
    /// As validate(), for a unit whose lines, tokens and nodes are packed elsewhere (and checked
    /// there, see DbUnitPacker): the other records, with references up to the counts given.
    std::string validateRows(std::size_t tokenCount,
                             std::size_t lineCount,
                             std::size_t nodeCount) const;
    /// As validate(), for the marks alone, with references up to the counts given.
    std::string validateMarks(std::size_t tokenCount, std::size_t symbolCount) const;
};
