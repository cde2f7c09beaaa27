#pragma once

/// Resource ids of the UI extension library's own texts, library KELAE20W (platform/uiext).
/// The texts live in KELAE20W/strings.txt.
namespace UiextRes {

// --- Settings notebooks: "Page " + n + " of " + m ---------------------------------------------------
inline constexpr unsigned long pageText = 0x3190;
inline constexpr unsigned long pageOfText = 0x3191;

// --- Hover help selector (command id and text) ----------------------------------------------------
inline constexpr unsigned long hoverHelpCommand = 0x3200;
inline constexpr unsigned long hoverHelpFlyOver = 0x13200;

// --- Help windows --------------------------------------------------------------------------------
inline constexpr unsigned long helpTitle = 0x3210;
inline constexpr unsigned long helpIndexButton = 0x3211;
inline constexpr unsigned long helpBackButton = 0x3212;
inline constexpr unsigned long helpForwardButton = 0x3213;
inline constexpr unsigned long helpCloseButton = 0x3214;
/// Followed by the directory where the help was looked for.
inline constexpr unsigned long helpMissing = 0x3215;
inline constexpr unsigned long usingHelpTitle = 0x3216;

// --- Product information ---------------------------------------------------------------------------
inline constexpr unsigned long productInformationClose = 0x3220;

// --- Find and replace ------------------------------------------------------------------------------
inline constexpr unsigned long findTitle = 0x3230;
inline constexpr unsigned long findReplaceTitle = 0x3231;
inline constexpr unsigned long findWhatLabel = 0x3232;
inline constexpr unsigned long replaceWithLabel = 0x3233;
inline constexpr unsigned long matchCaseOption = 0x3234;
inline constexpr unsigned long wholeWordOption = 0x3235;
inline constexpr unsigned long backwardOption = 0x3236;
inline constexpr unsigned long findNextButton = 0x3237;
inline constexpr unsigned long replaceButton = 0x3238;
inline constexpr unsigned long replaceAllButton = 0x3239;
inline constexpr unsigned long findCloseButton = 0x323A;

} // namespace UiextRes
