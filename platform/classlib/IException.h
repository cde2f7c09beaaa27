#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// Where an exception was raised or passed on: function, source file and line.
struct IExceptionLocation
{
    std::string function;
    std::string fileName;
    unsigned long lineNumber = 0;
};

/// Root of the class library's exception hierarchy.
///
/// An exception carries a stack of texts (the first one given at construction, later ones added
/// by handlers that pass it on), an error id, the locations it was raised or passed through, and
/// whether the program can recover from it. `what()` gives the most recent text.
class IException : public std::exception
{
public:
    enum class Severity { Recoverable, Unrecoverable };

    explicit IException(std::string text,
                        unsigned long errorId = 0,
                        Severity severity = Severity::Recoverable);
    /// An exception that carries no text yet (textCount() 0, what() empty), error id 0,
    /// recoverable; handlers that pass it on may add texts.
    IException() = default;

    /// The class name, e.g. "IAccessError"; used in logs.
    virtual const char *name() const;

    const char *what() const noexcept override;

    /// Adds a text on top of the stack; `text()` returns it from now on.
    IException &addText(std::string text);
    /// Text `indexFromTop` places below the top (0 = most recent). Empty when out of range.
    const std::string &text(std::size_t indexFromTop = 0) const;
    std::size_t textCount() const { return m_texts.size(); }

    unsigned long errorId() const { return m_errorId; }
    IException &setErrorId(unsigned long errorId);

    bool isRecoverable() const { return m_severity == Severity::Recoverable; }
    IException &setSeverity(Severity severity);

    IException &addLocation(IExceptionLocation location);
    std::size_t locationCount() const { return m_locations.size(); }
    /// Location `index` in the order recorded (0 = where it was raised).
    const IExceptionLocation &locationAtIndex(std::size_t index) const;

    /// Writes the exception (class, error id, first location, text) to the trace facility under
    /// `component` (ITrace), as the libraries do before they throw.
    void logExceptionData(std::string_view component) const;

private:
    std::vector<std::string> m_texts;
    std::vector<IExceptionLocation> m_locations;
    unsigned long m_errorId = 0;
    Severity m_severity = Severity::Recoverable;
};

/// A resource, file, setting or object could not be accessed as asked; the engine's only error.
class IAccessError : public IException
{
public:
    using IException::IException;
    const char *name() const override;
};

/// Memory, handles or another system resource ran out.
class IResourceExhausted : public IException
{
public:
    using IException::IException;
    const char *name() const override;
};

/// The caller asked for something the object cannot do in its current state.
class IInvalidRequest : public IException
{
public:
    using IException::IException;
    const char *name() const override;
};

/// Records the current location in `exception` and throws it.
#define ITHROW(exception) throw ::chronexWithLocation((exception), __func__, __FILE__, __LINE__)

/// Records the current location in a caught exception and rethrows it.
#define IRETHROW(exception) \
    do { \
        (exception).addLocation({__func__, __FILE__, static_cast<unsigned long>(__LINE__)}); \
        throw; \
    } while (false)

template<typename E>
E chronexWithLocation(E exception, const char *function, const char *file, int line)
{
    exception.addLocation({function, file, static_cast<unsigned long>(line)});
    return exception;
}

/// Records `location` in `exception`, logs it under `component` (IException::logExceptionData)
/// and throws it. For the libraries whose exceptions name a fixed function text and line rather
/// than the C++ source position.
template<typename E>
[[noreturn]] void throwLogged(E exception, IExceptionLocation location, std::string_view component)
{
    exception.addLocation(std::move(location));
    exception.logExceptionData(component);
    throw exception;
}
