#pragma once

#include "EnginePass.h"

/// Runs the compiler driver `zmc2` in analysis mode on every file, in the file's directory.
///
/// State per file: 0x91 while running, then 0x11 / 0x12 / 0x14 / 0x18 for return code 0 / 4 /
/// 8 / other; 0 and 4 count as success. A file whose child was killed by a cancel keeps 0x91.
class CompilePass final : public EnginePass
{
public:
    /// `compileOptions` go through the compile-argument rule as written.
    CompilePass(PassContext &context, std::string compileOptions);

    void run();

    /// The console message of a start failure with the error number `error`.
    static std::string startFailureMessage(int error);

private:
    std::string m_compileOptions;
};
