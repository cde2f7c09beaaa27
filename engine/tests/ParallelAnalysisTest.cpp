// The analysis pass with several builder runs at a time gives what it gives with one: the same
// turns (the whole XCOMP trace), the same table and temporary seed file, the same result files
// and states, whatever order the runs end in. The builder is a deterministic stand-in that runs
// in the test's process, and the runner hands the runs back in an order drawn at random, so
// every case can be repeated exactly from its seed.

#include "AnalysisPass.h"
#include "ConversionControl.h"
#include "ConversionFile.h"
#include "PathNames.h"
#include "RunTestSupport.h"
#include "SeedTable.h"
#include "ToolRunner.h"
#include "XcompTrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace RunTestSupport;

/// Bytes of every field of a stand-in copybook; fields lie one after the other from byte 1.
constexpr int fieldLength = 2;
constexpr int fieldCount = 4;

enum Polarity { none = 0, year = 1, nonYear = 2 };

struct Field
{
    std::string copybook;
    int field = 0;
};

/// What the stand-in builder knows of one program: the copybooks it includes, the evidence it
/// finds on its own, the fields whose knowledge it carries into other fields (as a MOVE does),
/// and a field whose knowledge makes it fail (a builder that breaks in a later loop).
struct FakeProgram
{
    std::vector<std::string> copybooks;
    std::vector<std::pair<Field, int>> evidence;
    std::vector<std::pair<Field, Field>> flows;
    /// Writes each field as two runs of one byte, so runs of different lengths meet.
    bool splitRuns = false;
    std::optional<Field> failWhenKnown;
};

using Knowledge = std::map<std::pair<std::string, int>, int>; // (copybook, field) -> polarity

int polarityOfTag(const std::string &tag)
{
    if (tag.find("year-and-non-year") != std::string::npos
        || tag.find("conflict") != std::string::npos)
        return year | nonYear;
    if (tag.find("non-year") != std::string::npos)
        return nonYear;
    return tag.find("year") != std::string::npos ? year : none;
}

/// The seed file's knowledge of `copybooks`, and the seed lines it comes from: the builder sees
/// nothing else of the file.
Knowledge readSeeds(const std::string &seedText,
                    const std::vector<std::string> &copybooks,
                    std::string &relevantLines)
{
    Knowledge known;
    std::istringstream in(seedText);
    std::string copybook; // of the block being read, when it is one of `copybooks`
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first, second;
        words >> first;
        if (first == "<SEED>") {
            words >> second >> copybook;
            if (std::find(copybooks.begin(), copybooks.end(), copybook) == copybooks.end())
                copybook.clear();
        } else if (!copybook.empty() && first.starts_with("<") && first != "</SEED>") {
            std::string indexTag, lengthTag;
            int index = 0, length = 0;
            words >> indexTag >> index >> lengthTag >> length;
            for (int byte = index; byte < index + length; ++byte)
                known[{copybook, (byte - 1) / fieldLength}] |= polarityOfTag(first);
        }
        if (!copybook.empty())
            relevantLines += line + "\n";
        if (first == "</SEED>")
            copybook.clear();
    }
    return known;
}

const char *kindName(int polarity)
{
    switch (polarity) {
    case year:
        return "USED-AS-YEAR";
    case nonYear:
        return "USED-AS-NON-YEAR";
    default:
        return "USED-AS-YEAR-AND-NON-YEAR";
    }
}

struct BuilderOutput
{
    int returnCode = 0;
    std::string programInfo; ///< empty: none written
    std::string findings;
};

/// The stand-in builder: a function of the program and the seed blocks of its copybooks only.
BuilderOutput build(const std::string &base, const FakeProgram &program, const std::string &seed)
{
    std::string relevant;
    const Knowledge seeds = readSeeds(seed, program.copybooks, relevant);
    BuilderOutput output;
    if (program.failWhenKnown
        && seeds.count({program.failWhenKnown->copybook, program.failWhenKnown->field})) {
        output.returnCode = 12;
        return output;
    }
    Knowledge found = seeds;
    for (const auto &[field, polarity] : program.evidence)
        found[{field.copybook, field.field}] |= polarity;
    for (const auto &[from, to] : program.flows) {
        if (const auto known = seeds.find({from.copybook, from.field}); known != seeds.end())
            found[{to.copybook, to.field}] |= known->second;
    }

    std::string info = "<PROGRAM-INFO>\n<FILE> " + base + ".cbl </FILE>\n";
    for (const std::string &copybook : program.copybooks)
        info += "<FILE> " + copybook + " </FILE>\n";
    info += "</PROGRAM-INFO>\n";
    bool conflict = false;
    for (const std::string &copybook : program.copybooks) {
        std::string runs;
        for (int field = 0; field < fieldCount; ++field) {
            const auto known = found.find({copybook, field});
            if (known == found.end() || known->second == none)
                continue;
            conflict = conflict || known->second == (year | nonYear);
            const std::string kind = kindName(known->second);
            const int first = field * fieldLength + 1;
            const int pieces = program.splitRuns ? fieldLength : 1;
            for (int piece = 0; piece < pieces; ++piece) {
                runs += "<" + kind + ">\n<INDEX> " + std::to_string(first + piece) + " <LENGTH> "
                        + std::to_string(fieldLength / pieces) + "\n</" + kind + ">\n";
            }
        }
        if (!runs.empty())
            info += "<INCLUDE> " + copybook + " DEFAULT\n<RESULT>\n" + runs + "</RESULT>\n";
    }
    output.returnCode = conflict ? 4 : 0;
    output.programInfo = info;
    output.findings = "FINDINGS " + base + " seen "
                      + std::to_string(std::hash<std::string>()(relevant)) + "\n";
    return output;
}

