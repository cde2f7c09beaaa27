#include "ITrace.h"

#include "IException.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return result;
}

/// What is traced and where to. `mutex` guards everything but `anything`, which is only a fast
/// "is any component traced at all" check.
struct TraceState
{
    std::mutex mutex;
    bool configured = false;
    bool all = false;
    std::set<std::string> components; // upper case
    std::ostream *stream = &std::cerr;
    std::unique_ptr<std::ofstream> file;
    std::atomic_bool anything{false};

    void setComponents(std::string_view list)
    {
        components.clear();
        all = false;
        std::string name;
        const auto flush = [&] {
            if (name == "*")
                all = true;
            else if (!name.empty())
                components.insert(upper(name));
            name.clear();
        };
        for (char c : list) {
            if (c == ',' || c == ' ' || c == '\t')
                flush();
            else
                name += c;
        }
        flush();
        anything = all || !components.empty();
    }

    /// Reads the environment once. Call with `mutex` held.
    void configureFromEnvironment()
    {
        if (configured)
            return;
        configured = true;
        const char *list = std::getenv("CHRONEX_TRACE");
        setComponents(list ? list : "");
        const char *to = std::getenv("CHRONEX_TRACETO");
        const std::string destination = to ? to : "";
        if (destination == "stdout") {
            stream = &std::cout;
        } else if (!destination.empty() && destination != "stderr") {
            file = std::make_unique<std::ofstream>(destination, std::ios::app);
            if (*file) {
                stream = file.get();
            } else {
                std::cerr << "Cannot open the trace file " << destination
                          << "; tracing to standard error." << std::endl;
                file.reset();
            }
        }
    }

    bool traced(std::string_view component) const
    {
        return all || components.count(upper(component)) != 0;
    }
};

TraceState &state()
{
    static TraceState *instance = new TraceState; // never destroyed: traced until the very end
    return *instance;
}

/// Lines may be asked for before the environment was read; the first check reads it.
bool anythingTraced()
{
    TraceState &s = state();
    if (s.anything.load(std::memory_order_relaxed))
        return true;
    std::lock_guard lock(s.mutex);
    if (!s.configured)
        s.configureFromEnvironment();
    return s.anything.load(std::memory_order_relaxed);
}

void writeLine(std::string_view component, char mark, std::string_view text)
{
    if (!anythingTraced())
        return;
    TraceState &s = state();
    std::lock_guard lock(s.mutex);
    if (!s.traced(component))
        return;
    std::ostringstream line;
    line << upper(component) << ' ' << ::getpid() << '/' << ::syscall(SYS_gettid) << ' ' << mark
         << text << '\n';
    *s.stream << line.str() << std::flush;
}

} // namespace

bool ITrace::isTraced(std::string_view component)
{
    if (!anythingTraced())
        return false;
    TraceState &s = state();
    std::lock_guard lock(s.mutex);
    return s.traced(component);
}

void ITrace::write(std::string_view component, std::string_view text)
{
    writeLine(component, ' ', text);
}

void ITrace::writeEntry(std::string_view component, std::string_view function)
{
    writeLine(component, '+', function);
}

void ITrace::writeExit(std::string_view component, std::string_view function)
{
    writeLine(component, '-', function);
}

void ITrace::writeException(std::string_view component, const IException &exception)
{
    if (!anythingTraced())
        return;
    const IExceptionLocation &where = exception.locationAtIndex(0);
    std::ostringstream text;
    text << exception.name() << " error id " << exception.errorId() << " in " << where.function
         << " (line " << where.lineNumber << " in file " << where.fileName
         << "): " << exception.text();
    writeLine(component, '!', text.str());
}

void ITrace::configure(std::string_view components, std::ostream *stream)
{
    TraceState &s = state();
    std::lock_guard lock(s.mutex);
    s.configured = true;
    s.file.reset();
    s.stream = stream ? stream : &std::cerr;
    s.setComponents(components);
}

ITraceScope::ITraceScope(const char *component, const char *function)
    : m_component(component)
    , m_function(function)
    , m_traced(ITrace::isTraced(component))
{
    if (m_traced)
        ITrace::writeEntry(m_component, m_function);
}

ITraceScope::~ITraceScope()
{
    if (m_traced)
        ITrace::writeExit(m_component, m_function);
}
