#pragma once

#include "EnginePass.h"

/// Runs the compiler driver `zmc2` in analysis mode on every file, in the file's directory, as
/// many at a time as the runner takes; files are started in list order and judged as their
/// drivers end.
///
/// State per file: 0x91 while running, then 0x11 / 0x12 / 0x14 / 0x18 for return code 0 / 4 /
/// 8 / other; 0 and 4 count as success. A file whose child was killed by a cancel keeps 0x91.
///
/// Before the driver runs, every result an earlier run left for the file is removed; 0 or 4
/// without the analysis data written in this run, a result that cannot be removed, or tool
/// output that cannot be kept give 0x18 with a message naming the file.
class CompilePass final : public EnginePass
{
public:
    /// `compileOptions` go through the compile-argument rule as written.
    CompilePass(PassContext &context, std::string compileOptions);

    void run();

    /// The console message of a start failure with the error number `error`, and its text
    /// without the "Error:  " in front.
    static std::string startFailureMessage(int error);
    static std::string startFailureText(int error);

private:
    /// Prepares the file at `index` and starts its driver; false when the file failed before
    /// (it has been judged then).
    bool start(std::size_t index);
    /// Reports an ended driver and judges its file, unless the run has been cancelled meanwhile
    /// (the file then keeps 0x91).
    void finish(const ToolRunner::Completion &completion);
    void judge(ConversionFile &file, std::uint8_t state);

    std::string m_compileOptions;
    std::size_t m_done = 0;
};
