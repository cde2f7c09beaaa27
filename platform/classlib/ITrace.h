#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

class IException;

/// The trace facility: one line per event of a traced component, for following what the
/// libraries do without a debugger.
///
/// Which components are traced comes from the environment when the first line is asked for:
/// `CHRONEX_TRACE` lists component names separated by commas or blanks ("KELIPC,UIEXT"), or
/// "*" for all; unset or empty traces nothing. `CHRONEX_TRACETO` names the destination:
/// "stderr" (the default), "stdout", or a file that lines are appended to. Component names match
/// without regard to ASCII case.
///
/// A line reads `<COMPONENT> <pid>/<thread> <mark><text>`, the mark being "+" for entering a
/// function, "-" for leaving it, "!" for an exception and a blank for anything else:
///
///     KELIPC 4711/4712 +RegisterInstance::requestShow()
///
/// Lines are written whole, so lines of several threads never mix. When nothing is traced the
/// checks cost one atomic load. All functions are thread-safe.
class ITrace final
{
public:
    /// True when lines of `component` are written.
    static bool isTraced(std::string_view component);

    /// Writes `text` as a line of `component` if that component is traced.
    static void write(std::string_view component, std::string_view text);

    /// Writes the entry ("+") or exit ("-") line of `function`.
    static void writeEntry(std::string_view component, std::string_view function);
    static void writeExit(std::string_view component, std::string_view function);

    /// Logs `exception` ("!" line): its class name, error id, first location (function, file,
    /// line) and its most recent text.
    static void writeException(std::string_view component, const IException &exception);

    /// Replaces the environment's choice: trace `components` (as in CHRONEX_TRACE) to `stream`
    /// (not owned; nullptr means standard error). For programs with a trace option and for tests.
    static void configure(std::string_view components, std::ostream *stream);
};

/// Writes the entry line of a function on construction and its exit line on destruction, also
/// when the function leaves by an exception.
class ITraceScope final
{
public:
    /// `component` and `function` must outlive the scope (string literals).
    ITraceScope(const char *component, const char *function);
    ~ITraceScope();
    ITraceScope(const ITraceScope &) = delete;
    ITraceScope &operator=(const ITraceScope &) = delete;

private:
    const char *m_component;
    const char *m_function;
    bool m_traced;
};
