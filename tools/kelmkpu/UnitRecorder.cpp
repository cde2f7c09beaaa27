#include "UnitRecorder.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisResult.h"
#include "ChunkSpill.h"
#include "CopybookLayoutRecorder.h"
#include "DbEu.h"
#include "DbWriter.h"
#include "ExpandedSource.h"
#include "IException.h"
#include "ImpactRecorder.h"
#include "KelMsgException.h"
#include "PathNames.h"
#include "ResultFile.h"
#include "UnitMarks.h"
#include "UnitOrigin.h"
#include "UnitRecordBuilder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <ostream>
#include <vector>

namespace kelmkpu {

class UnitRecorder::Preparation
{
public:
    std::string outputDirectory;
    std::string originKey; ///< of the records being made (UnitOrigin); empty: none
    const cobol::AdtFile *file = nullptr;
    std::unique_ptr<cobol::ExpandedSource> expanded;
    std::unique_ptr<ResultFile> expandedSource; ///< written, put in place by `finish`
    std::unique_ptr<UnitRecordBuilder> builder;
    std::vector<std::string> warnings;
    std::string error;          ///< set when the preparation failed
    bool impactSet = false;     ///< the unit holds its packed impact facts
    bool placingFailed = false; ///< statementPlacer's reader ran out of memory
    ChunkSpill spill;           ///< the builder's chunks while the analysis runs
};

namespace {

/// Where the unit of `data` is recorded: the source file's absolute path is its identity.
UnitRecordBuilder::Header unitHeader(const std::string &outputDirectory,
                                     const std::string &base,
                                     const cobol::AnalysisData &data)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(data.sourcePath, error);
    UnitRecordBuilder::Header header;
    header.sourceFile = error ? data.sourcePath : absolute.lexically_normal().string();
    header.expandedSourceFile = PathNames::join(outputDirectory, base + ".xpd");
    return header;
}

std::int64_t secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

void UnitRecorder::PreparationDeleter::operator()(Preparation *preparation) const noexcept
{
    delete preparation;
}

std::string UnitRecorder::executionUnitName(const std::string &outputDirectory)
{
    if (const char *title = std::getenv("CHRONEX_TITLE"); title && *title)
        return title;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(outputDirectory, error);
    const std::string name = PathNames::fileName(
        PathNames::withoutTrailingSeparators(error ? outputDirectory : absolute.string()));
    return name.empty() ? std::string("Execution unit") : name;
}

std::int64_t UnitRecorder::unitNumber()
{
    const char *text = std::getenv("CHRONEX_UNIT_NUMBER");
    if (!text || !*text)
        return 0;
    std::int64_t number = 0;
    for (const char *c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || number > 1000000000)
            return 0;
        number = number * 10 + (*c - '0');
    }
    return number;
}

UnitRecorder::PreparationPointer UnitRecorder::prepare(const std::string &outputDirectory,
                                                       const std::string &base,
                                                       const cobol::AdtFile &file) noexcept
{
    const cobol::AnalysisData &data = file.data();
    PreparationPointer p;
    try {
        p.reset(new Preparation());
        p->outputDirectory = outputDirectory;
        p->file = &file;
        const UnitRecordBuilder::Header header = unitHeader(outputDirectory, base, data);
        p->originKey = UnitOrigin::key(file, header.sourceFile, header.expandedSourceFile);

        p->expanded = std::make_unique<cobol::ExpandedSource>(data);
        for (const std::string &file : p->expanded->unreadableFiles())
            p->warnings.push_back("the expanded source leaves out " + file
                                  + ": the file cannot be read");
        p->expandedSource = std::make_unique<ResultFile>(header.expandedSourceFile);
        if (!p->expandedSource->open(p->error))
            return p;
        p->expanded->write(p->expandedSource->stream());
        p->builder = std::make_unique<UnitRecordBuilder>(file, *p->expanded, header);
        // The records hold what they need of the expanded source: its texts go before the
        // analysis needs its memory, and so do the packed records (to a temporary file).
        p->expanded.reset();
        p->spill.spill(p->builder->chunks());
    } catch (const std::bad_alloc &) {
        if (p)
            p->error = "there is not enough memory to record the program unit";
    } catch (const std::exception &e) {
        if (p)
            p->error = std::string("the program unit cannot be recorded: ") + e.what();
    }
    return p;
}

