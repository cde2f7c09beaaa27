#pragma once

#include <QLibrary>
#include <QString>

#include <string>

/// The outside compiler-options library RUXVCOPT, loaded by name when it is first needed.
///
/// It is looked for as `<lib>/libRUXVCOPT.so` beside the launcher's own `bin/` directory (the
/// installed and the build-tree layout), then beside the directory CHRONEX_BIN_DIR names, and
/// last by its plain name through the loader's search path.
class CompilerOptionsLibrary final
{
public:
    /// GETCOMMANDLINE's buffer size, in bytes, terminating NUL included.
    static constexpr int bufferSize = 1000;

    CompilerOptionsLibrary() = default;
    CompilerOptionsLibrary(const CompilerOptionsLibrary &) = delete;
    CompilerOptionsLibrary &operator=(const CompilerOptionsLibrary &) = delete;

    /// Asks the library for the compiler options stored with `projectName`; `windowHandle` is
    /// the window the library may own dialogs by. True and `options` set on success; false with
    /// `error` saying what went wrong when the library or its entry point cannot be found
    /// (`error` stays empty when the library itself reported failure).
    bool commandLine(const std::string &projectName,
                     unsigned long windowHandle,
                     std::string &options,
                     QString &error);

private:
    bool load(QString &error);

    QLibrary m_library;
};
