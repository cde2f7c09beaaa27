// The grapher's layout on large units: building the control-flow graph of a recorded program of
// 2,000 paragraphs and laying it out (target: under one second), and the same unit folded by
// sections as the window opens it.
#include "DbEu.h"
#include "DbPu.h"
#include "LayeredLayout.h"
#include "ProgramFlowBuilder.h"
#include "RecordedUnits.h"
#include "SectionCollapse.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

/// A program of `paragraphs` paragraphs in sections of 40, shaped like batch code: a main
/// section performing each section, paragraphs performing later ones (some THRU ranges), loops
/// by GO TO, GO TO DEPENDING ON, and fall-through between neighbours.
std::string generatedProgram(int paragraphs)
{
    std::string text = "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. GENFLOW.\n"
                       "       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n"
                       "       01  WS-I PIC 9(4) VALUE 0.\n"
                       "       PROCEDURE DIVISION.\n       MAIN SECTION.\n       MAIN-0.\n";
    const int perSection = 40;
    const int sections = (paragraphs + perSection - 1) / perSection;
    for (int s = 0; s < sections; ++s)
        text += "           PERFORM S" + std::to_string(s) + ".\n";
    text += "           STOP RUN.\n";
    auto name = [](int p) {
        std::string paragraph = "P";
        return paragraph += std::to_string(p);
    };
    for (int p = 0; p < paragraphs; ++p) {
        if (p % perSection == 0)
            text += "       S" + std::to_string(p / perSection) + " SECTION.\n";
        text += "       " + name(p) + ".\n           ADD 1 TO WS-I.\n";
        const int sectionEnd = (p / perSection + 1) * perSection - 1;
        if (p % 7 == 1 && p + 5 < paragraphs)
            text += "           PERFORM " + name(p + 3) + " THRU " + name(p + 5) + ".\n";
        else if (p % 5 == 2 && p + 11 < paragraphs)
            text += "           PERFORM " + name(p + 11) + ".\n";
        if (p % 11 == 4 && p + 2 <= sectionEnd)
            text += "           GO TO " + name(p + 1) + " " + name(p + 2) + " DEPENDING ON WS-I.\n";
        if (p % 13 == 6)
            text += "           IF WS-I > 9 GO TO " + name(p - 3) + " END-IF.\n";
    }
    return text;
}

struct Unit
{
    std::unique_ptr<RecordedUnits> units;
    DbPu *pu = nullptr;
};

DbPu &recordedUnit(int paragraphs)
{
    static std::map<int, Unit> cache;
    Unit &unit = cache[paragraphs];
    if (!unit.pu) {
        unit.units = std::make_unique<RecordedUnits>("BENCH");
        unit.units->recordText("GENFLOW.cbl", generatedProgram(paragraphs));
        unit.pu = unit.units->open().numberToPu(1);
        unit.pu->load();
    }
    return *unit.pu;
}

void buildAndLayOut(benchmark::State &state)
{
    DbPu &pu = recordedUnit(static_cast<int>(state.range(0)));
    std::size_t nodes = 0;
    GraphLayout layout;
    for (auto _ : state) {
        const FlowGraph graph = ProgramFlowBuilder::build(pu);
        layout = LayeredLayout::layout(graph);
        nodes = graph.nodes.size();
        benchmark::DoNotOptimize(layout.width);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["layers"] = layout.layers;
    state.counters["bends"] = layout.bendPoints;
    state.counters["crossings"] = layout.crossings;
}
BENCHMARK(buildAndLayOut)->Arg(2000)->Unit(benchmark::kMillisecond);

void layOutOnly(benchmark::State &state)
{
    const FlowGraph graph = ProgramFlowBuilder::build(
        recordedUnit(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(LayeredLayout::layout(graph).width);
}
BENCHMARK(layOutOnly)->Arg(2000)->Unit(benchmark::kMillisecond);

void foldedLayout(benchmark::State &state)
{
    const FlowGraph graph = ProgramFlowBuilder::build(
        recordedUnit(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        const FlowGraph folded = SectionCollapse::collapse(graph,
                                                           SectionCollapse::allSections(graph));
        benchmark::DoNotOptimize(LayeredLayout::layout(folded).width);
    }
}
BENCHMARK(foldedLayout)->Arg(2000)->Unit(benchmark::kMillisecond);

class TargetReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> milliseconds;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.iterations > 0)
                milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    bool met = true;
    std::printf("\n");
    for (const char *name : {"buildAndLayOut/2000", "layOutOnly/2000"}) {
        const auto at = reporter.milliseconds.find(name);
        if (at == reporter.milliseconds.end())
            continue;
        const bool ok = at->second < 1000;
        met = met && ok;
        std::printf("%-48s %10.2f ms (target under 1000 ms): %s\n",
                    name,
                    at->second,
                    ok ? "met" : "MISSED");
    }
    return met ? 0 : 1;
}
