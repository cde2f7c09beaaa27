#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

class IException;

/// A message of the analysis database library, ready to show.
struct KelMessage
{
    enum class Severity { information, warning, error };

    unsigned long number = 0; ///< a KelMsgId
    Severity severity = Severity::error;
    std::string text;       ///< with its inserts filled in
    std::string sourceFile; ///< the module that showed or raised it
    unsigned long line = 0; ///< the line in that module
};

/// The message display of the analysis database library: numbered messages with inserts,
/// shown in a message box when the program has a GUI and on standard error otherwise.
///
/// The library is std-only. It writes to standard error until a display function is installed
/// (`setDisplay`); the Qt target `keldbmsgbox` installs one that shows a message box on the GUI
/// thread (`KelMsgBox::install`).
///
/// Each thread has one pending message: a `KelMsgException` sets it when it is made,
/// `winIExcnSet1` and `winUnknownExcnSet1` set it from other exceptions, and `winMsgShow1` shows
/// it and clears it. Exceptions never cross threads, so the message a thread catches is the one
/// its own code raised. A view's entry point catches three ways:
///
///     try { ... }
///     catch (const KelMsgException &e) { if (e.winMsgSet()) KelMsg::winMsgShow1(tag, 94); }
///     catch (const IException &e) { KelMsg::winIExcnSet1(tag, 99, e); KelMsg::winMsgShow1(tag, 100); }
///     catch (...) { KelMsg::winUnknownExcnSet1(tag, 105); KelMsg::winMsgShow1(tag, 106); }
class KelMsg final
{
public:
    using Display = std::function<void(const KelMessage &)>;

    /// Installs the function that shows messages (any thread may call it); an empty function
    /// restores standard error. Returns the function installed before.
    static Display setDisplay(Display display);

    /// Shows message `number` now, with `inserts` for %1, %2 ...; `file` and `line` name the
    /// caller (a module tag and a line). Never throws.
    static void msg(const char *file,
                    unsigned long line,
                    unsigned long number,
                    std::vector<std::string> inserts = {});
    /// As above with inserts of any printable kind: texts, numbers.
    template<typename First, typename... Rest>
    static void msg(const char *file,
                    unsigned long line,
                    unsigned long number,
                    const First &first,
                    const Rest &...rest)
    {
        msg(file, line, number, std::vector<std::string>{insertText(first), insertText(rest)...});
    }

    /// Shows this thread's pending message, naming `file` and `line`, and clears it; does
    /// nothing when there is none. Never throws.
    static void winMsgShow1(const char *file, unsigned long line);
    /// Makes an exception of the class library this thread's pending message.
    static void winIExcnSet1(const char *file, unsigned long line, const IException &exception);
    /// Makes an exception of unknown kind this thread's pending message.
    static void winUnknownExcnSet1(const char *file, unsigned long line);

    /// Sets this thread's pending message (KelMsgException does this when it is made).
    static void setPending(KelMessage message);
    static bool hasPending();
    /// This thread's pending message; a default message when there is none.
    static KelMessage pending();
    static void clearPending();

    /// The message `number` with its inserts, as shown (without number and place).
    static std::string text(unsigned long number, const std::vector<std::string> &inserts = {});
    /// A message as standard error shows it: "KELF603E <text> (<file>:<line>)".
    static std::string format(const KelMessage &message);
    /// The severity of message `number`.
    static KelMessage::Severity severity(unsigned long number);
    /// The library's text with `id` (a message or a display text); empty when it has none.
    static std::string catalogueText(unsigned long id);

    /// Builds message `number` with its inserts, naming `file` and `line`.
    static KelMessage make(const char *file,
                           unsigned long line,
                           unsigned long number,
                           const std::vector<std::string> &inserts);

private:
    static std::string insertText(const std::string &text) { return text; }
    static std::string insertText(const char *text) { return text ? text : ""; }
    template<typename Number>
    requires std::is_arithmetic_v<Number>
    static std::string insertText(Number value) { return std::to_string(value); }
    static void show(const KelMessage &message);
};
