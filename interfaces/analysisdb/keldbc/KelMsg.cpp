#include "KelMsg.h"

#include "IException.h"
#include "KelMsgIds.h"
#include "KelMsgTexts.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace {

std::mutex &displayMutex()
{
    static std::mutex mutex;
    return mutex;
}

/// Guarded by displayMutex().
KelMsg::Display &installedDisplay()
{
    static KelMsg::Display display;
    return display;
}

thread_local std::optional<KelMessage> pendingMessage;

const std::unordered_map<unsigned long, const char *> &catalogue()
{
    static const auto table = [] {
        std::unordered_map<unsigned long, const char *> map;
        std::size_t count = 0;
        const KelMsgText *texts = kelMsgTexts(count);
        for (std::size_t i = 0; i < count; ++i)
            map.emplace(texts[i].id, texts[i].text);
        return map;
    }();
    return table;
}

void writeToStandardError(const KelMessage &message)
{
    const std::string line = KelMsg::format(message) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace

KelMsg::Display KelMsg::setDisplay(Display display)
{
    const std::lock_guard<std::mutex> guard(displayMutex());
    Display previous = std::move(installedDisplay());
    installedDisplay() = std::move(display);
    return previous;
}

std::string KelMsg::catalogueText(unsigned long id)
{
    const auto found = catalogue().find(id);
    return found == catalogue().end() ? std::string() : std::string(found->second);
}

std::string KelMsg::text(unsigned long number, const std::vector<std::string> &inserts)
{
    std::string pattern = catalogueText(number);
    if (pattern.empty()) {
        // A number the table does not know still shows what the caller gave.
        pattern = "Message " + std::to_string(number);
        for (std::size_t i = 0; i < inserts.size(); ++i)
            pattern += " %" + std::to_string(i + 1);
    }
    std::string out;
    out.reserve(pattern.size() + 64);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < inserts.size())
                out += inserts[index];
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

KelMessage::Severity KelMsg::severity(unsigned long number)
{
    return number == KelMsgId::consistencyCheck ? KelMessage::Severity::warning
                                                : KelMessage::Severity::error;
}

std::string KelMsg::format(const KelMessage &message)
{
    char number[16];
    std::snprintf(number, sizeof number, "KEL%04lX", message.number & 0xFFFFul);
    const char letter = message.severity == KelMessage::Severity::error     ? 'E'
                        : message.severity == KelMessage::Severity::warning ? 'W'
                                                                            : 'I';
    std::string out = std::string(number) + letter + " " + message.text;
    if (!message.sourceFile.empty())
        out += " (" + message.sourceFile + ":" + std::to_string(message.line) + ")";
    return out;
}

KelMessage KelMsg::make(const char *file,
                        unsigned long line,
                        unsigned long number,
                        const std::vector<std::string> &inserts)
{
    KelMessage message;
    message.number = number;
    message.severity = severity(number);
    message.text = text(number, inserts);
    message.sourceFile = file ? file : "";
    message.line = line;
    return message;
}

void KelMsg::show(const KelMessage &message)
{
    Display display;
    {
        const std::lock_guard<std::mutex> guard(displayMutex());
        display = installedDisplay();
    }
    try {
        if (display) {
            display(message);
            return;
        }
    } catch (...) {
        // A display that fails must not take the caller down: the message goes to stderr.
    }
    writeToStandardError(message);
}

void KelMsg::msg(const char *file,
                 unsigned long line,
                 unsigned long number,
                 std::vector<std::string> inserts)
{
    try {
        show(make(file, line, number, inserts));
    } catch (...) {
        // Out of memory while formatting: nothing sensible is left to show.
    }
}

void KelMsg::setPending(KelMessage message)
{
    pendingMessage = std::move(message);
}

bool KelMsg::hasPending()
{
    return pendingMessage.has_value();
}

KelMessage KelMsg::pending()
{
    return pendingMessage.value_or(KelMessage());
}

void KelMsg::clearPending()
{
    pendingMessage.reset();
}

void KelMsg::winMsgShow1(const char *file, unsigned long line)
{
    if (!pendingMessage)
        return;
    KelMessage message = std::move(*pendingMessage);
    pendingMessage.reset();
    try {
        // The message names the place that shows it, as the entry points pass their own tag.
        message.sourceFile = file ? file : "";
        message.line = line;
        show(message);
    } catch (...) {
    }
}

void KelMsg::winIExcnSet1(const char *file, unsigned long line, const IException &exception)
{
    try {
        setPending(make(file,
                        line,
                        KelMsgId::classLibraryException,
                        {exception.name(), exception.text()}));
    } catch (...) {
    }
}

void KelMsg::winUnknownExcnSet1(const char *file, unsigned long line)
{
    try {
        setPending(make(file, line, KelMsgId::unknownException, {}));
    } catch (...) {
    }
}
