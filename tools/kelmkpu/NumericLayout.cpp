#include "NumericLayout.h"

#include <cctype>

namespace kelmkpu {

std::string NumericLayout::expandPicture(const std::string &picture)
{
    std::string out;
    for (std::size_t i = 0; i < picture.size() && out.size() < 4096; ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(picture[i])));
        if (c == '(' && !out.empty()) {
            const std::size_t close = picture.find(')', i);
            if (close == std::string::npos)
                break;
            std::size_t count = 0;
            for (std::size_t k = i + 1; k < close; ++k) {
                if (!std::isdigit(static_cast<unsigned char>(picture[k])))
                    break;
                count = count * 10 + static_cast<std::size_t>(picture[k] - '0');
                if (count > 4096)
                    break;
            }
            if (count > 1)
                out.append(std::min<std::size_t>(count - 1, 4096 - out.size()), out.back());
            i = close;
            continue;
        }
        out += c;
    }
    return out;
}

bool NumericLayout::isNumeric(const DataItem &item)
{
    switch (item.category) {
    case ItemCategory::NumericDisplay:
    case ItemCategory::NumericPacked:
    case ItemCategory::NumericBinary:
    case ItemCategory::NumericEdited:
        return true;
    case ItemCategory::Group:
    case ItemCategory::Alphanumeric:
    case ItemCategory::Other:
        return false;
    }
    return false;
}

std::vector<NumericLayout::Digit> NumericLayout::digits(const DataItem &item)
{
    std::vector<Digit> out;
    const int intDigits = static_cast<int>(item.digits) - item.scale;
    switch (item.category) {
    case ItemCategory::NumericDisplay: {
        const std::uint32_t first = item.leadingSignByte ? 1 : 0;
        for (std::uint32_t j = 0; j < item.digits && first + j < item.length; ++j)
            out.push_back({intDigits - 1 - static_cast<int>(j), first + j});
        break;
    }
    case ItemCategory::NumericPacked: {
        // Digits fill the nibbles from the right, the last nibble holds the sign.
        const std::uint64_t nibbles = 2ull * item.length;
        if (item.digits + 1 > nibbles)
            break;
        for (std::uint32_t j = 0; j < item.digits; ++j) {
            const std::uint64_t nibble = nibbles - 1 - item.digits + j;
            out.push_back(
                {intDigits - 1 - static_cast<int>(j), static_cast<std::uint32_t>(nibble / 2)});
        }
        break;
    }
    case ItemCategory::NumericEdited: {
        const std::string pic = expandPicture(item.picture);
        std::vector<std::uint32_t> positions;
        std::size_t pointAt = std::string::npos;
        std::uint32_t byte = 0;
        for (std::size_t i = 0; i < pic.size(); ++i) {
            const char c = pic[i];
            if (c == 'V' || c == 'P' || c == 'S') {
                if (c == 'V')
                    pointAt = positions.size();
                continue;
            }
            const bool floating = (c == '+' || c == '-' || c == '$')
                                  && ((i > 0 && pic[i - 1] == c));
            if (c == '9' || c == 'Z' || c == '*' || floating)
                positions.push_back(byte);
            if (c == '.' && pointAt == std::string::npos)
                pointAt = positions.size();
            ++byte;
        }
        if (byte != item.length)
            break; // the picture does not describe the bytes: no digit mapping
        const int whole = static_cast<int>(pointAt == std::string::npos ? positions.size()
                                                                        : pointAt);
        for (std::size_t j = 0; j < positions.size(); ++j)
            out.push_back({whole - 1 - static_cast<int>(j), positions[j]});
        break;
    }
    case ItemCategory::NumericBinary:
    case ItemCategory::Group:
    case ItemCategory::Alphanumeric:
    case ItemCategory::Other:
        break;
    }
    return out;
}

std::vector<std::uint32_t> NumericLayout::valueBytes(const DataItem &item)
{
    std::vector<std::uint32_t> out;
    if (item.category == ItemCategory::NumericDisplay
        || item.category == ItemCategory::NumericEdited) {
        for (const Digit &digit : digits(item))
            out.push_back(digit.byte);
        if (!out.empty())
            return out;
    }
    for (std::uint32_t i = 0; i < item.length; ++i)
        out.push_back(i);
    return out;
}

} // namespace kelmkpu
