// The seed table's hot paths: merging run lists (must stay linear in stored plus incoming runs)
// and reading program-info files (a 10 MB file must read and merge well under a second).
//
// Buffers the timed code allocates would otherwise come fresh from the kernel at every iteration
// once they pass malloc's mmap threshold (128 KiB: about 10^4 runs), and their page faults would
// be timed with the merge, a tenfold jump in the cost per run between 10^3 and 10^4 runs. So the
// heap keeps what is freed (mallopt below) and each iteration's untimed set-up touches as much
// memory as the timed part will take, which the timed part then reuses.
//
// After the usual table the program prints the cost per run at each size and its verdicts; its
// exit status is 1 when a target is missed.
#include "CopybookEntry.h"
#include "KindIntervalList.h"
#include "ProgramInfo.h"
#include "SeedTable.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::ostringstream &silentStream()
{
    static std::ostringstream stream;
    return stream;
}

XcompTrace traceOff()
{
    return XcompTrace(XcompTrace::Switch::Off, silentStream());
}

/// Allocates, touches and frees `bytes` bytes, so that the heap holds that much memory with its
/// pages present for the next allocations (see the file comment).
void prefault(std::size_t bytes)
{
    std::vector<char> buffer(bytes, 1);
    benchmark::DoNotOptimize(buffer.data());
}

// Runs of two bytes every `stride` bytes starting at `first`, kinds cycling through all six.
std::vector<KindInterval> runs(std::size_t count, std::uint32_t first, std::uint32_t stride)
{
    std::vector<KindInterval> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        list.push_back(
            {DateFieldKind(i % kindCount), static_cast<std::uint32_t>(first + i * stride), 2});
    return list;
}

// Stored and incoming lists of N runs each that overlap by one byte at every run, so every
// step of the merge is exercised: splits, combinations and new bytes in front.
void mergeIntervals(benchmark::State &state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<KindInterval> stored = runs(count, 1, 4);
    const std::vector<KindInterval> incoming = runs(count, 2, 4);
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<SeedTable>(traceOff());
        ProgramInfo program("BENCH");
        table->addCopybook(program, "C");
        table->mergeInclude(program, "C", "Q", stored);
        IncludeEntry &entry = *program.copybooks().at("C")->includeEntry("Q");
        std::vector<KindInterval> copy = incoming;
        // The merge's result takes at most the stored and the incoming runs.
        prefault(2 * (stored.size() + incoming.size()) * sizeof(KindInterval));
        state.ResumeTiming();

        table->mergeIntervals(entry, std::move(copy));
        benchmark::DoNotOptimize(entry.intervals().data());

        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    const double perIteration = double(2 * count);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * perIteration));
    state.counters["time_per_run"]
        = benchmark::Counter(perIteration,
                             benchmark::Counter::kIsIterationInvariantRate
                                 | benchmark::Counter::kInvert);
}
BENCHMARK(mergeIntervals)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// An incoming list that no analyser writes: long runs, each overlapping the next thousand, in
// reverse order. Normalising it must stay O(n log n).
void normaliseOverlapping(benchmark::State &state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<KindInterval> overlapping;
    for (std::size_t i = count; i > 0; --i)
        overlapping.push_back({DateFieldKind(i % kindCount), static_cast<std::uint32_t>(i), 1000});
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<KindInterval> copy = overlapping;
        prefault(2 * overlapping.size() * sizeof(KindInterval));
        state.ResumeTiming();
        KindIntervalList::normalise(copy);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["time_per_run"]
        = benchmark::Counter(double(count),
                             benchmark::Counter::kIsIterationInvariantRate
                                 | benchmark::Counter::kInvert);
}
BENCHMARK(normaliseOverlapping)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

// A program-info file of about `bytes` bytes: 100 copybooks, each with one INCLUDE block whose
// kind blocks name runs every 4 bytes, shifted by `shift` bytes.
std::string programInfoFile(std::size_t bytes, std::uint32_t shift)
{
    static const char *const kinds[] = {"ALWAYS-CONFLICT",
                                        "ALWAYS-YEAR",
                                        "ALWAYS-NON-YEAR",
                                        "USED-AS-YEAR",
                                        "USED-AS-NON-YEAR",
                                        "USED-AS-YEAR-AND-NON-YEAR"};
    constexpr int copybooks = 100;
    std::string text = "<PROGRAM-INFO>\n<FILE> BENCH.cbl </FILE>\n";
    for (int c = 0; c < copybooks; ++c)
        text += "<FILE> COPY" + std::to_string(c) + " </FILE>\n";
    text += "</PROGRAM-INFO>\n";
    const std::size_t perCopybook = bytes / copybooks;
    for (int c = 0; c < copybooks; ++c) {
        const std::size_t start = text.size();
        text += "<INCLUDE> COPY" + std::to_string(c) + " QUALIFIER\n<RESULT>\n";
        for (std::uint32_t i = 0; text.size() - start < perCopybook; ++i) {
            const std::string kind = kinds[i % kindCount];
            text += "<" + kind + ">\n<INDEX> " + std::to_string(1 + shift + 4 * i)
                    + " <LENGTH> 2\n</" + kind + ">\n";
        }
        text += "</RESULT>\n";
    }
    return text;
}

