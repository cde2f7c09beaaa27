#pragma once

/// Numbers of the analysis database library's messages and texts. The texts live in the
/// library's resource file (interfaces/analysisdb/messages/strings.txt, resource library
/// KELDBMSG), which is also compiled into keldbc; %1, %2 ... are the inserts.
namespace KelMsgId {

// --- Opening and reading a database ---------------------------------------------------------------
/// %1 the file.
inline constexpr unsigned long databaseMissing = 0xF600;
/// %1 the file, %2 the reason.
inline constexpr unsigned long databaseNotOpened = 0xF601;
/// %1 the file, %2 what was found.
inline constexpr unsigned long notAnAnalysisDatabase = 0xF602;
/// %1 the unit, %2 the reason (`DbPu::loadError()`).
inline constexpr unsigned long unitNotLoaded = 0xF603;
/// %1 the file, %2 its schema version, %3 the version this library reads.
inline constexpr unsigned long schemaTooNew = 0xF604;
/// %1 the file, %2 its schema version, %3 the version this library reads.
inline constexpr unsigned long schemaTooOld = 0xF605;
/// %1 the file, %2 the seconds waited.
inline constexpr unsigned long databaseLocked = 0xF606;
/// %1 the file, %2 what is wrong.
inline constexpr unsigned long databaseDamaged = 0xF607;
/// %1 the unit, %2 the file.
inline constexpr unsigned long unitGone = 0xF608;
/// %1 the unit, %2 the file, %3 the reason.
inline constexpr unsigned long unitNotRecorded = 0xF609;
/// %1 the name asked for, %2 the execution unit.
inline constexpr unsigned long unitNotFound = 0xF60A;

// --- Exceptions turned into messages --------------------------------------------------------------
/// %1 the exception's class name, %2 its text.
inline constexpr unsigned long classLibraryException = 0xFE00;
/// No inserts.
inline constexpr unsigned long unknownException = 0xFE01;
/// %1 the text of a consistency check of a view ("Token should have owning node. ...").
inline constexpr unsigned long consistencyCheck = 0xFE0C;

// --- Display texts ------------------------------------------------------------------------------
/// The program-unit states (`DbPu::toIString`), by state value.
inline constexpr unsigned long stateTextBase = 0xF680;
/// The title of the message box.
inline constexpr unsigned long messageTitle = 0xF690;

} // namespace KelMsgId
