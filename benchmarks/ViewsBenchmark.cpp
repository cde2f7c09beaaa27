// The data map and the structure tree on large units:
//
//   mapOpenAndDraw/10000       a data map window opened on a record of 10,000 items (the unit
//                              already loaded, as the host hands it over) and drawn whole once
//                              (QWidget::grab of the window)
//   mapScrollPage/N            one page of scrolling down a record of N items and the repaint
//                              of what came into view; counter "painted" is how many items that
//                              paint drew (it follows the window, not the record)
//   treeBuild/100000           a program-unit tree of 100,000 records built (TreeCnr)
//   treeExpandAll/100000       TreeCnr::expandAll on it
//
// Targets, checked after the run (the program fails when one is missed):
//   open and draw a 10,000-item data map        under 100 ms
//   expand all of a 100,000-record tree         under 500 ms
//   a scroll repaint draws only what is in view  at most 200 items, for 1,000 and 50,000 items
#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "KelDataMapCanvas.h"
#include "KelDataMapLayout.h"
#include "KelDataMapWindow.h"
#include "MapPrograms.h"
#include "RecordedUnits.h"
#include "TreeCnr.h"
#include "TreeCnrModel.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

/// Units with one big record each, recorded once for the whole run.
class MapUnits
{
public:
    static MapUnits &instance()
    {
        static MapUnits units;
        return units;
    }
    DbPu &unit(int items)
    {
        const std::string name = "BIG" + std::to_string(items);
        if (!m_recorded.contains(items)) {
            std::string text = MapPrograms::bigRecord(items);
            text.replace(text.find("BIGREC"), 6, name);
            m_units.recordText(name + ".cbl", text);
            m_recorded.insert({items, true});
        }
        DbPu *pu = m_units.open().puNamed(name);
        pu->load();
        return *pu;
    }
    DbEu &eu() { return m_units.open(); }

private:
    RecordedUnits m_units{"BENCH"};
    std::map<int, bool> m_recorded;
};

DbToken *firstItemToken(DbPu &pu)
{
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n)
        if (pu.symbol(n)->name().starts_with("ITEM-"))
            return pu.symbol(n)->declaringToken();
    return nullptr;
}

void mapOpenAndDraw(benchmark::State &state)
{
    DbPu &pu = MapUnits::instance().unit(static_cast<int>(state.range(0)));
    DbEu &eu = MapUnits::instance().eu();
    for (auto _ : state) {
        auto *map = new KelDataMapWindow(nullptr, nullptr, eu, pu, firstItemToken(pu));
        map->resize(1000, 700);
        const QPixmap picture = map->grab();
        benchmark::DoNotOptimize(picture.cacheKey());
        state.PauseTiming();
        state.counters["items"] = double(map->mapLayout()->placed().size());
        delete map;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(mapOpenAndDraw)->Arg(10000)->Unit(benchmark::kMillisecond);

void mapScrollPage(benchmark::State &state)
{
    DbPu &pu = MapUnits::instance().unit(static_cast<int>(state.range(0)));
    auto *map = new KelDataMapWindow(nullptr, nullptr, MapUnits::instance().eu(), pu, nullptr);
    map->resize(1000, 700);
    map->show();
    QApplication::processEvents();
    KelDataMapCanvas *canvas = map->canvas();
    QScrollBar *bar = canvas->verticalScrollBar();
    int step = bar->pageStep();
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0)
            step = -step;
        bar->setValue(bar->value() + step);
        canvas->viewport()->repaint();
    }
    state.counters["painted"] = canvas->lastPaintedItems();
    state.counters["items"] = double(map->mapLayout()->placed().size());
    state.SetItemsProcessed(state.iterations());
    delete map;
}
BENCHMARK(mapScrollPage)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);

/// An execution unit with one program unit whose tree has `records` records: the unit, its
/// procedure division, sections of 99 paragraphs each.
std::unique_ptr<DbEu> treeUnit(int records)
{
    DbUnitHeader header;
    header.name = "TREEBIG";
    header.sourceFile = "/bench/TREEBIG.cbl";
    auto eu = std::make_unique<DbEu>("", "BENCH", std::vector<DbUnitHeader>{header});
    DbUnitData data;
    data.header = header;
    data.nodes.push_back({});
    data.treeRecords.push_back({0, "TREEBIG", 0, 1});
    data.treeRecords.push_back({1, "PROCEDURE DIVISION", 1, 0});
    std::uint32_t section = 0;
    for (int n = 2; n < records; ++n) {
        const auto id = static_cast<std::uint32_t>(data.treeRecords.size() + 1);
        if (section == 0 || (id - section) % 100 == 0) {
            data.treeRecords.push_back({2, "SECTION-" + std::to_string(id) + " SECTION", 2, 0});
            section = id;
        } else {
            data.treeRecords.push_back({2, "PARAGRAPH-" + std::to_string(id), section, 0});
        }
    }
    std::string error;
    if (!eu->numberToPu(1)->loadData(std::move(data), error))
        std::fprintf(stderr, "the benchmark's unit is not valid: %s\n", error.c_str());
    return eu;
}

void treeBuild(benchmark::State &state)
{
    const auto eu = treeUnit(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TreeCnr tree(*eu->numberToPu(1));
        benchmark::DoNotOptimize(tree.root());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(treeBuild)->Arg(100000)->Unit(benchmark::kMillisecond);

void treeExpandAll(benchmark::State &state)
{
    const auto eu = treeUnit(static_cast<int>(state.range(0)));
    TreeCnr tree(*eu->numberToPu(1));
    tree.resize(400, 600);
    for (auto _ : state) {
        state.PauseTiming();
        tree.initialView();
        state.ResumeTiming();
        tree.expandAll();
    }
    state.counters["nodes"] = tree.treeModel()->nodeCount();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(treeExpandAll)->Arg(100000)->Unit(benchmark::kMillisecond);

class TargetReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> millisecondsPerRun;
    std::map<std::string, double> painted;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.iterations > 0)
                millisecondsPerRun[run.benchmark_name()] = run.GetAdjustedRealTime()
                                                           * (run.time_unit
                                                                      == benchmark::kMicrosecond
                                                                  ? 1e-3
                                                                  : 1.0);
            if (run.counters.count("painted"))
                painted[run.benchmark_name()] = run.counters.at("painted").value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("CHRONEX_HOME", home.path().toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool allMet = true;
    std::printf("\n");
    const auto check =
        [&](const char *name, const char *what, double value, double limit, const char *unit) {
            const bool met = value <= limit;
            allMet = allMet && met;
            std::printf("%-48s %10.2f %s (target at most %g %s): %s\n",
                        what,
                        value,
                        unit,
                        limit,
                        unit,
                        met ? "met" : "MISSED");
            (void) name;
        };
    if (auto at = reporter.millisecondsPerRun.find("mapOpenAndDraw/10000");
        at != reporter.millisecondsPerRun.end())
        check(at->first.c_str(), "open and draw a 10,000-item data map", at->second, 100, "ms");
    if (auto at = reporter.millisecondsPerRun.find("treeExpandAll/100000");
        at != reporter.millisecondsPerRun.end())
        check(at->first.c_str(), "expand all of a 100,000-record tree", at->second, 500, "ms");
    for (const auto &[name, count] : reporter.painted)
        check(name.c_str(),
              ("items drawn by one scroll repaint, " + name).c_str(),
              count,
              200,
              "items");
    return allMet ? 0 : 1;
}