/// Runs the stand-in builder for the pass's jobs and hands them back in an order drawn from
/// `random`. Each run reads the seed file when it starts or, as a slow tool may, when it ends.
class ScriptedRunner final : public ToolRunner
{
public:
    ScriptedRunner(std::size_t capacity,
                   const std::map<std::string, FakeProgram> &programs,
                   std::mt19937 *random)
        : m_capacity(capacity)
        , m_programs(programs)
        , m_random(random)
    {}

    std::size_t capacity() const override { return m_capacity; }
    std::size_t running() const override { return m_pending.size(); }

    void start(Job job) override
    {
        EXPECT_EQ(job.program, "kelmkpu");
        EXPECT_LT(m_pending.size(), m_capacity);
        Pending pending{std::move(job), {}, false};
        if (!m_random || (*m_random)() % 2 == 0)
            pending.seed = readFile(pending.job.arguments.at(2)), pending.seedRead = true;
        m_pending.push_back(std::move(pending));
        m_mostAtOnce = std::max(m_mostAtOnce, m_pending.size());
    }

    Completion next() override
    {
        const std::size_t chosen = m_random ? (*m_random)() % m_pending.size() : 0;
        Pending pending = std::move(m_pending[chosen]);
        m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(chosen));
        const std::vector<std::string> &arguments = pending.job.arguments;
        const std::string base = fs::path(arguments.at(0)).stem().string();
        const std::string seed = pending.seedRead ? pending.seed : readFile(arguments.at(2));
        const BuilderOutput output = build(base, m_programs.at(base), seed);
        const fs::path out = arguments.at(7);
        if (!output.programInfo.empty()) {
            writeFile(out / (base + ".xrl"), output.programInfo);
            writeFile(out / (base + ".xca"), output.findings);
        }
        Completion completion;
        completion.tag = pending.job.tag;
        completion.result.returnCode = output.returnCode;
        return completion;
    }

    std::size_t mostAtOnce() const { return m_mostAtOnce; }

private:
    struct Pending
    {
        Job job;
        std::string seed;
        bool seedRead = false;
    };

    std::size_t m_capacity;
    const std::map<std::string, FakeProgram> &m_programs;
    std::mt19937 *m_random;
    std::vector<Pending> m_pending;
    std::size_t m_mostAtOnce = 0;
};

/// Everything a run of the pass leaves that must not depend on how many builders ran at once.
struct Outcome
{
    std::string trace;
    std::map<std::string, std::string> files; ///< output file name -> content
    std::vector<std::uint8_t> states;
    std::string counters;
    std::size_t repeatedRuns = 0;
    std::size_t mostAtOnce = 0;

    bool operator==(const Outcome &other) const
    {
        return trace == other.trace && files == other.files && states == other.states
               && counters == other.counters;
    }
};

/// Where `b` first differs from `a`, for the failure message.
std::string difference(const Outcome &a, const Outcome &b)
{
    if (a.states != b.states)
        return "the file states differ";
    if (a.counters != b.counters)
        return "the counters differ: " + a.counters + " and " + b.counters;
    for (const auto &[name, text] : a.files) {
        const auto other = b.files.find(name);
        if (other == b.files.end())
            return name + " is missing";
        if (other->second != text)
            return name + " differs:\n" + text + "\n--- against\n" + other->second;
    }
    for (const auto &[name, text] : b.files) {
        if (!a.files.count(name))
            return name + " is extra";
    }
    const auto mismatch = std::mismatch(a.trace.begin(),
                                        a.trace.end(),
                                        b.trace.begin(),
                                        b.trace.end());
    const std::size_t at = static_cast<std::size_t>(mismatch.first - a.trace.begin());
    const std::size_t from = a.trace.rfind("XCOMP:Loop", at);
    return "the trace differs from offset " + std::to_string(at) + ":\n"
           + a.trace.substr(from == std::string::npos ? 0 : from, at + 400 - std::min(at, from))
           + "\n--- against\n"
           + b.trace.substr(from == std::string::npos ? 0 : from, at + 400 - std::min(at, from));
}

/// A portfolio drawn from `seed`: programs in list order, some of them failed in the compile
/// pass already.
struct Portfolio
{
    std::vector<std::string> bases;
    std::map<std::string, FakeProgram> programs;
    std::vector<std::uint8_t> compiled;
};

