#include "AnalysisPass.h"

#include "ConversionFile.h"
#include "IException.h"
#include "OutputFile.h"
#include "PathNames.h"
#include "RegularFile.h"
#include "SeedTable.h"

#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

AnalysisPass::AnalysisPass(PassContext &context,
                           SeedTable &table,
                           std::string seedFile,
                           XcompTrace trace)
    : EnginePass(context, ConversionObserver::Pass::Analysis)
    , m_table(table)
    , m_seedFile(std::move(seedFile))
    , m_temporarySeedFile(temporarySeedFile(m_seedFile, context.outputDirectory))
    , m_trace(trace)
{}

std::string AnalysisPass::temporarySeedFile(const std::string &seedFile,
                                            const std::string &outputDirectory)
{
    return PathNames::join(outputDirectory, PathNames::baseName(seedFile) + ".asd");
}

void AnalysisPass::fail(const std::string &text)
{
    m_context.console << "Error: " << text << std::endl;
    throw IAccessError(text);
}

void AnalysisPass::copySeedFile(const std::string &errorText)
{
    std::error_code error;
    // A seed file that already is the temporary one would be truncated by the copy: the user's
    // seed file is never written to.
    if (fs::equivalent(m_seedFile, m_temporarySeedFile, error))
        fail(errorText);
    // Read without blocking (a FIFO is refused) and written as a new file beside the old one,
    // which takes its name only when every byte is there.
    std::string problem;
    if (!OutputFile::copy(m_seedFile, m_temporarySeedFile, problem))
        fail(errorText);
}

std::string AnalysisPass::temporarySeedText() const
{
    return RegularFile::read(m_temporarySeedFile).text;
}

void AnalysisPass::appendSeedEntries()
{
    copySeedFile("The temporary seed file " + m_temporarySeedFile + " cannot be copied to.");
    std::ostringstream entries;
    m_table.writeSeedEntries(entries);
    OutputFile out;
    if (!out.append(m_temporarySeedFile))
        fail("The temporary seed file " + m_temporarySeedFile + " cannot be written to .");
    if (!out.write(entries.str()) || !out.close())
        fail("The temporary seed file " + m_temporarySeedFile + " failed to finish.");
}

AnalysisPass::Outcome AnalysisPass::analyse(ConversionFile &file, int loop, bool &tableChanged)
{
    const std::string name = PathNames::fileName(file.fullPath());
    const std::uint8_t state = file.state();
    if (hasSevereError(state)) {
        m_trace.line("XCOMP:   Skipped since " + name + " has a severe error earlier.");
        m_trace.line("XCOMP:   " + std::to_string(loop));
        return Outcome::Continue;
    }
    if (state & 0x40) {
        m_trace.line("XCOMP:   Skipped since " + name + " is marked completed.");
        return Outcome::Continue;
    }
    if ((state & 0x20) && !m_table.hasNewCopybookData(file.programInfo())) {
        m_trace.line("XCOMP:   Skipped since " + name
                     + " nothing new to reanalyze.  May try again next pass.");
        return Outcome::Continue;
    }

    m_trace.line("XCOMP:   Analyzing " + name);
    setState(file, 0x92);
    // Only findings and program info written by this analysis count.
    if (!removeEarlierResults(file, {file.xcaName(), file.xrlName(), file.xpdName()})) {
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    }
    const std::string adt = file.adtName();
    const std::vector<std::string> arguments
        = {adt, "/r", m_temporarySeedFile, "/m-", "/c", "/u+", "/d", m_context.outputDirectory};
    const std::string options = "/r " + m_temporarySeedFile + " /m- /c /u+ /d "
                                + m_context.outputDirectory;
    const ChildProcess::Result result = runTool("kelmkpu", arguments, {});
    const bool kept = reportTool(file, "kelmkpu " + adt + " " + options, result);
    if (isCancelled())
        return Outcome::Stop;

    const int code = result.returnCode;
    if (!kept || code > 8
        || !expectResult(file, "The program-unit builder", "findings", file.xcaName())) {
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    }
    // Read without blocking: a directory or FIFO under the name is as unreadable as a missing file.
    const RegularFile::Result info = RegularFile::read(file.xrlName());
    if (!info) {
        reportFileError(file, "The program-info file " + file.xrlName() + " " + info.problem + ".");
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    }
    std::istringstream programInfo(info.text);
    if (m_table.readProgramInfo(file.programInfo(), programInfo)) {
        tableChanged = true;
        appendSeedEntries();
    }

    const bool hasCopybooks = m_table.copybookCount(file.programInfo()) > 0;
    if (code == 0 || code == 4) {
        if (hasCopybooks) {
            setState(file, code == 0 ? 0x21 : 0x22);
        } else {
            setState(file, code == 0 ? 0x41 : 0x42);
            countSuccess();
        }
    } else {
        setState(file, code == 8 ? 0x44 : 0x48);
        countFailure();
    }
    return Outcome::Continue;
}

void AnalysisPass::run()
{
    copySeedFile("Cannot copy seed file " + m_seedFile + " to " + m_temporarySeedFile);

    const std::size_t count = m_context.files.size();
    bool tableChanged = false;
    int loop = 1;
    // The seed entries each changing pass left behind. Kinds do not only grow (an always-year
    // report turns a stored always-non-year into a conflict, and an always-non-year report turns
    // the conflict back), so two programs can undo each other's change for ever. The tools see
    // nothing but the seed entries, so entries repeating those of an earlier pass mean the passes
    // have started to go round in a circle: the loop stops there instead of never ending.
    std::set<std::string> earlierEntries;
    do {
        m_trace.line("XCOMP:Loop " + std::to_string(loop));
        tableChanged = false;
        for (std::size_t index = 0; index < count; ++index) {
            if (isCancelled())
                return;
            m_context.observer.fileStarted(m_pass, index, count);
            if (analyse(*m_context.files[index], loop, tableChanged) == Outcome::Stop)
                return;
        }
        if (tableChanged && !earlierEntries.insert(temporarySeedText()).second) {
            m_context.console << "Error:  The analysis passes do not settle: pass " << loop
                              << " left the same seed entries as an earlier pass.\n"
                              << "        The analysis stops here; the conflicting kinds stay in "
                              << m_temporarySeedFile << "." << std::endl;
            break;
        }
        ++loop;
    } while (tableChanged);

    for (ConversionFile *file : m_context.files) {
        if (file->state() == 0x21) {
            setState(*file, 0x41);
            countSuccess();
        } else if (file->state() == 0x22) {
            setState(*file, 0x42);
            countSuccess();
        }
    }
}
