#pragma once

#include <QFont>

/// The fonts every view library takes its text from: the tree view, the data map, the preference
/// pages and the settings views measure and draw with these, so all of them follow the desktop's
/// font settings alike.
class DSFont final
{
public:
    /// Font ids, numbered as the classic stock fonts so that stored ids keep their meaning.
    enum FontId : long {
        oemFixedFont = 10,      ///< fixed pitch (the console font)
        ansiFixedFont = 11,     ///< fixed pitch
        ansiVariableFont = 12,  ///< proportional
        systemFontId = 13,      ///< the system font (systemFont())
        deviceDefaultFont = 14, ///< proportional
        systemFixedFont = 16,   ///< fixed pitch
        defaultGuiFont = 17     ///< the font of dialogs and controls
    };

    DSFont() = delete;

    /// The system font: the application's font, which the platform theme sets from the desktop's
    /// settings (QApplication::font()). Needs a QGuiApplication.
    static QFont systemFont();

    /// The font with `id` (FontId): the desktop's fixed-pitch font for the fixed ids, the system
    /// font for the others; an unknown id gives the system font.
    static QFont fontFromId(long id);
};
