#pragma once

/// Resource ids of the texts that the analysis host program (tools/kelhost) adds to KELRESRC: its
/// views' commands, titles, list headings and messages. The texts live in
/// KELRESRC/strings-kelhost.txt; a command's fly-over text has the id of the command + 0x10000
/// (KelRes::flyOverFor). The ids the design names (find, details, settings, preferences ...) are
/// in KelresrcResourceIds.h.
namespace KelRes {

// --- Commands of the host's views -----------------------------------------------------------------
inline constexpr unsigned long hostFindInSourceCommand = 0xDB00;
inline constexpr unsigned long hostFindInGraphCommand = 0xDB01;
inline constexpr unsigned long hostShowDataMapCommand = 0xDB02;
inline constexpr unsigned long hostStructureTreeCommand = 0xDB03;
inline constexpr unsigned long hostGoToLineCommand = 0xDB04;
inline constexpr unsigned long hostNextFindingCommand = 0xDB05;
inline constexpr unsigned long hostPreviousFindingCommand = 0xDB06;
inline constexpr unsigned long hostPropertiesCommand = 0xDB07;
inline constexpr unsigned long hostReloadCommand = 0xDB08;
inline constexpr unsigned long hostDataMapCommand = 0xDB09;
inline constexpr unsigned long hostCopyCommand = 0xDB0A;
inline constexpr unsigned long hostFindDeclarationCommand = 0xDB0B;
inline constexpr unsigned long hostListPreferencesCommand = 0xDB0C;
/// The statements of every program that read or write the selected data item's bytes.
inline constexpr unsigned long hostImpactCommand = 0xDB0D;
/// The selected copybook's records laid out on their own.
inline constexpr unsigned long hostCopybookMapCommand = 0xDB0E;

// --- Window titles: "<view> - <unit>" ---------------------------------------------------------------
inline constexpr unsigned long hostBrowserTitle = 0xDB20;
inline constexpr unsigned long hostSymbolsTitle = 0xDB21;
inline constexpr unsigned long hostProgramsTitle = 0xDB22;
inline constexpr unsigned long hostMembersTitle = 0xDB23;
inline constexpr unsigned long hostTreeTitle = 0xDB24;
/// The symbols view's own preferences notebook.
inline constexpr unsigned long hostListPreferencesTitle = 0xDB26;

// --- A unit recorded again while its views are open -------------------------------------------------
inline constexpr unsigned long hostUnitReplaced = 0xDB40;
inline constexpr unsigned long hostUnitGone = 0xDB41;
inline constexpr unsigned long hostReloadButton = 0xDB42;
inline constexpr unsigned long hostUnitsAdded = 0xDB43;
inline constexpr unsigned long hostNoUnitsYet = 0xDB44;

// --- Source browser ---------------------------------------------------------------------------------
/// "Line %1 of %2: %3" (the line, the number of lines, where it comes from).
inline constexpr unsigned long hostBrowserLineStatus = 0xDB50;
/// "%1 %2 (%3)": a token's type name, its text, its data item's long name.
inline constexpr unsigned long hostBrowserTokenStatus = 0xDB51;
inline constexpr unsigned long hostBrowserNotFound = 0xDB52;
inline constexpr unsigned long hostBrowserWrapped = 0xDB53;
inline constexpr unsigned long hostGoToLineTitle = 0xDB54;
inline constexpr unsigned long hostGoToLineLabel = 0xDB55;
inline constexpr unsigned long hostBrowserNoFindings = 0xDB56;
/// "Finding %1 of %2 lines with findings: %3".
inline constexpr unsigned long hostBrowserFindingStatus = 0xDB57;
inline constexpr unsigned long hostBrowserCopyLabel = 0xDB58;
inline constexpr unsigned long hostBrowserEndOfCopyLabel = 0xDB59;
inline constexpr unsigned long hostBrowserDateFieldMark = 0xDB5A;
inline constexpr unsigned long hostBrowserWindowSiteMark = 0xDB5B;
inline constexpr unsigned long hostBrowserSummary = 0xDB5C;

// --- List views --------------------------------------------------------------------------------------
inline constexpr unsigned long hostSymbolsColumns = 0xDB60;  ///< "Level|Name|Offset|..."
inline constexpr unsigned long hostProgramsColumns = 0xDB61;
inline constexpr unsigned long hostMembersColumns = 0xDB62;
inline constexpr unsigned long hostSymbolsSummary = 0xDB63;
inline constexpr unsigned long hostProgramsSummary = 0xDB64;
inline constexpr unsigned long hostMembersSummary = 0xDB65;
inline constexpr unsigned long hostListFilterLabel = 0xDB66;
inline constexpr unsigned long hostListFilterHint = 0xDB67;
inline constexpr unsigned long hostProgramsCalls = 0xDB68;
inline constexpr unsigned long hostProgramsCalledBy = 0xDB69;
inline constexpr unsigned long hostProgramsStatic = 0xDB6A;
inline constexpr unsigned long hostProgramsDynamic = 0xDB6B;
inline constexpr unsigned long hostProgramsInUnit = 0xDB6C;
inline constexpr unsigned long hostProgramsOutside = 0xDB6D;
inline constexpr unsigned long hostProgramsNone = 0xDB6E;
inline constexpr unsigned long hostMembersProgramSource = 0xDB6F;

// --- Analysing sources (kelhost --analyze) ---------------------------------------------------------
inline constexpr unsigned long hostAnalysisTitle = 0xDB80;
inline constexpr unsigned long hostAnalysisChecking = 0xDB81;
inline constexpr unsigned long hostAnalysisRecording = 0xDB82;
inline constexpr unsigned long hostAnalysisCancel = 0xDB83;
inline constexpr unsigned long hostAnalysisFailures = 0xDB84;
inline constexpr unsigned long hostDatabaseProblemTitle = 0xDB85;
inline constexpr unsigned long hostWaitingForDatabase = 0xDB86;

} // namespace KelRes
