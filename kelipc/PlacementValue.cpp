#include "PlacementValue.h"

#include <charconv>
#include <vector>

namespace {

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            result.push_back(text.substr(start, i - start));
    }
    return result;
}

std::optional<long> integer(std::string_view word)
{
    // Screen coordinates; anything beyond a few million is damage, not a place.
    constexpr long limit = 1L << 24;
    long value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value > limit || value < -limit)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PlacementValue> PlacementValue::parse(std::string_view text)
{
    const std::vector<std::string_view> parts = words(text);
    if (parts.size() < 4)
        return std::nullopt;
    PlacementValue value;
    long *const corners[] = {&value.x1, &value.y1, &value.x2, &value.y2};
    for (int i = 0; i < 4; ++i) {
        const std::optional<long> number = integer(parts[i]);
        if (!number)
            return std::nullopt;
        *corners[i] = *number;
    }
    if (parts.size() > 4) {
        if (parts[4] == "MIN")
            value.state = State::Minimized;
        else if (parts[4] == "MAX")
            value.state = State::Maximized;
    }
    return value;
}

const char *PlacementValue::stateWord(State state)
{
    switch (state) {
    case State::Normal:
        return "NONE";
    case State::Minimized:
        return "MIN";
    case State::Maximized:
        return "MAX";
    }
    return "NONE";
}

std::string PlacementValue::text() const
{
    return std::to_string(x1) + ' ' + std::to_string(y1) + ' ' + std::to_string(x2) + ' '
           + std::to_string(y2) + ' ' + stateWord(state);
}
