#include "SourceStyle.h"

#include "DSFont.h"
#include "ICurrentApplication.h"
#include "IProfile.h"
#include "KelBrowserPreferences.h"
#include "KelColourPalette.h"
#include "KelresrcResourceIds.h"

#include <QFontInfo>

#include <algorithm>

namespace {

/// The page's own colour (white): backgrounds of this colour are not painted.
constexpr int pageColourIndex = 15;

QFont fixedFont(int pointSize)
{
    QFont font = DSFont::fontFromId(DSFont::systemFixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

bool userChoseFont()
{
    const IProfile profile(QString::fromLatin1(KelRes::preferencesProfileFile));
    const QString key = QStringLiteral("Kel")
                        + ICurrentApplication::loadString(KelRes::browserViewName)
                        + QStringLiteral("_fontName");
    const std::optional<QString> name = profile.value(ICurrentApplication::loadString(
                                                          KelRes::preferencesApplication),
                                                      key);
    return name && !name->isEmpty() && *name != QStringLiteral("NULL");
}

} // namespace

SourceStyle::SourceStyle()
    : SourceStyle(fixedFont(12), KelTokenAttribute::defaults)
{}

SourceStyle::SourceStyle(const QFont &font, const KelTokenAttribute::Words &words)
    : m_font(font)
    , m_page(KelColourPalette::colour(pageColourIndex))
    , m_plain(KelColourPalette::colour(0))
{
    m_font.setKerning(false);
    for (std::size_t styles = 0; styles < m_styledFonts.size(); ++styles) {
        QFont styled = m_font;
        const auto word = static_cast<KelTokenAttribute::Word>(styles << 12);
        styled.setStrikeOut(word & KelTokenAttribute::strikeOut);
        styled.setBold(word & KelTokenAttribute::bold);
        styled.setItalic(word & KelTokenAttribute::italic);
        styled.setUnderline(word & KelTokenAttribute::underline);
        m_styledFonts[styles] = styled;
    }
    for (int type = 0; type < KelTokenAttribute::tokenTypeCount; ++type) {
        const KelTokenAttribute::Word word = words[static_cast<std::size_t>(type)];
        Format &format = m_formats[static_cast<std::size_t>(type)];
        format.text = KelColourPalette::colour(KelTokenAttribute::textColour(word));
        const int background = KelTokenAttribute::backgroundColour(word);
        format.background = background == pageColourIndex ? QColor()
                                                          : KelColourPalette::colour(background);
        format.styles = KelTokenAttribute::styles(word);
    }
    const QFontMetrics metrics(m_font);
    const QFontMetrics bold(m_styledFonts[KelTokenAttribute::bold >> 12]);
    m_fixedPitch = QFontInfo(m_font).fixedPitch()
                   && metrics.horizontalAdvance(QLatin1Char('W'))
                          == metrics.horizontalAdvance(QLatin1Char('i'));
    m_characterWidth = std::max(
        {1, metrics.horizontalAdvance(QLatin1Char('M')), bold.horizontalAdvance(QLatin1Char('M'))});
    if (!m_fixedPitch)
        m_characterWidth = std::max(1, metrics.averageCharWidth());
    m_ascent = std::max(metrics.ascent(), bold.ascent());
    m_lineHeight = std::max(metrics.height(), bold.height()) + 2;
}

SourceStyle SourceStyle::fromPreferences(QWidget *owner)
{
    const KelBrowserPreferences preferences(owner);
    const int size = preferences.fontSize.toInt();
    return SourceStyle(userChoseFont() ? preferences.font() : fixedFont(size),
                       preferences.tokenAttributes);
}

const QFont &SourceStyle::font(KelTokenAttribute::Word styles) const
{
    return m_styledFonts[(styles & KelTokenAttribute::styleMask) >> 12];
}

const SourceStyle::Format &SourceStyle::format(int tokenType) const
{
    const int type = tokenType >= 0 && tokenType < KelTokenAttribute::tokenTypeCount
                         ? tokenType
                         : KelTokenAttribute::tokenTypeCount - 1;
    return m_formats[static_cast<std::size_t>(type)];
}
