#include "AnalysisPass.h"

#include "ConversionFile.h"
#include "IException.h"
#include "PathNames.h"
#include "SeedTable.h"

#include <filesystem>
#include <fstream>
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
    error.clear();
    fs::copy_file(m_seedFile, m_temporarySeedFile, fs::copy_options::overwrite_existing, error);
    if (error)
        fail(errorText);
}

std::string AnalysisPass::temporarySeedText() const
{
    std::ifstream in(m_temporarySeedFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void AnalysisPass::appendSeedEntries()
{
    copySeedFile("The temporary seed file " + m_temporarySeedFile + " cannot be copied to.");
    std::ofstream out(m_temporarySeedFile, std::ios::binary | std::ios::app);
    if (!out)
        fail("The temporary seed file " + m_temporarySeedFile + " cannot be written to .");
    m_table.writeSeedEntries(out);
    out.close();
    if (!out)
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
    const std::string adt = file.adtName();
    const std::vector<std::string> arguments
        = {adt, "/r", m_temporarySeedFile, "/m-", "/c", "/u+", "/d", m_context.outputDirectory};
    const std::string options = "/r " + m_temporarySeedFile + " /m- /c /u+ /d "
                                + m_context.outputDirectory;
    const ChildProcess::Result result = runTool("kelmkpu", arguments, {});
    printExecuted("kelmkpu " + adt + " " + options, result.returnCode);
    if (isCancelled())
        return Outcome::Stop;

    const int code = result.returnCode;
    std::error_code error;
    if (!fs::exists(file.xcaName(), error) || code > 8) {
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    }
    // A directory or other non-file under the name opens but yields nothing: as unreadable.
    std::ifstream programInfo;
    if (fs::is_regular_file(file.xrlName(), error))
        programInfo.open(file.xrlName(), std::ios::binary);
    if (!programInfo.is_open() || !programInfo) {
        setState(file, 0x48);
        countFailure();
        return Outcome::Continue;
    }
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
