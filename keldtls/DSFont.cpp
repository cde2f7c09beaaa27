#include "DSFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

QFont DSFont::systemFont()
{
    return QGuiApplication::font();
}

QFont DSFont::fontFromId(long id)
{
    switch (id) {
    case oemFixedFont:
    case ansiFixedFont:
    case systemFixedFont:
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    case defaultGuiFont:
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    default:
        return systemFont();
    }
}
