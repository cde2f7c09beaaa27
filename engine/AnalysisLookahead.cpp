#include "AnalysisLookahead.h"

#include "ConversionFile.h"
#include "CopybookEntry.h"
#include "IException.h"
#include "ProgramInfo.h"
#include "SeedTable.h"
#include "XcompTrace.h"

#include <sstream>

namespace {

bool changedSince(const SeedTable &table, const std::string &copybook, std::uint64_t stamp)
{
    return table.lastChange(copybook) > stamp;
}

/// True when a test of a file from `head` up to (not including) `index` would clear `entry`'s
/// mark: the mark is that file's own.
bool clearableBefore(const IncludeEntry &entry,
                     const std::vector<ConversionFile *> &files,
                     std::size_t head,
                     std::size_t index)
{
    for (std::size_t f = head; f < index; ++f) {
        if (files[f]->hasProgramInfo() && entry.isChangedBy(files[f]->programInfo()))
            return true;
    }
    return false;
}

} // namespace

bool AnalysisLookahead::isCurrent(const Run &run,
                                  const SeedTable &table,
                                  const ProgramInfo *program)
{
    if (!run.copybooks)
        return table.changeCount() == run.stamp;
    for (const std::string &copybook : *run.copybooks) {
        if (changedSince(table, copybook, run.stamp))
            return false;
    }
    if (program) {
        for (const auto &[copybook, entry] : program->copybooks()) {
            if (changedSince(table, copybook, run.stamp))
                return false;
        }
    }
    return true;
}

bool AnalysisLookahead::isCertainlyAnalysed(const std::vector<ConversionFile *> &files,
                                            std::size_t head,
                                            std::size_t index)
{
    ConversionFile &file = *files[index];
    const std::uint8_t state = file.state();
    if ((state & 0x0C) != 0 || (state & 0x40) != 0)
        return false;
    if ((state & 0x20) == 0)
        return true;
    if (!file.hasProgramInfo())
        return false;
    // Its test in its turn finds news when any of its entries still carries another program's
    // mark then. Marks made from now on are made by merges after their files' tests, so they
    // stay until the turn; only the marks of the files still to be tested before it may go.
    const ProgramInfo &program = file.programInfo();
    for (const auto &[name, copybook] : program.copybooks()) {
        for (const auto &[qualifier, entry] : copybook->includeEntries()) {
            if (entry.hasChangeMark() && !entry.isChangedBy(program)
                && !clearableBefore(entry, files, head, index))
                return true;
        }
    }
    return false;
}

std::optional<std::set<std::string>> AnalysisLookahead::copybooksOf(
    const std::string &programInfoText)
{
    // Read by the table's own reader into a table of its own, so the names are exactly those
    // that the merge in the file's turn will see.
    std::ostringstream silent;
    SeedTable scratch(XcompTrace(XcompTrace::Switch::Off, silent));
    ProgramInfo program("lookahead");
    std::istringstream in(programInfoText);
    try {
        scratch.readProgramInfo(program, in);
    } catch (const IException &) {
        return std::nullopt;
    }
    std::set<std::string> names;
    for (const auto &[name, copybook] : program.copybooks())
        names.insert(name);
    return names;
}
