#pragma once

#include "AdtFile.h"
#include "DbUnitData.h"
#include "DbWriter.h"

#include <memory>
#include <string>

namespace cobol {
class ExpandedSource;
} // namespace cobol

namespace kelmkpu {

struct AnalysisResult;
struct ProgramModel;

/// Turns one analysed program into the records of its program unit in the analysis database:
/// the header, the input files and includes, the expanded source, the tokens (the parser's,
/// with the comments, directive lines and COPY statement words of the expanded source among
/// them), the syntax nodes, the symbols, the structure-tree records and the marks of the
/// date-field analysis.
///
/// Numbering: symbols keep the front end's item ids (symbol n is item n) and syntax nodes keep
/// the front end's numbers; tokens are renumbered 1..N in expanded-source order, so the
/// comments and COPY words between two parser tokens get the numbers between.
///
/// The expanded source lines, the tokens and the syntax nodes are packed for the database as
/// they are read from the analysis data file, one at a time (DbUnitPacker): `unit()` holds the
/// other records, `chunks()` those three.
///
/// Three steps: the constructor builds everything from the analysis data alone;
/// `placeStatements` finds where marks on the model's statements go; `addMarks` adds what the
/// analysis found.
class UnitRecordBuilder final
{
public:
    struct Header
    {
        std::string sourceFile;         ///< absolute path: the unit's identity
        std::string expandedSourceFile; ///< where the expanded source is written
    };

    /// Builds the unit's records but the marks. `file` and `expanded` must outlive the builder.
    UnitRecordBuilder(const cobol::AdtFile &file,
                      const cobol::ExpandedSource &expanded,
                      const Header &header);
    ~UnitRecordBuilder();

    /// Finds the unit token at the place of each of `model`'s statements (the first token
    /// there), where a mark on the statement goes. After it the builder no longer reads the
    /// analysis data file's tokens and syntax nodes, which may then be freed.
    void placeStatements(const ProgramModel &model);
    /// As placeStatements, from the tokens a reader of its own gives (one pass over the tokens
    /// for both): `placeToken` with each of the file's tokens in order from the first, then
    /// `finishPlacing`.
    void placeToken(const ProgramModel &model, const cobol::AdtFile::TokenView &token);
    void finishPlacing(const ProgramModel &model);

    /// Adds the marks of the analysis, and its warnings to the unit's state. `model` is the
    /// one given to `placeStatements`.
    void addMarks(const ProgramModel &model, const AnalysisResult &result);

    /// The unit token that declares each symbol (index: symbol number, 0 unused), and the one
    /// at each statement's place (index: the model's statement; filled once placed).
    std::vector<std::uint32_t> declaringTokens() const;
    const std::vector<std::uint32_t> &statementTokens() const;

    /// The unit's records but its lines, tokens and syntax nodes.
    DbUnitData &unit();
    /// The unit's lines, tokens and syntax nodes, packed.
    const DbWriter::Chunks &chunks() const;
    DbWriter::Chunks &chunks();

private:
    class Builder;
    std::unique_ptr<Builder> m_builder;
};

} // namespace kelmkpu
