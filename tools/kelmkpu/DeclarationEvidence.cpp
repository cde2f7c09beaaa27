#include "DeclarationEvidence.h"

#include "NumericLayout.h"

#include <array>
#include <cctype>
#include <string>
#include <string_view>

namespace kelmkpu {

namespace {

std::vector<std::string> nameTokens(const std::string &name)
{
    std::vector<std::string> tokens(1);
    for (char c : name) {
        if (c == '-' || c == '_') {
            if (!tokens.back().empty())
                tokens.emplace_back();
            continue;
        }
        tokens.back() += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (tokens.back().empty())
        tokens.pop_back();
    return tokens;
}

struct Layout
{
    std::string_view token;
    std::uint32_t characters;
    std::uint32_t yearBytes;
};

constexpr std::array<Layout, 6> layouts{{
    {"YYMMDD", 6, 2},
    {"YYDDD", 5, 2},
    {"CCYYMMDD", 8, 4},
    {"YYYYMMDD", 8, 4},
    {"CCYYDDD", 7, 4},
    {"YYYYDDD", 7, 4},
}};

} // namespace

DeclarationEvidence::Result DeclarationEvidence::classify(const DataItem &item)
{
    Result result;
    if (!item.elementary)
        return result;
    const std::vector<std::string> tokens = nameTokens(item.name);
    bool candidate = false;
    for (const std::string &token : tokens) {
        if (token == "YY" || token == "YR" || token == "YEAR" || token == "YYYY"
            || token == "CCYY") {
            const int whole = static_cast<int>(item.digits) - item.scale;
            const bool numeric = item.category == ItemCategory::NumericDisplay
                                 || item.category == ItemCategory::NumericPacked
                                 || item.category == ItemCategory::NumericBinary;
            if (numeric && item.scale == 0 && (whole == 2 || whole == 4)) {
                result.match = Match::Year;
                result.yearBytes = NumericLayout::valueBytes(item);
                return result;
            }
            candidate = true;
        }
        if (token == "DATE" || token == "DT" || token == "DOB")
            candidate = true;
        for (const Layout &layout : layouts) {
            if (token != layout.token)
                continue;
            const bool display = item.category == ItemCategory::NumericDisplay && item.scale == 0
                                 && item.digits == layout.characters
                                 && item.length == layout.characters;
            const bool text = item.category == ItemCategory::Alphanumeric
                              && item.length == layout.characters;
            if (display || text) {
                result.match = Match::Year;
                for (std::uint32_t i = 0; i < layout.yearBytes; ++i)
                    result.yearBytes.push_back(i);
                return result;
            }
            candidate = true;
        }
    }
    if (candidate)
        result.match = Match::Candidate;
    return result;
}

} // namespace kelmkpu
