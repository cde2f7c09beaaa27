#pragma once

#include "AnalysisPlan.h"

#include <string>

struct HostOptions;

/// `kelhost --analyze`: runs the analysis plan (the compiler driver, then the program-unit
/// builder, for each source) into a database under the user's cache directory
/// (`$XDG_CACHE_HOME/chronex`, normally `~/.cache/chronex`), with a progress dialog that can
/// cancel. The tools are taken from kelhost's own directory, else from PATH.
///
/// A source that fails is reported (its tool's output on standard error) and the others go on;
/// the run fails only when cancelled or when no unit could be recorded.
class AnalysisRunner final
{
public:
    explicit AnalysisRunner(const HostOptions &options);

    /// Runs the plan; false with `error` set (what failed and why).
    bool run(std::string &error);

    /// The database the run wrote.
    std::string databaseFile() const { return m_plan.databaseFile(); }

private:
    /// Runs one step; false with `error` set when it could not start, crashed or failed.
    bool runStep(const AnalysisPlan::Step &step, std::string &error, bool &cancelled);

    const HostOptions &m_options;
    AnalysisPlan m_plan;
};