bool UnitRecorder::placeStatements(Preparation &p, const ProgramModel &model) noexcept
{
    if (!p.builder)
        return true;
    try {
        p.builder->placeStatements(model);
    } catch (const std::bad_alloc &) {
        p.builder.reset();
        p.error = "there is not enough memory to record the program unit";
    }
    return true;
}

ImpactRecorder::TokenReader UnitRecorder::statementPlacer(Preparation &p,
                                                          const ProgramModel &model) noexcept
{
    if (!p.builder)
        return {};
    return [&p, &model](const cobol::AdtFile::TokenView &token) {
        if (!p.builder || p.placingFailed)
            return;
        try {
            p.builder->placeToken(model, token);
        } catch (const std::bad_alloc &) {
            p.placingFailed = true; // the builder goes once the tokens are read
        }
    };
}

void UnitRecorder::finishPlacing(Preparation &p, const ProgramModel &model) noexcept
{
    if (!p.builder)
        return;
    try {
        if (!p.placingFailed) {
            p.builder->finishPlacing(model);
            return;
        }
    } catch (const std::bad_alloc &) {
    }
    p.builder.reset();
    p.error = "there is not enough memory to record the program unit";
}

void UnitRecorder::setImpact(Preparation &p, ImpactRecorder::PackedFacts &&impact) noexcept
{
    if (!p.builder)
        return;
    try {
        DbUnitData &unit = p.builder->unit();
        // Facts of nothing are not recorded, as DbWriter leaves out empty facts.
        if (!impact.facts.empty()
            && !p.spill.spill(impact.facts, unit.packedImpact, &impact.accesses, &impact.flows))
            unit.packedImpact = impact.encode();
        unit.packedImpactProgram = impact.facts.program;
        p.impactSet = true;
    } catch (const std::bad_alloc &) {
        p.builder.reset();
        p.error = "there is not enough memory to record the program unit";
    }
    impact = ImpactRecorder::PackedFacts();
}

bool UnitRecorder::finish(Preparation &p,
                          const ProgramModel &model,
                          const AnalysisResult &result,
                          std::ostream &err,
                          DbImpactFacts *impact)
{
    for (const std::string &warning : p.warnings)
        err << "kelmkpu: warning: " << warning << "\n";
    if (!p.error.empty() || !p.builder) {
        err << "kelmkpu: error: "
            << (p.error.empty() ? std::string("the program unit cannot be recorded") : p.error)
            << "\n";
        return false;
    }
    if (std::string error; !p.expandedSource->commit(error)) {
        err << "kelmkpu: error: " << error << "\n";
        return false;
    }
    p.builder->addMarks(model, result);
    // A later run on the same input keeps the records and writes only what its analysis finds,
    // unless the expanded source left files out (their warnings then come again) or is gone.
    const DbUnitHeader &header = p.builder->unit().header;
    if (const std::optional<UnitOrigin::FileStamp> expanded = UnitOrigin::stamp(
            header.expandedSourceFile);
        expanded && !p.originKey.empty() && p.warnings.empty()) {
        p.builder->unit().origin.key = p.originKey;
        p.builder->unit().origin.builderData = UnitOrigin::pack(
            {*expanded, p.builder->declaringTokens(), p.builder->statementTokens()});
    }
    if (std::string error; !p.spill.restoreFactsOnly(p.builder->chunks(), error)) {
        err << "kelmkpu: error: the program unit cannot be recorded: " << error << "\n";
        return false;
    }
    try {
        if (impact)
            p.builder->unit().impact = std::move(*impact);
        else if (!p.impactSet)
            p.builder->unit().impact = ImpactRecorder::build(*p.file, model);
        p.builder->unit().copybookItems = CopybookLayoutRecorder::build(p.file->data(), result);
        if (!p.builder->unit().origin.key.empty())
            p.builder->unit().origin.findingsKey
                = UnitOrigin::findingsKey(p.builder->unit().marks, p.builder->unit().copybookItems);
        DbWriter::record(DbEu::databasePathIn(p.outputDirectory),
                         executionUnitName(p.outputDirectory),
                         p.builder->unit(),
                         DbWriter::busyTimeoutMs,
                         &p.builder->chunks(),
                         unitNumber());
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported here, on standard error
        err << "kelmkpu: error: " << e.text() << "\n";
        return false;
    } catch (const IException &e) { // a malformed statement met by the impact facts
        err << "kelmkpu: error: the program unit cannot be recorded: " << e.text() << "\n";
        return false;
    }
    return true;
}

