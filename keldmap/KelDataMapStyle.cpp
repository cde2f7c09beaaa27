#include "KelDataMapStyle.h"

namespace KelDataMapStyle {

QColor background()
{
    return QColor(0xFF, 0xFF, 0xFF);
}

QColor rowBand()
{
    return QColor(0xF6, 0xF8, 0xFB);
}

QColor rowLine()
{
    return QColor(0xC9, 0xCF, 0xD8);
}

QColor endLine()
{
    return QColor(0x6B, 0x75, 0x85);
}

QColor paneFrame()
{
    return QColor(0x9A, 0xA4, 0xB3);
}

QColor rulerBackground()
{
    return QColor(0xEC, 0xEF, 0xF4);
}

QColor rulerText()
{
    return QColor(0x33, 0x3B, 0x47);
}

QColor nameText()
{
    return QColor(0x10, 0x14, 0x1A);
}

QColor fillerText()
{
    return QColor(0x6B, 0x75, 0x85);
}

QColor captionText()
{
    return QColor(0x00, 0x6D, 0x77);
}

QColor disclosure()
{
    return QColor(0x4A, 0x55, 0x66);
}

QColor fill(Box box)
{
    switch (box) {
    case Box::record:
        return QColor(0xE3, 0xE9, 0xF2);
    case Box::group:
        return QColor(0xEE, 0xF2, 0xF8);
    case Box::elementary:
        return QColor(0xFF, 0xFF, 0xFF);
    case Box::otherView:
        return QColor(0xF1, 0xEC, 0xFA);
    case Box::dateField:
        return QColor(0xFF, 0xE6, 0xA6);
    case Box::selected:
        return QColor(0xD3, 0xE4, 0xFF);
    }
    return QColor(0xFF, 0xFF, 0xFF);
}

QColor border(Box box)
{
    switch (box) {
    case Box::record:
    case Box::group:
    case Box::elementary:
        return QColor(0xA9, 0xB3, 0xC1);
    case Box::otherView:
        return QColor(0xA8, 0x96, 0xCC);
    case Box::dateField:
        return QColor(0xD9, 0x82, 0x00);
    case Box::selected:
        return QColor(0x1E, 0x62, 0xD0);
    }
    return QColor(0xA9, 0xB3, 0xC1);
}

QColor dateFieldBar()
{
    return QColor(0xE0, 0x7A, 0x00);
}

} // namespace KelDataMapStyle
