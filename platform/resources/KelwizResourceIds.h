#pragma once

/// Resource ids of the conversion wizard's library KELWIZRS (texts and images), shared by the
/// wizard, the conversion engine and the launcher. The texts live in KELWIZRS/strings.txt, the
/// images in KELWIZRS/images/<id>.svg.
namespace KelwizRes {

// --- Wizard frame and introductory panel -------------------------------------------------------
inline constexpr unsigned long wizardTitle = 62977;
inline constexpr unsigned long wizardSideBitmap = 62723; ///< image, 160 x 320
inline constexpr unsigned long wizardIcon = 62721;       ///< image, 32 x 32
inline constexpr unsigned long introWelcome = 62996;
inline constexpr unsigned long introPurpose = 62997;
inline constexpr unsigned long introStepsLead = 62998;
inline constexpr unsigned long introStepFiles = 62999;    ///< bullet
inline constexpr unsigned long introStepSeedFile = 63000; ///< bullet
inline constexpr unsigned long introStepSummary = 63002;  ///< bullet
inline constexpr unsigned long introClosing = 62979;
inline constexpr unsigned long helpWindowTitle = 62989;
inline constexpr unsigned long helpLibraryName = 62990;
/// Followed by the output directory and ".".
inline constexpr unsigned long projectToolNotStarted = 62465;

// --- COBOL file selection panel ----------------------------------------------------------------
inline constexpr unsigned long fileSelectionHeading = 63016;
inline constexpr unsigned long fileDialogLabel = 63017;
inline constexpr unsigned long fileTypeCbl = 63018;
inline constexpr unsigned long fileTypeCvt = 63019;
inline constexpr unsigned long fileTypeScb = 63020;
inline constexpr unsigned long addButton = 62986;
inline constexpr unsigned long removeButton = 62987;
inline constexpr unsigned long filesToConvertHeading = 63021;
inline constexpr unsigned long noFilesSelected = 63022;

// --- Seed file panel ---------------------------------------------------------------------------
inline constexpr unsigned long seedPanelHeading = 63036;
inline constexpr unsigned long seedFileLabel = 63037;
inline constexpr unsigned long outputDirectoryLabel = 63038;
inline constexpr unsigned long conversionTitleLabel = 63039;
inline constexpr unsigned long browseButton = 62983;
inline constexpr unsigned long seedFileDialogTitle = 63040;
inline constexpr unsigned long seedFileType = 63041;
inline constexpr unsigned long seedFileDialogAccept = 62991;
inline constexpr unsigned long outputDirectoryDialogTitle = 63042;
/// Missing values (seed file, output directory, title); missingValuesHint is appended to each.
inline constexpr unsigned long missingSeedOutputTitle = 63043;
inline constexpr unsigned long missingSeedOutput = 63044;
inline constexpr unsigned long missingSeedTitle = 63045;
inline constexpr unsigned long missingSeed = 63046;
inline constexpr unsigned long missingOutputTitle = 63047;
inline constexpr unsigned long missingOutput = 63048;
inline constexpr unsigned long missingTitle = 63049;
inline constexpr unsigned long missingValuesHint = 63233;
/// Appended to the seed file path.
inline constexpr unsigned long seedFileNotFound = 63234;
/// Appended to the output directory; a Yes/No question.
inline constexpr unsigned long createOutputDirectory = 63235;

// --- Summary panel -----------------------------------------------------------------------------
inline constexpr unsigned long summaryHeading = 63076;
inline constexpr unsigned long summaryListHeading = 63077;
/// The next three open a "<size=..>" tag that the program closes after the value.
inline constexpr unsigned long summarySeedFile = 63078;
inline constexpr unsigned long summaryOutputDirectory = 63079;
inline constexpr unsigned long summaryTitle = 63080;
inline constexpr unsigned long summaryClosing = 62980;

// --- Progress window ---------------------------------------------------------------------------
inline constexpr unsigned long progressIcon = 62722; ///< image, 32 x 32
/// Twenty animation frames, 96 x 96, shown in order: animationFirstFrame + 0 ... + 19.
inline constexpr unsigned long animationFirstFrame = 62728;
inline constexpr unsigned long animationLastFrame = 62747;
inline constexpr unsigned long statusColumnHeading = 63096;
inline constexpr unsigned long fileColumnHeading = 63097;
inline constexpr unsigned long compiledLabel = 63098;
inline constexpr unsigned long analysedLabel = 63099;
inline constexpr unsigned long convertedLabel = 63100;
inline constexpr unsigned long progressHeading = 63101;
inline constexpr unsigned long cancelButton = 63102;
inline constexpr unsigned long helpButton = 63103;
inline constexpr unsigned long progressStartStatus = 63104;
/// Suffixes after a count.
inline constexpr unsigned long failedSuffix = 63105;
inline constexpr unsigned long succeededSuffix = 63106;

// --- Conversion engine: questions, status line, final messages ---------------------------------
inline constexpr unsigned long confirmCancel = 63107;
inline constexpr unsigned long confirmCloseWhileRunning = 63108;
inline constexpr unsigned long statusCompiling = 63109;
inline constexpr unsigned long statusAnalysing = 63110;
inline constexpr unsigned long statusConverting = 63111;
inline constexpr unsigned long statusCreatingProject = 63112;
inline constexpr unsigned long statusFinished = 63113;
inline constexpr unsigned long statusCancelled = 63114;
inline constexpr unsigned long statusStoppedByError = 63115;
inline constexpr unsigned long finalProjectCreated = 63116;
inline constexpr unsigned long finalNoProject = 63117;
inline constexpr unsigned long questionTitle = 63118;
inline constexpr unsigned long helpNotAvailable = 63119;
/// The window with a source's tool output: title 63120 + base name; 63121 when there is none;
/// its heading lines 63123 + path and 63124 + state text.
inline constexpr unsigned long toolOutputTitle = 63120;
inline constexpr unsigned long toolOutputNone = 63121;
inline constexpr unsigned long toolOutputSource = 63123;
inline constexpr unsigned long toolOutputState = 63124;
/// Appended to the final status when sources failed: %1 failed of %2.
inline constexpr unsigned long statusFailedSources = 63122;

// --- File states: icon and text per state byte -------------------------------------------------
inline constexpr unsigned long iconNotStarted = 62763;
inline constexpr unsigned long iconCompileRunning = 62749;
inline constexpr unsigned long iconCompileOk = 62750;
inline constexpr unsigned long iconCompileWarning = 62751;
inline constexpr unsigned long iconCompileError = 62752;
inline constexpr unsigned long iconAnalysisRunning = 62759;
inline constexpr unsigned long iconAnalysisOk = 62755;
inline constexpr unsigned long iconAnalysisWarning = 62756;
inline constexpr unsigned long iconAnalysisError = 62757;
inline constexpr unsigned long iconCompleteOk = 62760;
inline constexpr unsigned long iconCompleteWarning = 62761;
inline constexpr unsigned long iconCompleteError = 62762;
inline constexpr unsigned long iconConversionRunning = 62764;
inline constexpr unsigned long iconConvertedOk = 62765;
inline constexpr unsigned long iconConvertedWarning = 62766;
inline constexpr unsigned long iconConvertedError = 62767;

inline constexpr unsigned long stateWaiting = 63132;          ///< 0x00
inline constexpr unsigned long stateCompiled = 63133;         ///< 0x11
inline constexpr unsigned long stateCompiledWarnings = 63134; ///< 0x12
inline constexpr unsigned long stateCompileErrors = 63135;    ///< 0x14
inline constexpr unsigned long stateCompileFailed = 63136;    ///< 0x18
/// 0x21, 0x22, 0x24, 0x28: followed by a counter.
inline constexpr unsigned long stateAnalysed = 63137;
inline constexpr unsigned long stateAnalysedWarnings = 63138;
inline constexpr unsigned long stateAnalysisErrorsCounted = 63139;
inline constexpr unsigned long stateAnalysisFailedCounted = 63140;
inline constexpr unsigned long stateComplete = 63141;          ///< 0x41
inline constexpr unsigned long stateCompleteWarnings = 63142;  ///< 0x42
inline constexpr unsigned long stateAnalysisErrors = 63143;    ///< 0x44
inline constexpr unsigned long stateAnalysisFailed = 63144;    ///< 0x48
inline constexpr unsigned long stateConverted = 63145;         ///< 0x81
inline constexpr unsigned long stateConvertedWarnings = 63146; ///< 0x82
inline constexpr unsigned long stateConversionErrors = 63147;  ///< 0x84
inline constexpr unsigned long stateConversionFailed = 63148;  ///< 0x88
inline constexpr unsigned long stateUnknown = 63149;           ///< any other state
inline constexpr unsigned long stateCompiling = 63150;         ///< 0x91
inline constexpr unsigned long stateAnalysing = 63151;         ///< 0x92
inline constexpr unsigned long stateConverting = 63152;        ///< 0x94

// --- Project creation ----------------------------------------------------------------------------
/// Information when no project directory is set (text A), then projectCreatedIn (text B) followed
/// by the directory and ".".
inline constexpr unsigned long noProjectDirectory = 63160;
inline constexpr unsigned long projectCreatedIn = 63161;
/// Project error: projectErrorStart (C) + title + projectErrorEnd (D); then resultsIn (E) +
/// the output directory + ".".
inline constexpr unsigned long projectErrorStart = 63162;
inline constexpr unsigned long projectErrorEnd = 63163;
inline constexpr unsigned long resultsIn = 63164;

// --- Wizard launcher -----------------------------------------------------------------------------
/// The waiting box shows waitingFirst, two empty lines, waitingSecond.
inline constexpr unsigned long waitingFirst = 63170;
inline constexpr unsigned long waitingSecond = 63171;
inline constexpr unsigned long compilerOptionsUnreadable = 63172;
/// The launcher's title (its message boxes).
inline constexpr unsigned long launcherTitle = 63173;

} // namespace KelwizRes