std::optional<UnitRecorder::Refreshing> UnitRecorder::refreshable(
    const std::string &outputDirectory,
    const std::string &base,
    const cobol::AdtFile &file) noexcept
{
    try {
        const UnitRecordBuilder::Header header = unitHeader(outputDirectory, base, file.data());
        // Without its expanded source (a unit new to the database has none yet) no unit can keep
        // its records: the database is not even opened.
        const std::optional<UnitOrigin::FileStamp> expanded = UnitOrigin::stamp(
            header.expandedSourceFile);
        if (!expanded)
            return std::nullopt;
        std::unique_ptr<DbWriter::RecordedUnit> recorded
            = DbWriter::recordedUnit(DbEu::databasePathIn(outputDirectory), header.sourceFile);
        if (!recorded)
            return std::nullopt;
        const std::string key = UnitOrigin::key(file, header.sourceFile, header.expandedSourceFile);
        if (key.empty() || key != recorded->origin().key)
            return std::nullopt;
        std::optional<UnitOrigin::BuilderData> data = UnitOrigin::unpack(
            recorded->origin().builderData);
        if (!data || *expanded != data->expandedSource
            || data->declaringTokens.size() != file.data().items.size() + 1)
            return std::nullopt;
        return Refreshing{std::move(recorded),
                          outputDirectory,
                          header.sourceFile,
                          key,
                          std::move(data->declaringTokens),
                          std::move(data->statementTokens)};
    } catch (const std::exception &) { // out of memory: the unit is recorded whole, or fails so
        return std::nullopt;
    }
}

UnitRecorder::Refreshed UnitRecorder::refresh(const Refreshing &refreshing,
                                              const cobol::AdtFile &file,
                                              const ProgramModel &model,
                                              const AnalysisResult &result,
                                              std::ostream &err)
{
    if (model.statements.size() != refreshing.statementTokens.size())
        return Refreshed::recordWhole;
    try {
        DbWriter::Refresh refresh;
        refresh.sourceFile = refreshing.sourceFile;
        refresh.originKey = refreshing.originKey;
        refresh.state = UnitMarks::state(file.data(), result);
        refresh.timeStamp = secondsNow();
        refresh.marks = UnitMarks::build(result,
                                         refreshing.declaringTokens,
                                         refreshing.statementTokens);
        refresh.copybookItems = CopybookLayoutRecorder::build(file.data(), result);
        refresh.findingsKey = UnitOrigin::findingsKey(refresh.marks, refresh.copybookItems);
        return refreshing.unit->refresh(executionUnitName(refreshing.outputDirectory), refresh)
                   ? Refreshed::done
                   : Refreshed::recordWhole;
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported here, on standard error
        err << "kelmkpu: error: " << e.text() << "\n";
    } catch (const std::bad_alloc &) {
        err << "kelmkpu: error: there is not enough memory to record the program unit\n";
    }
    return Refreshed::failed;
}

bool UnitRecorder::record(const std::string &outputDirectory,
                          const std::string &base,
                          const cobol::AdtFile &file,
                          const ProgramModel &model,
                          const AnalysisResult &result,
                          std::ostream &err,
                          DbImpactFacts *impact)
{
    const PreparationPointer preparation = prepare(outputDirectory, base, file);
    if (!preparation) {
        err << "kelmkpu: error: there is not enough memory to record the program unit\n";
        return false;
    }
    return finish(*preparation, model, result, err, impact);
}

} // namespace kelmkpu
