#pragma once

#include "DbWriter.h"
#include "ImpactRecorder.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cobol {
class AdtFile;
}

namespace kelmkpu {

struct AnalysisResult;
struct ProgramModel;

/// Records an analysed program in the execution unit's analysis database: writes the expanded
/// source `<outdir>/<base>.xpd` and records the program unit in `<outdir>/chxanalysis.db`, in
/// one transaction that replaces an older version of the same unit (same source file).
///
/// The execution unit takes its name from the environment variable CHRONEX_TITLE (the engine
/// sets it to the conversion's title); without it, from the output directory's name. A unit
/// new to the database takes the number in CHRONEX_UNIT_NUMBER when no unit has it (the engine
/// numbers its sources in list order, whatever order their runs end in), else the next one.
///
/// Two steps, so that the first runs before the date-field analysis needs its memory, and the
/// expanded source's texts are gone by then: `prepare` needs only the analysis data (expanded
/// source written to a temporary file; tokens, syntax nodes, symbols, tree, packed for
/// writing); `finish` puts the expanded source in place, adds the analysis's marks and writes
/// the unit. A preparation dropped without `finish` leaves nothing behind.
class UnitRecorder final
{
public:
    /// What `prepare` made; only `finish` looks inside.
    class Preparation;
    struct PreparationDeleter
    {
        void operator()(Preparation *preparation) const noexcept;
    };
    using PreparationPointer = std::unique_ptr<Preparation, PreparationDeleter>;

    /// The execution unit's name for a run writing into `outputDirectory`.
    static std::string executionUnitName(const std::string &outputDirectory);

    /// The unit number asked for by CHRONEX_UNIT_NUMBER; 0 (none) when it is unset or not a
    /// plain number.
    static std::int64_t unitNumber();

    /// The first step. `file` must outlive the preparation. Never throws: any failure is kept
    /// and reported by `finish`.
    static PreparationPointer prepare(const std::string &outputDirectory,
                                      const std::string &base,
                                      const cobol::AdtFile &file) noexcept;

    /// Between the steps, once the model is made: finds where marks on its statements go (see
    /// UnitRecordBuilder::placeStatements). True when the preparation no longer reads the
    /// analysis data file's tokens and syntax nodes. Never throws.
    static bool placeStatements(Preparation &preparation, const ProgramModel &model) noexcept;
    /// As placeStatements, from the tokens the impact facts read: give the reader returned to
    /// ImpactRecorder::buildReleasingInput, then call `finishPlacing` (a failure is kept and
    /// reported by `finish`). `preparation` and `model` must outlive the reader. Never throws.
    static ImpactRecorder::TokenReader statementPlacer(Preparation &preparation,
                                                       const ProgramModel &model) noexcept;
    static void finishPlacing(Preparation &preparation, const ProgramModel &model) noexcept;

    /// Between the steps: the unit's impact facts (ImpactRecorder, made while the file still
    /// had its statements and tokens), packed at once into the temporary file that holds the
    /// packed records (in memory when there is none) and freed. Never throws: a failure is
    /// kept and reported by `finish`.
    static void setImpact(Preparation &preparation, ImpactRecorder::PackedFacts &&impact) noexcept;

    /// The second step. False with the reason on `err` ("kelmkpu: error: ...") when the
    /// expanded source or the unit could not be written; an older version of the unit then
    /// stays as it was. Files the expanded source cannot show are warnings on `err`.
    /// `impact`: the unit's impact facts (ImpactRecorder), which must be given (here or by
    /// `setImpact`) once the file's tokens or statements have been released; they are moved
    /// into the unit. Null and none set: made here from the file.
    static bool finish(Preparation &preparation,
                       const ProgramModel &model,
                       const AnalysisResult &result,
                       std::ostream &err,
                       DbImpactFacts *impact = nullptr);

    /// A unit recorded before from the same input (UnitOrigin), with its expanded source as it
    /// was written then: its records stand, and only what the analysis finds changes.
    struct Refreshing
    {
        std::unique_ptr<DbWriter::RecordedUnit> unit; ///< as found in the database
        std::string outputDirectory;
        std::string sourceFile;
        std::string originKey;
        std::vector<std::uint32_t> declaringTokens; ///< index: symbol number
        std::vector<std::uint32_t> statementTokens; ///< index: the model's statement
    };
    /// What `refresh` needs, when the unit that `file` gives in `outputDirectory`'s database
    /// was recorded from the same input; none otherwise (the unit is then recorded whole, in
    /// steps). Call it before the file's statements, tokens or syntax nodes are released.
    /// Never throws; reads the database without changing what it holds.
    static std::optional<Refreshing> refreshable(const std::string &outputDirectory,
                                                 const std::string &base,
                                                 const cobol::AdtFile &file) noexcept;

    enum class Refreshed {
        done,        ///< the unit holds what the analysis found
        recordWhole, ///< the unit was recorded since from other input: nothing written
        failed       ///< the unit cannot be written (reported on `err`); it stays as it was
    };
    /// Writes what the analysis found (state, marks, the copybooks' date fields) into the unit
    /// `refreshing` stands for, in one transaction, the rest of it kept as it is. `model` is the
    /// one the analysis ran on.
    static Refreshed refresh(const Refreshing &refreshing,
                             const cobol::AdtFile &file,
                             const ProgramModel &model,
                             const AnalysisResult &result,
                             std::ostream &err);

    /// Both steps, one after the other.
    static bool record(const std::string &outputDirectory,
                       const std::string &base,
                       const cobol::AdtFile &file,
                       const ProgramModel &model,
                       const AnalysisResult &result,
                       std::ostream &err,
                       DbImpactFacts *impact = nullptr);
};

} // namespace kelmkpu