// Reads a 10 MB file into a table that already holds another program's results for the same
// copybooks, so every run is merged with stored runs.
void readProgramInfo(benchmark::State &state)
{
    const std::string first = programInfoFile(10 * 1024 * 1024, 0);
    const std::string second = programInfoFile(10 * 1024 * 1024, 1);
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<SeedTable>(traceOff());
        auto before = std::make_unique<ProgramInfo>("FIRST");
        std::istringstream firstIn(first);
        table->readProgramInfo(*before, firstIn);
        ProgramInfo program("SECOND");
        std::istringstream in(second);
        state.ResumeTiming();

        benchmark::DoNotOptimize(table->readProgramInfo(program, in));

        state.PauseTiming();
        table.reset();
        before.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * second.size()));
    state.counters["file_bytes"] = double(second.size());
}
BENCHMARK(readProgramInfo)->Unit(benchmark::kMillisecond);

// Writes the merged table of two 10 MB files as seed blocks.
void writeSeedEntries(benchmark::State &state)
{
    SeedTable table(traceOff());
    ProgramInfo first("FIRST");
    std::istringstream in(programInfoFile(10 * 1024 * 1024, 0));
    table.readProgramInfo(first, in);
    std::size_t written = 0;
    int touch = 0;
    for (auto _ : state) {
        std::ostringstream out;
        state.PauseTiming();
        ProgramInfo toucher("TOUCH");
        table.addCopybook(toucher, "COPY0");
        table.mergeInclude(toucher, "COPY0", "NEW" + std::to_string(++touch), {});
        state.ResumeTiming();
        table.writeSeedEntries(out);
        written = out.str().size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}
BENCHMARK(writeSeedEntries)->Unit(benchmark::kMillisecond);

/// The console table as usual, and every run kept for the verdicts.
class RecordingReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run &run : reports)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                runs.push_back(run);
    }

    std::vector<Run> runs;
};

/// Seconds per processed element at each size of the family `name` (from its time_per_run
/// counter), smallest size first.
std::map<std::int64_t, double> perRun(const std::vector<benchmark::BenchmarkReporter::Run> &runs,
                                      const std::string &name)
{
    std::map<std::int64_t, double> costs;
    for (const auto &run : runs) {
        if (run.benchmark_name().rfind(name + "/", 0) != 0)
            continue;
        const auto counter = run.counters.find("time_per_run");
        if (counter != run.counters.end())
            costs[run.complexity_n] = counter->second.value;
    }
    return costs;
}

/// Prints the cost per run of each size; true when the largest size's cost is at most `allowed`
/// times the smallest's, times `growth(largest) / growth(smallest)`.
bool verdictPerSize(const std::vector<benchmark::BenchmarkReporter::Run> &runs,
                    const std::string &name,
                    const char *what,
                    double (*growth)(double),
                    double allowed)
{
    const std::map<std::int64_t, double> costs = perRun(runs, name);
    if (costs.size() < 2) {
        std::printf("MISSED: %s: fewer than two sizes ran\n", name.c_str());
        return false;
    }
    std::printf("%s, ns per run:", name.c_str());
    for (const auto &[size, seconds] : costs)
        std::printf("  %lld: %.1f", static_cast<long long>(size), seconds * 1e9);
    std::printf("\n");
    const auto &[firstSize, firstCost] = *costs.begin();
    const auto &[lastSize, lastCost] = *costs.rbegin();
    const double ratio = (lastCost / firstCost)
                         / (growth(double(lastSize)) / growth(double(firstSize)));
    const bool met = ratio <= allowed;
    std::printf("%s: %s: the cost per run at %lld runs is %.2f times that at %lld runs%s "
                "(target: at most %.2f)\n",
                met ? "met" : "MISSED",
                name.c_str(),
                static_cast<long long>(lastSize),
                ratio,
                static_cast<long long>(firstSize),
                what,
                allowed);
    return met;
}

double constantGrowth(double)
{
    return 1;
}

double logGrowth(double n)
{
    return std::log2(n);
}

} // namespace

int main(int argc, char **argv)
{
    // The heap keeps freed memory instead of giving it back to the kernel (see above).
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    bool met = verdictPerSize(reporter.runs, "mergeIntervals", "", constantGrowth, 2.0);
    met = verdictPerSize(reporter.runs,
                         "normaliseOverlapping",
                         ", divided by the growth of log n",
                         logGrowth,
                         2.0)
          && met;
    for (const auto &run : reporter.runs) {
        if (run.benchmark_name() != "readProgramInfo")
            continue;
        const double seconds = run.GetAdjustedRealTime() / 1e3; // the family runs in ms
        const bool fast = seconds < 0.5;
        std::printf("%s: readProgramInfo reads and merges a 10 MB file in %.3f s (target: under "
                    "0.5 s)\n",
                    fast ? "met" : "MISSED",
                    seconds);
        met = met && fast;
    }
    return met ? 0 : 1;
}
