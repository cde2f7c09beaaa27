#pragma once

/// Resource ids of the texts that the settings, details and preferences library (keldtls) adds
/// to KELRESRC. The texts live in KELRESRC/strings-keldtls.txt; the ids the design names for
/// these windows (titles, tab texts, the details labels) are in KelresrcResourceIds.h.
namespace KelRes {

// --- Preference pages: check boxes of the preference sets -----------------------------------------
inline constexpr unsigned long scrollCouplingGroup = 0xD100;
inline constexpr unsigned long requestScrollOption = 0xD101;
inline constexpr unsigned long scrollOnRequestOption = 0xD102;
inline constexpr unsigned long surfOnScrollOption = 0xD103;
inline constexpr unsigned long overviewOption = 0xD104;
inline constexpr unsigned long returnArcsOption = 0xD105;
inline constexpr unsigned long hoverHelpOption = 0xD106;
inline constexpr unsigned long zoomSliderOption = 0xD107;
inline constexpr unsigned long progressSliderOption = 0xD108;
inline constexpr unsigned long dataSymbolsOption = 0xD109;
inline constexpr unsigned long relatedSourceOption = 0xD10A;
inline constexpr unsigned long displayGroup = 0xD10B;
/// One line above a preference page's buttons: what Apply does.
inline constexpr unsigned long preferencesHint = 0xD10C;

// --- Preference pages: the browser's font -----------------------------------------------------------
inline constexpr unsigned long fontGroup = 0xD10D;
inline constexpr unsigned long fontNameLabel = 0xD10E;
inline constexpr unsigned long fontSizeLabel = 0xD10F;
inline constexpr unsigned long sampleGroup = 0xD110;
/// A line of COBOL shown in the chosen font.
inline constexpr unsigned long fontSampleText = 0xD111;

// --- Preference pages: buttons --------------------------------------------------------------------
inline constexpr unsigned long applyButton = 0xD112;
inline constexpr unsigned long defaultsButton = 0xD113;
inline constexpr unsigned long undoButton = 0xD114;

// --- Token colour page ----------------------------------------------------------------------------
inline constexpr unsigned long tokenTypeLabel = 0xD120;
inline constexpr unsigned long styleGroup = 0xD121;
/// The four style check boxes, for bits 15, 14, 13 and 12 of a token-attribute word.
inline constexpr unsigned long underlineStyle = 0xD122;
inline constexpr unsigned long italicStyle = 0xD123;
inline constexpr unsigned long boldStyle = 0xD124;
inline constexpr unsigned long strikeOutStyle = 0xD125;
inline constexpr unsigned long colourGroup = 0xD126;
inline constexpr unsigned long textColourChoice = 0xD127;
inline constexpr unsigned long backgroundColourChoice = 0xD128;
inline constexpr unsigned long changeColourButton = 0xD12A;
inline constexpr unsigned long allTokensButton = 0xD12B;
inline constexpr unsigned long defaultColoursButton = 0xD12C;
inline constexpr unsigned long resetColoursButton = 0xD12D;
/// Tool tips of the token colour page's buttons.
inline constexpr unsigned long changeColourTip = 0xD1A0;
inline constexpr unsigned long allTokensTip = 0xD1A1;
inline constexpr unsigned long defaultColoursTip = 0xD1A2;
inline constexpr unsigned long resetColoursTip = 0xD1A3;
inline constexpr unsigned long applyColoursTip = 0xD1A4;
/// Names of the 16 palette colours (tool tips of the swatches), colour 0 first.
inline constexpr unsigned long firstPaletteColourName = 0xD130;
constexpr unsigned long paletteColourName(int index)
{
    return firstPaletteColourName + static_cast<unsigned long>(index);
}

// --- Messages -------------------------------------------------------------------------------------
/// Title of the message box shown when preferences cannot be saved.
inline constexpr unsigned long preferencesNotSavedTitle = 0xD140;
/// Followed by the reason (which names the profile file).
inline constexpr unsigned long preferencesNotSaved = 0xD141;

// --- Program unit settings: row labels ------------------------------------------------------------
inline constexpr unsigned long languageCodeLabel = 0xD150;
inline constexpr unsigned long expandedSourceLabel = 0xD151;
inline constexpr unsigned long versionLabel = 0xD152;
inline constexpr unsigned long releaseLabel = 0xD153;
inline constexpr unsigned long analyzedLabel = 0xD154;
inline constexpr unsigned long linkableLabel = 0xD155;
inline constexpr unsigned long stateLabel = 0xD156;
inline constexpr unsigned long timeStampLabel = 0xD157;
inline constexpr unsigned long codePageLabel = 0xD158;

// --- Data item details: rows after the design's seven ---------------------------------------------
inline constexpr unsigned long valueLabel = 0xD160;
inline constexpr unsigned long declaredInLabel = 0xD161;
inline constexpr unsigned long storageAreaLabel = 0xD162;

// --- Program unit property window -----------------------------------------------------------------
inline constexpr unsigned long sourcePageTab = 0xD170;
inline constexpr unsigned long compilerPageTab = 0xD171;
inline constexpr unsigned long analysisPageTab = 0xD172;
inline constexpr unsigned long cancelButton = 0xD173;
inline constexpr unsigned long languageLabel = 0xD174;
inline constexpr unsigned long dialectLabel = 0xD175;
inline constexpr unsigned long binaryLayoutLabel = 0xD176;
inline constexpr unsigned long copyLibrariesLabel = 0xD177;
inline constexpr unsigned long copyStatementsLabel = 0xD178;
inline constexpr unsigned long replacingLabel = 0xD179;
inline constexpr unsigned long compiledCleanLabel = 0xD17A;
inline constexpr unsigned long builderVersionLabel = 0xD17B;
inline constexpr unsigned long copybookFilesLabel = 0xD17C;
inline constexpr unsigned long recordedLabel = 0xD180;
inline constexpr unsigned long tokensLabel = 0xD181;
inline constexpr unsigned long expandedLinesLabel = 0xD182;
inline constexpr unsigned long syntaxNodesLabel = 0xD183;
inline constexpr unsigned long dataItemsLabel = 0xD184;
inline constexpr unsigned long recordsLabel = 0xD185;
inline constexpr unsigned long dateFieldsFoundLabel = 0xD186;
inline constexpr unsigned long windowSitesLabel = 0xD187;
inline constexpr unsigned long dateFieldKindsLabel = 0xD188;
/// Followed by the reason the unit could not be loaded.
inline constexpr unsigned long unitNotLoaded = 0xD189;
inline constexpr unsigned long cobolLanguage = 0xD18A;
inline constexpr unsigned long yesText = 0xD18B;
inline constexpr unsigned long noText = 0xD18C;
inline constexpr unsigned long defaultCopyLibrary = 0xD18D;
inline constexpr unsigned long noneText = 0xD18E;
/// How a dialect lays out binary items: 2, 4 or 8 bytes (ibm, mvs ...), the fewest bytes (mf),
/// 1, 2, 4 or 8 bytes (default, cobol2014 ...).
inline constexpr unsigned long twoFourEightLayout = 0xD190;
inline constexpr unsigned long minimalLayout = 0xD191;
inline constexpr unsigned long oneTwoFourEightLayout = 0xD192;

} // namespace KelRes
