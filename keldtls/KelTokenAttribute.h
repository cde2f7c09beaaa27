#pragma once

#include <array>
#include <cstdint>

/// A token-attribute word of the browser preferences: how one of the ten token types is drawn.
///
///     bits 0-3    text colour (index into the 16-colour palette, KelColourPalette)
///     bits 4-7    background colour
///     bits 8-11   zero
///     bits 12-15  four independent style flags (Style)
namespace KelTokenAttribute {

using Word = std::uint16_t;

/// The style flags; each is one check box of the token colour page.
enum Style : Word {
    strikeOut = 1u << 12,
    bold = 1u << 13,
    italic = 1u << 14,
    underline = 1u << 15
};
/// The four flags in the order the page shows them: bit 15 down to bit 12.
inline constexpr std::array<Style, 4> stylesShown = {underline, italic, bold, strikeOut};
inline constexpr Word styleMask = 0xF000;
inline constexpr Word reservedMask = 0x0F00;

constexpr Word make(int textColour, int backgroundColour, Word styles = 0)
{
    return static_cast<Word>((textColour & 0xF) | ((backgroundColour & 0xF) << 4)
                             | (styles & styleMask));
}
constexpr int textColour(Word word)
{
    return word & 0xF;
}
constexpr int backgroundColour(Word word)
{
    return (word >> 4) & 0xF;
}
constexpr Word styles(Word word)
{
    return word & styleMask;
}
constexpr Word withTextColour(Word word, int colour)
{
    return make(colour, backgroundColour(word), styles(word));
}
constexpr Word withBackgroundColour(Word word, int colour)
{
    return make(textColour(word), colour, styles(word));
}
constexpr Word withStyle(Word word, Style style, bool on)
{
    return static_cast<Word>(on ? word | style : word & ~Word(style));
}

/// Whether a stored profile value is an attribute word: 0 to 0xFFFF with bits 8-11 clear.
constexpr bool isWord(long value)
{
    return value >= 0 && value <= 0xFFFF && (value & reservedMask) == 0;
}

inline constexpr int tokenTypeCount = 10;
using Words = std::array<Word, tokenTypeCount>;

/// The default words of token types 0 to 9 (keyword, data name, procedure name, literal, comment,
/// picture, level number, copy statement, operator, other).
inline constexpr Words defaults = {make(6, 15),
                                   make(0, 15),
                                   make(0, 15),
                                   make(6, 15),
                                   make(12, 15),
                                   make(5, 15),
                                   make(5, 15),
                                   make(0, 11),
                                   make(3, 15, bold),
                                   make(4, 13)};

} // namespace KelTokenAttribute
