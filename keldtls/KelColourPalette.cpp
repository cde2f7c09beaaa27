#include "KelColourPalette.h"

#include "ICurrentApplication.h"
#include "KeldtlsResourceIds.h"

#include <array>

namespace {

constexpr std::array<QRgb, KelColourPalette::count> rgb = {
    0x000000, // black
    0x800000, // dark red
    0x008000, // green
    0x808000, // olive
    0x000080, // navy
    0x800080, // purple
    0x008080, // teal
    0xC0C0C0, // silver
    0x808080, // grey
    0xFF0000, // red
    0x00FF00, // lime
    0xFFFF00, // yellow
    0x0000FF, // blue
    0xFF00FF, // fuchsia
    0x00FFFF, // aqua
    0xFFFFFF, // white
};

} // namespace

QColor KelColourPalette::colour(int index)
{
    return index >= 0 && index < count ? QColor(rgb[static_cast<std::size_t>(index)])
                                       : QColor(Qt::black);
}

QString KelColourPalette::name(int index)
{
    return ICurrentApplication::loadString(KelRes::paletteColourName(index));
}