Portfolio drawPortfolio(unsigned seed)
{
    std::mt19937 random(seed);
    const auto draw = [&](int below) { return static_cast<int>(random() % below); };
    Portfolio portfolio;
    const int copybooks = 2 + draw(4);
    const int programs = 4 + draw(10);
    const auto field = [&](const std::vector<std::string> &includes) {
        return Field{includes[draw(static_cast<int>(includes.size()))], draw(fieldCount)};
    };
    for (int p = 0; p < programs; ++p) {
        const std::string base = std::string("P").append(std::to_string(10 + p));
        FakeProgram program;
        for (int c = 0, count = draw(4); c < count; ++c) {
            const std::string name = "CB" + std::to_string(draw(copybooks));
            if (std::find(program.copybooks.begin(), program.copybooks.end(), name)
                == program.copybooks.end())
                program.copybooks.push_back(name);
        }
        if (!program.copybooks.empty()) {
            for (int e = 0, count = draw(3); e < count; ++e)
                program.evidence.push_back({field(program.copybooks), 1 + draw(2)});
            for (int f = 0, count = draw(4); f < count; ++f)
                program.flows.push_back({field(program.copybooks), field(program.copybooks)});
            if (draw(8) == 0)
                program.failWhenKnown = field(program.copybooks);
        }
        program.splitRuns = draw(3) == 0;
        portfolio.bases.push_back(base);
        portfolio.programs[base] = program;
        portfolio.compiled.push_back(draw(10) == 0 ? 0x14 : 0x11);
    }
    return portfolio;
}

/// Runs the analysis pass over `portfolio` with `capacity` builders at a time, the runs ending
/// in the order `random` draws (none: in the order they started).
Outcome analyse(const Portfolio &portfolio, std::size_t capacity, std::mt19937 *random)
{
    TemporaryDirectory temporary;
    const fs::path out = temporary.path() / "out";
    fs::create_directories(out);
    const fs::path seedFile = temporary.path() / "user.xsd";
    writeFile(seedFile, "* the user's seeds\n");

    ConversionFile::setOutputDirectory(out.string());
    std::vector<std::unique_ptr<ConversionFile>> owned;
    std::vector<ConversionFile *> files;
    for (std::size_t i = 0; i < portfolio.bases.size(); ++i) {
        const std::string base = portfolio.bases[i];
        owned.push_back(
            std::make_unique<ConversionFile>((temporary.path() / (base + ".cbl")).string()));
        owned.back()->setState(portfolio.compiled[i]);
        files.push_back(owned.back().get());
        writeFile(out / (base + ".adt"), "analysis data of " + base + "\n");
    }

    std::ostringstream trace;
    std::ostringstream console;
    const XcompTrace xcomp(XcompTrace::Switch::On, trace);
    SeedTable table(xcomp);
    ConversionControl control;
    RecordingObserver observer;
    ScriptedRunner runner(capacity, portfolio.programs, random);
    PassContext context{files, control, observer, console, out.string(), "title", runner};
    AnalysisPass pass(context, table, seedFile.string(), xcomp);
    pass.run();

    // Each run has a directory of its own: its name is taken out of what is compared.
    const auto withoutRoot = [root = temporary.path().string()](std::string text) {
        for (std::size_t at = text.find(root); at != std::string::npos; at = text.find(root, at))
            text.replace(at, root.size(), "<root>");
        return text;
    };
    Outcome outcome;
    outcome.trace = withoutRoot(trace.str());
    for (const fs::directory_entry &entry : fs::directory_iterator(out))
        outcome.files[entry.path().filename().string()] = withoutRoot(readFile(entry.path()));
    for (const ConversionFile *file : files)
        outcome.states.push_back(file->state());
    const auto &counters = control.counters(ConversionObserver::Pass::Analysis);
    outcome.counters = std::to_string(counters.success.load()) + "/"
                       + std::to_string(counters.failure.load());
    outcome.repeatedRuns = pass.repeatedRuns();
    outcome.mostAtOnce = runner.mostAtOnce();
    return outcome;
}

TEST(ParallelAnalysis, anyOrderOfEndingRunsGivesTheTurnsTablesAndFilesOfOneBuilderAtATime)
{
    std::size_t repeated = 0;
    std::size_t fullyUsed = 0;
    std::size_t cases = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        const Portfolio portfolio = drawPortfolio(seed);
        const Outcome oneAtATime = analyse(portfolio, 1, nullptr);
        ASSERT_EQ(oneAtATime.mostAtOnce, 1u);
        ASSERT_EQ(oneAtATime.repeatedRuns, 0u);
        for (const std::size_t capacity : {2u, 3u, 6u}) {
            std::mt19937 order(seed * 31 + static_cast<unsigned>(capacity));
            const Outcome parallel = analyse(portfolio, capacity, &order);
            ASSERT_TRUE(parallel == oneAtATime)
                << "portfolio " << seed << ", " << capacity
                << " at a time: " << difference(oneAtATime, parallel);
            repeated += parallel.repeatedRuns;
            fullyUsed += parallel.mostAtOnce == capacity ? 1 : 0;
            ++cases;
        }
    }
    // The cases did what they are for: runs overlapped, and results made ahead were found
    // outdated and made again.
    EXPECT_GT(fullyUsed, cases / 2);
    EXPECT_GT(repeated, 0u);
}

} // namespace
