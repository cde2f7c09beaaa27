#include "KelBrowserPreferences.h"

#include "DSFont.h"
#include "ICurrentApplication.h"
#include "KelresrcResourceIds.h"

namespace {

const QString unset = QStringLiteral("NULL");
constexpr int largestFontSize = 999;

bool isFontSize(const QString &text)
{
    bool ok = false;
    const int points = text.trimmed().toInt(&ok);
    return ok && points >= 1 && points <= largestFontSize;
}

} // namespace

KelBrowserPreferences::KelBrowserPreferences(QWidget *owner)
    : KelPreferences(owner, KelRes::browserView, KelRes::browserViewName)
{
    preferences();
}

std::vector<KelPreferences::Flag> KelBrowserPreferences::flags()
{
    return {{"_reqScrl", true, &requestScroll},
            {"_scrlOnReq", true, &scrollOnRequest},
            {"_surfOnScrlReq", false, &surfOnScrollRequest}};
}

QString KelBrowserPreferences::tokenKey(int type) const
{
    return key(QStringLiteral("_") + ICurrentApplication::loadString(KelRes::tokenTypeName(type)));
}

void KelBrowserPreferences::preferences()
{
    loadFlags();
    fontName = store().retrieveString(key(QStringLiteral("_fontName")));
    if (fontName == unset || fontName.trimmed().isEmpty())
        fontName = DSFont::systemFont().family();
    fontSize = store().retrieveString(key(QStringLiteral("_fontSize")));
    if (fontSize == unset || !isFontSize(fontSize))
        fontSize = QString::fromLatin1(defaultFontSize);
    fontSize = QString::number(fontSize.trimmed().toInt());
    for (int type = 0; type < KelTokenAttribute::tokenTypeCount; ++type) {
        const long stored = store().retrieveInteger(tokenKey(type));
        tokenAttributes[static_cast<std::size_t>(type)]
            = KelTokenAttribute::isWord(stored) ? static_cast<KelTokenAttribute::Word>(stored)
                                                : defaultAttributes[static_cast<std::size_t>(type)];
    }
}

void KelBrowserPreferences::applyPreferences()
{
    saveFlags();
    store().saveString(key(QStringLiteral("_fontName")), fontName);
    store().saveString(key(QStringLiteral("_fontSize")), fontSize);
    tellViews("preferencesChanged");
}

void KelBrowserPreferences::applyPreferences2()
{
    for (int type = 0; type < KelTokenAttribute::tokenTypeCount; ++type)
        store().saveInteger(tokenKey(type), tokenAttributes[static_cast<std::size_t>(type)]);
    tellViews("coloursChanged");
}

void KelBrowserPreferences::defaultPreferences()
{
    resetFlags();
    applyPreferences();
}

QFont KelBrowserPreferences::font() const
{
    QFont result(fontName);
    result.setPointSize(isFontSize(fontSize) ? fontSize.trimmed().toInt()
                                             : QString::fromLatin1(defaultFontSize).toInt());
    return result;
}
