#pragma once

/// Resource ids of the texts that the data map (keldmap) adds to KELRESRC. The texts live in
/// KELRESRC/strings-keldmap.txt; the ids the design names for the map (its view name and title,
/// its eighteen actions) are in KelresrcResourceIds.h.
namespace KelRes {

// --- Commands the map adds to the design's: their menu texts (fly-over: id + 0x10000) ------------
inline constexpr unsigned long mapMenu = 0xDA00; ///< the "Map" menu's title
inline constexpr unsigned long mapZoomInCommand = 0xDA01;
inline constexpr unsigned long mapZoomOutCommand = 0xDA02;
inline constexpr unsigned long mapActualSizeCommand = 0xDA03;
inline constexpr unsigned long mapCopyTextCommand = 0xDA04;
inline constexpr unsigned long mapSaveCommand = 0xDA05;
/// Opens the preferences notebook of the browser and the grapher (KelPreferencesView).
inline constexpr unsigned long mapViewPreferencesCommand = 0xDA07;

// --- Legend and record chooser ---------------------------------------------------------------------
inline constexpr unsigned long mapLegendDateField = 0xDA10;
inline constexpr unsigned long mapLegendOtherView = 0xDA11;
inline constexpr unsigned long mapLegendGroup = 0xDA12;
inline constexpr unsigned long mapLegendSelected = 0xDA13;
inline constexpr unsigned long mapRecordLabel = 0xDA14;
/// The record chooser's tool tip.
inline constexpr unsigned long mapRecordChooserTip = 0xDA15;

// --- Texts about an item (tool tip and info area) ----------------------------------------------------
/// %1 offset, %2 length (bytes).
inline constexpr unsigned long mapOffsetLength = 0xDA20;
/// %1 picture, %2 usage.
inline constexpr unsigned long mapPictureUsage = 0xDA21;
/// %1 what the analysis found ("ALWAYS-YEAR bytes 1-2").
inline constexpr unsigned long mapDateFieldText = 0xDA22;
/// %1 the item's long name, %2 offset, %3 length: the info area for the selected item.
inline constexpr unsigned long mapSelectedItem = 0xDA23;
/// %1 the REDEFINES or RENAMES object.
inline constexpr unsigned long mapRedefinesText = 0xDA24;

// --- Find, copy, save -------------------------------------------------------------------------------
/// %1 the unit, %2 the text looked for.
inline constexpr unsigned long mapNotFound = 0xDA30;
inline constexpr unsigned long mapFindWrapped = 0xDA31;
/// %1 the record.
inline constexpr unsigned long mapCopied = 0xDA32;
inline constexpr unsigned long mapSaveTitle = 0xDA33;
inline constexpr unsigned long mapSaveFilters = 0xDA34;
/// %1 the file, %2 the reason.
inline constexpr unsigned long mapSaveFailed = 0xDA35;
/// %1 the record, %2 and %3 the picture's width and height in pixels.
inline constexpr unsigned long mapTooLargeForPng = 0xDA36;
/// %1 the file.
inline constexpr unsigned long mapSaved = 0xDA37;
/// %1 the unit.
inline constexpr unsigned long mapNoRecords = 0xDA38;
/// %1 the unit, %2 the reason.
inline constexpr unsigned long mapUnitNotLoaded = 0xDA39;
/// The title of the map's message boxes.
inline constexpr unsigned long mapMessageTitle = 0xDA3A;

} // namespace KelRes
