#pragma once

/// Resource ids of the texts that the grapher (tools/kelhost/grapher, library kelgraph) adds to
/// KELRESRC. The texts live in KELRESRC/strings-kelgraph.txt.
namespace KelRes {

// --- Commands: their menu texts (fly-over: id + 0x10000) --------------------------------------------
inline constexpr unsigned long graphMenu = 0xDC00; ///< the "Graph" menu's title
inline constexpr unsigned long graphExportSvgCommand = 0xDC01;
inline constexpr unsigned long graphExportDotCommand = 0xDC02;
inline constexpr unsigned long graphFoldSectionsCommand = 0xDC03;
inline constexpr unsigned long graphUnfoldSectionsCommand = 0xDC04;
inline constexpr unsigned long graphCopybooksCommand = 0xDC05;
inline constexpr unsigned long graphPreferencesCommand = 0xDC06;
inline constexpr unsigned long graphFitCommand = 0xDC07;

// --- Window texts ---------------------------------------------------------------------------------
/// "Control Flow - %1": the title of a program unit's graph.
inline constexpr unsigned long graphUnitTitle = 0xDC10;
/// "Programs and Calls - %1": the title of the execution unit's graph.
inline constexpr unsigned long graphEuTitle = 0xDC11;
inline constexpr unsigned long graphZoomLabel = 0xDC12;
inline constexpr unsigned long graphProgressLabel = 0xDC13;
/// "%1 of %2: %3": the progress slider's position.
inline constexpr unsigned long graphProgressStep = 0xDC14;
/// "%1 nodes, %2 arcs, %3 unreachable": the info area after drawing.
inline constexpr unsigned long graphSummary = 0xDC15;
inline constexpr unsigned long graphExportSvgFilter = 0xDC16;
inline constexpr unsigned long graphExportDotFilter = 0xDC17;
/// "Cannot write %1: %2".
inline constexpr unsigned long graphExportFailed = 0xDC18;
/// "%1 has no procedure division to draw."
inline constexpr unsigned long graphEmpty = 0xDC19;
inline constexpr unsigned long graphEntryNote = 0xDC1A;  ///< "entry point"
inline constexpr unsigned long graphUnreachableNote = 0xDC1B; ///< "never reached from an entry"
/// "Double-click to unfold the section" / "to fold it".
inline constexpr unsigned long graphUnfoldHint = 0xDC1C;
inline constexpr unsigned long graphFoldHint = 0xDC1D;
inline constexpr unsigned long graphOverviewTip = 0xDC1E;
inline constexpr unsigned long graphEndNote = 0xDC1F; ///< "ends the run"

} // namespace KelRes
