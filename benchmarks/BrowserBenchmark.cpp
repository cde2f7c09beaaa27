// The host's source browser on a generated 50,000-line program (benchmarks/generate-cobol.py:
// 20 copybooks, each included twice):
//
//   browserLoadUnit         reading the unit from the analysis database (DbPu::load), as the
//                           desktop does before it makes the window
//   browserOpen             making the browser window on the loaded unit and painting it once
//                           (QWidget::grab of the whole window)
//   browserScrollPage       one page of scrolling down and the repaint of the text (the text
//                           area rendered whole, QWidget::grab of the viewport)
//   browserSelectFar        selecting a token far away (the view moves to it) and the repaint
//   browserSelectNear       selecting the next token on screen and the repaint
//
// Targets, checked after the run (the program fails when one is missed):
//   load and open a 50,000-line unit in the browser     under 1,000 ms
//   scroll a page, select a token (each with repaint)   under 16 ms (one frame at 60 Hz)
#include "DbEu.h"
#include "DbPu.h"
#include "KelBrowser.h"
#include "KelDesktop.h"
#include "RecordedUnits.h"
#include "SourceDocument.h"
#include "SourceView.h"
#include "StartWindowData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

constexpr int programLines = 50000;

std::string readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

/// The generated program recorded once for the whole run, and a desktop for the windows.
class BigUnit
{
public:
    static BigUnit &instance()
    {
        static BigUnit unit;
        return unit;
    }

    /// A fresh execution unit over the database, its unit not loaded yet.
    std::unique_ptr<DbEu> openAgain() const { return DbEu::open(m_units.databasePath()); }
    DbPu &loaded() { return *m_loaded; }

private:
    BigUnit()
    {
        QTemporaryDir generated;
        const std::string command = "python3 '" CHRONEX_GENERATOR "' --lines "
                                    + std::to_string(programLines) + " --out '"
                                    + generated.path().toStdString() + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("cannot generate the program: " + command);
        std::vector<std::pair<std::string, std::string>> copybooks;
        for (const QString &name : QDir(generated.path()).entryList({"*.cpy"}))
            copybooks.emplace_back(name.toStdString(),
                                   readFile(generated.path() + QLatin1Char('/') + name));
        m_units.recordText("BIGPROG.cbl", readFile(generated.path() + "/BIGPROG.cbl"), copybooks);
        m_eu = openAgain();
        m_loaded = m_eu->puNamed("BIGPROG");
        m_loaded->load();
        m_desktop = std::make_unique<KelDesktop>();
        m_desktop->loadEuData(m_eu.get());
    }

    RecordedUnits m_units{"BENCH"};
    std::unique_ptr<DbEu> m_eu;
    DbPu *m_loaded = nullptr;
    std::unique_ptr<KelDesktop> m_desktop;
};

void browserLoadUnit(benchmark::State &state)
{
    BigUnit::instance();
    for (auto _ : state) {
        state.PauseTiming();
        auto eu = BigUnit::instance().openAgain();
        DbPu *pu = eu->puNamed("BIGPROG");
        state.ResumeTiming();
        if (!pu->load())
            state.SkipWithError("the unit cannot be loaded");
        state.PauseTiming();
        eu.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(browserLoadUnit)->Unit(benchmark::kMillisecond);

void browserOpen(benchmark::State &state)
{
    DbPu &pu = BigUnit::instance().loaded();
    std::uint32_t lines = 0;
    for (auto _ : state) {
        StartWindowData request(StartWindowData::browser, &pu, pu.puName());
        auto *browser = new KelBrowser(request);
        browser->resize(960, 700);
        browser->show();
        benchmark::DoNotOptimize(browser->grab());
        lines = browser->document().lineCount();
        state.PauseTiming();
        delete browser;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["lines"] = lines;
}
BENCHMARK(browserOpen)->Unit(benchmark::kMillisecond);

/// A shown browser on the big unit for the scrolling and selection cases.
KelBrowser &shownBrowser()
{
    static KelBrowser *browser = [] {
        DbPu &pu = BigUnit::instance().loaded();
        auto *made = new KelBrowser(StartWindowData(StartWindowData::browser, &pu, pu.puName()));
        made->resize(960, 700);
        made->show();
        made->grab();
        return made;
    }();
    return *browser;
}

void browserScrollPage(benchmark::State &state)
{
    SourceView *view = shownBrowser().sourceView();
    QScrollBar *bar = view->verticalScrollBar();
    for (auto _ : state) {
        int next = bar->value() + bar->pageStep();
        if (next >= bar->maximum())
            next = 0;
        bar->setValue(next);
        benchmark::DoNotOptimize(view->viewport()->grab());
    }
    state.counters["lines"] = static_cast<double>(view->document().lineCount());
}
BENCHMARK(browserScrollPage)->Unit(benchmark::kMicrosecond);

void browserSelectFar(benchmark::State &state)
{
    KelBrowser &browser = shownBrowser();
    const std::uint32_t tokens = browser.pu()->numberOfTokens();
    std::uint32_t token = 1;
    for (auto _ : state) {
        token = (token + tokens / 7 + 13) % tokens + 1; // far away each time, any line
        browser.sourceView()->selectToken(token,
                                          SourceView::Placement::centre,
                                          SourceView::Origin::user);
        benchmark::DoNotOptimize(browser.sourceView()->viewport()->grab());
    }
}
BENCHMARK(browserSelectFar)->Unit(benchmark::kMicrosecond);

void browserSelectNear(benchmark::State &state)
{
    KelBrowser &browser = shownBrowser();
    const std::uint32_t tokens = browser.pu()->numberOfTokens();
    std::uint32_t token = tokens / 2;
    for (auto _ : state) {
        token = token % tokens + 1;
        browser.sourceView()->selectToken(token,
                                          SourceView::Placement::ifHidden,
                                          SourceView::Origin::user);
        benchmark::DoNotOptimize(browser.sourceView()->viewport()->grab());
    }
}
BENCHMARK(browserSelectNear)->Unit(benchmark::kMicrosecond);

class TargetReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> milliseconds;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.iterations > 0)
                milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime()
                                                     * (run.time_unit == benchmark::kMicrosecond
                                                            ? 1e-3
                                                            : 1.0);
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
    const auto check = [&](const char *what, double value, double limit) {
        const bool met = value <= limit;
        allMet = allMet && met;
        std::printf("%-52s %10.2f ms (target at most %g ms): %s\n",
                    what,
                    value,
                    limit,
                    met ? "met" : "MISSED");
    };
    std::printf("\n");
    auto &ms = reporter.milliseconds;
    if (ms.contains("browserLoadUnit") && ms.contains("browserOpen"))
        check("load and open a 50,000-line unit in the browser",
              ms["browserLoadUnit"] + ms["browserOpen"],
              1000);
    for (const char *name : {"browserScrollPage", "browserSelectFar", "browserSelectNear"})
        if (ms.contains(name))
            check(name, ms[name], 16);
    return allMet ? 0 : 1;
}
