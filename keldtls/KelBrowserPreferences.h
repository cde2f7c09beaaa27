#pragma once

#include "KelPreferences.h"
#include "KelTokenAttribute.h"

#include <QFont>
#include <QString>

/// The source browser's preferences (view 592, keys "KelBrowser..."), loaded when built: three
/// booleans, the font, and the ten token-attribute words (KelTokenAttribute) under
/// "KelBrowser_" + the token type's name (KELRESRC 0xC140 ... 0xC149).
///
/// Reading: "_fontName" and "_fontSize" hold "NULL" when unset; the name then is the system
/// font's (DSFont::systemFont) and the size "12". A token key that is missing takes the type's
/// default word, as does a value that is not an attribute word (negative, above 0xFFFF, or with
/// bits 8-11 set); a stored 0 is a valid word. A size that is not a whole number of points from 1
/// to 999 reads as "12", an empty font name as the system font's.
///
/// applyPreferences() saves the booleans and the font and calls preferencesChanged();
/// applyPreferences2() saves the ten token words and calls coloursChanged(); both with the owner
/// check (KelPreferences). defaultPreferences() puts the booleans back to their defaults and
/// applies, so the views are told; it leaves the font and the token words alone.
class KelBrowserPreferences final : public KelPreferences
{
public:
    explicit KelBrowserPreferences(QWidget *owner);

    static constexpr const char *defaultFontSize = "12";
    /// The sizes the browser page offers.
    static constexpr int fontSizes[] = {9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

    bool requestScroll = true;        ///< "_reqScrl"
    bool scrollOnRequest = true;      ///< "_scrlOnReq"
    bool surfOnScrollRequest = false; ///< "_surfOnScrlReq"
    QString fontName;                 ///< "_fontName"
    QString fontSize;                 ///< "_fontSize"
    /// The words of token types 0 to 9, as loaded or edited.
    KelTokenAttribute::Words tokenAttributes = KelTokenAttribute::defaults;
    /// The default words of token types 0 to 9.
    const KelTokenAttribute::Words defaultAttributes = KelTokenAttribute::defaults;

    void preferences() override;
    void applyPreferences() override;
    /// Saves the ten token-attribute words and tells the views (coloursChanged).
    void applyPreferences2();
    void defaultPreferences() override;

    /// The key of token type `type` (0-9): "KelBrowser_" + its name.
    QString tokenKey(int type) const;
    /// The font the settings name.
    QFont font() const;

protected:
    std::vector<Flag> flags() override;
};
