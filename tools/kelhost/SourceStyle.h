#pragma once

#include "KelTokenAttribute.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>

#include <array>

class QWidget;

/// How the source browser draws: the font and, for each of the ten token types, its colours
/// and style, as the browser preferences (KelBrowserPreferences) say.
///
/// Font: the preferences' font name and size. While the user has not chosen a font (no
/// "_fontName" in KELINI.INI) the browser takes the desktop's fixed-pitch font at the chosen
/// size, so that the columns of a COBOL source line up; a font the user chose is used as it is.
class SourceStyle final
{
public:
    struct Format
    {
        QColor text;
        QColor background; ///< invalid when it is the page's own colour
        KelTokenAttribute::Word styles = 0;
    };

    /// The default style (the preferences' defaults, the fixed-pitch font at 12 points).
    SourceStyle();
    /// A style over explicit words (the preference page's sample, tests).
    SourceStyle(const QFont &font, const KelTokenAttribute::Words &words);

    /// Reads the browser preferences through `owner`'s registration (the browser window).
    static SourceStyle fromPreferences(QWidget *owner);

    const QFont &font() const { return m_font; }
    /// The font of a token's styles (bold, italic, underline, strike-out).
    const QFont &font(KelTokenAttribute::Word styles) const;
    const Format &format(int tokenType) const;
    /// The page's colours: palette white and black.
    QColor pageBackground() const { return m_page; }
    QColor plainText() const { return m_plain; }

    bool isFixedPitch() const { return m_fixedPitch; }
    /// The width of one character cell (fixed pitch), or of the average character.
    int characterWidth() const { return m_characterWidth; }
    int lineHeight() const { return m_lineHeight; }
    int ascent() const { return m_ascent; }

private:
    QFont m_font;
    std::array<QFont, 16> m_styledFonts; ///< by styles >> 12
    std::array<Format, KelTokenAttribute::tokenTypeCount> m_formats;
    QColor m_page;
    QColor m_plain;
    bool m_fixedPitch = true;
    int m_characterWidth = 8;
    int m_lineHeight = 16;
    int m_ascent = 12;
};
