#pragma once

/// Resource ids of the class library's own library CLASSLIB: message box buttons and titles.
/// The texts live in CLASSLIB/strings.txt.
namespace ClasslibRes {

// --- Message box buttons -------------------------------------------------------------------------
inline constexpr unsigned long okButton = 100;
inline constexpr unsigned long cancelButton = 101;
inline constexpr unsigned long yesButton = 102;
inline constexpr unsigned long noButton = 103;
inline constexpr unsigned long retryButton = 104;
inline constexpr unsigned long abortButton = 105;
inline constexpr unsigned long ignoreButton = 106;
inline constexpr unsigned long helpButton = 107;
inline constexpr unsigned long closeButton = 108;

// --- Message box titles --------------------------------------------------------------------------
inline constexpr unsigned long informationTitle = 120;
inline constexpr unsigned long warningTitle = 121;
inline constexpr unsigned long errorTitle = 122;
inline constexpr unsigned long questionTitle = 123;

// --- Reports of the class library itself ---------------------------------------------------------
/// Followed by the exception's text.
inline constexpr unsigned long unexpectedError = 130;
/// Followed by the reason.
inline constexpr unsigned long resourceLibraryMissing = 131;

} // namespace ClasslibRes
