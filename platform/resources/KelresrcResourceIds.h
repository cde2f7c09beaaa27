#pragma once

/// Resource ids of the analysis views' library KELRESRC (texts and images), shared by the view
/// libraries (kelcomon, kelipc, keltree, keldmap, keldtls) and the host program. The texts live
/// in KELRESRC/strings*.txt (strings.txt holds every id named here; another component adds its
/// own texts in a strings-<component>.txt of its own), the images in KELRESRC/images/<id>.svg.
///
/// Several texts are stored in profile files as application names or keys and must never change
/// once released: the object ids (592-596), the view names (0x7000-0x7005), the token type names
/// (0xC140-0xC149) and the preferences application name (0x7023). They hold no blanks and no
/// characters that INI files treat specially.
///
/// A command id is also the id of its menu text and of its tool bar icon (images/<id>.svg, 24 x 24,
/// drawn by generate-view-icons.py). Its fly-over text has the id flyOverFor(id).
namespace KelRes {

// --- View kinds ----------------------------------------------------------------------------------
// A view number is also the id of the kind's object id, the text under which windows of the kind
// register (RegisterInstance) and find each other (FindLikeObject). The object id of a kind equals
// its view name below, so that a view registered by name (the data map registers with 0x7002) is
// found by the kind's number (showDataMap looks for 596).
inline constexpr unsigned long browserView = 592;       ///< 0x250, "Browser"
inline constexpr unsigned long grapherView = 593;       ///< 0x251, "Grapher"
inline constexpr unsigned long browserColourPage = 594; ///< 0x252, "BrowserColours"
inline constexpr unsigned long symbolsView = 595;       ///< 0x253, "Symbols"
inline constexpr unsigned long dataMapView = 596;       ///< 0x254, "DataMap"

// --- View names: "Kel" + name + suffix are the preference keys ------------------------------------
inline constexpr unsigned long symbolsViewName = 0x7000; ///< "Symbols"
inline constexpr unsigned long treeViewName = 0x7001;    ///< "Tree" (the structure tree view)
/// "DataMap"; also the data map's frame id (its title comes from dataMapTitle).
inline constexpr unsigned long dataMapViewName = 0x7002;
inline constexpr unsigned long grapherViewName = 0x7003; ///< "Grapher"
inline constexpr unsigned long browserViewName = 0x7004; ///< "Browser"
inline constexpr unsigned long desktopViewName = 0x7005; ///< "Desktop": the desktop's object id
/// The data map's title ("Data Map"), followed by the unit's names.
inline constexpr unsigned long dataMapTitle = 0x7006;
inline constexpr unsigned long settingsViewTitle = 0x7021;
inline constexpr unsigned long detailsViewTitle = 0x7022;
/// "Preferences": the profile application of RegisterInstance::profileAppName2() and the title
/// of the preferences notebook.
inline constexpr unsigned long preferencesApplication = 0x7023;

// --- Window registry ------------------------------------------------------------------------------
/// Text of IResourceExhausted when the window table or the slot table is full.
inline constexpr unsigned long registryFull = 600;
/// Text of IInvalidRequest when a registration's entry has gone.
inline constexpr unsigned long registrationGone = 601;

// --- Profiles -------------------------------------------------------------------------------------
/// The file name of the window placement profile ("KELPLACE.INI").
inline constexpr unsigned long placementProfileFile = 0xf039;
/// The preferences profile; a fixed name, not a resource.
inline constexpr char preferencesProfileFile[] = "KELINI.INI";

// --- Token types: names (profile keys) and display names -------------------------------------------
inline constexpr int tokenTypeCount = 10;
/// 0 keyword, 1 data name, 2 procedure name, 3 literal, 4 comment, 5 picture, 6 level number,
/// 7 copy statement, 8 operator, 9 other: names "Keyword" ... "Other".
inline constexpr unsigned long firstTokenTypeName = 0xC140;
/// The same types as shown in lists: "Keyword", "Data name", ...
inline constexpr unsigned long firstTokenTypeDisplayName = 0xC150;
constexpr unsigned long tokenTypeName(int type)
{
    return firstTokenTypeName + static_cast<unsigned long>(type);
}
constexpr unsigned long tokenTypeDisplayName(int type)
{
    return firstTokenTypeDisplayName + static_cast<unsigned long>(type);
}

// --- Menus of the view window base: plain actions whose text is the menu's title ----------------
inline constexpr unsigned long fileMenu = 0x6000;
inline constexpr unsigned long helpMenu = 0x6001;
inline constexpr unsigned long viewMenu = 0x6009;
inline constexpr unsigned long windowMenu = 0x6019;
inline constexpr unsigned long optionsMenu = 0x6025;
inline constexpr unsigned long editMenu = 0x6031;
inline constexpr unsigned long selectedMenu = 0x6051;
inline constexpr unsigned long scrollCouplingMenu = 0x6108; ///< submenu of Options
inline constexpr unsigned long toolBarMenu = 0x6126;        ///< submenu of Options

// --- Commands of the view window base --------------------------------------------------------------
inline constexpr unsigned long controlGraphCommand = 0x6002;
inline constexpr unsigned long relatedProgramsCommand = 0x6003;
inline constexpr unsigned long symbolsUsedCommand = 0x6004;
inline constexpr unsigned long relatedSourceCommand = 0x6005;
inline constexpr unsigned long expandedSourceCommand = 0x6006;
inline constexpr unsigned long requestScrollCommand = 0x6032;
inline constexpr unsigned long scrollOnRequestCommand = 0x6033;
inline constexpr unsigned long surfOnScrollCommand = 0x6091;
inline constexpr unsigned long savePlacementCommand = 0x6076;
inline constexpr unsigned long restoreOriginalPlacementCommand = 0x6081;
inline constexpr unsigned long restoreSavedPlacementCommand = 0x7020;
inline constexpr unsigned long closeWindowCommand = 0x3117;
inline constexpr unsigned long tutorialCommand = 1500;
inline constexpr unsigned long helpCommand = 1300;
inline constexpr unsigned long exceptionLogCommand = 0x6109;

// --- Fly-over texts the design fixes -------------------------------------------------------------
inline constexpr unsigned long fileMenuFlyOver = 0xef07;
inline constexpr unsigned long viewMenuFlyOver = 0xef08;
inline constexpr unsigned long windowMenuFlyOver = 0xef09;
inline constexpr unsigned long optionsMenuFlyOver = 0xef0a;
inline constexpr unsigned long editMenuFlyOver = 0xef0b;
inline constexpr unsigned long selectedMenuFlyOver = 0xef0c;
inline constexpr unsigned long helpIndexFlyOver = 0xef0d;
inline constexpr unsigned long usingHelpFlyOver = 0xef0e;
inline constexpr unsigned long helpFlyOver = 0xef0f;
inline constexpr unsigned long productInformationFlyOver = 0xef10;
inline constexpr unsigned long tutorialFlyOver = 0xef11;
inline constexpr unsigned long helpMenuFlyOver = 0xef12;
inline constexpr unsigned long hoverHelpFlyOver = 0xee0a;
/// The scroll-coupling toggles: fly-over when switched off and when switched on.
inline constexpr unsigned long requestScrollOff = 0xee01;
inline constexpr unsigned long scrollOnRequestOff = 0xee02;
inline constexpr unsigned long surfOnScrollOff = 0xee03;
inline constexpr unsigned long requestScrollOn = 0xee06;
inline constexpr unsigned long scrollOnRequestOn = 0xee07;
inline constexpr unsigned long surfOnScrollOn = 0xee08;

// --- Help and product information ------------------------------------------------------------------
inline constexpr unsigned long helpWindowTitle = 0xf029;
inline constexpr unsigned long helpIndexText = 0xf072;
inline constexpr unsigned long usingHelpText = 0xf031;
/// The help panel of "using help"; a panel number, not a resource.
inline constexpr unsigned long usingHelpPanel = 1400;
inline constexpr unsigned long productInformationTitle = 0xf033;
inline constexpr unsigned long productName = 0xf034;
inline constexpr unsigned long productDescription = 0xf035;
/// Image: the product's icon, 64 x 64.
inline constexpr unsigned long productIcon = 0xf040;

// --- Desktop ---------------------------------------------------------------------------------------
/// Frame: its title, and an image (the desktop's icon, 32 x 32).
inline constexpr unsigned long desktopFrame = 0x8006;
inline constexpr unsigned long desktopOpenButton = 0x1550;
inline constexpr unsigned long desktopUnitList = 0x1551; ///< the list's accessible name
inline constexpr unsigned long desktopHideButton = 0x1552;
inline constexpr unsigned long desktopExitButton = 0x1553;
inline constexpr unsigned long desktopRestoreButton = 0x1554;
inline constexpr unsigned long desktopListHeading = 0x1555;
/// Line 0 of the list: the execution unit as a whole.
inline constexpr unsigned long desktopWholeUnitLine = 0x1556;
/// Put before each program unit's name in the list (ends with a blank).
inline constexpr unsigned long desktopUnitLinePrefix = 0x1557;
inline constexpr unsigned long desktopHint = 0x1558;
/// The desktop's short name, for task lists.
inline constexpr unsigned long desktopShortName = 0xf071;

// --- Tree view ---------------------------------------------------------------------------------------
inline constexpr unsigned long treePropertiesCommand = 0x6300;
inline constexpr unsigned long treeExpandAllCommand = 0x6302;
inline constexpr unsigned long treeInitialViewCommand = 0x6303;

// --- Data map ----------------------------------------------------------------------------------------
inline constexpr unsigned long mapExpandCommand = 0x6010;
inline constexpr unsigned long mapCollapseCommand = 0x6011;
inline constexpr unsigned long mapShowDeclarationCommand = 0x6012;
inline constexpr unsigned long mapExpandPopupCommand = 0x6085;
inline constexpr unsigned long mapCollapsePopupCommand = 0x6086;
inline constexpr unsigned long mapShowDeclarationPopupCommand = 0x6087;
inline constexpr unsigned long mapExpandAllCommand = 0x6072;
inline constexpr unsigned long mapCollapseAllCommand = 0x6028;
inline constexpr unsigned long mapResetItemCommand = 0x6092;
inline constexpr unsigned long mapResetItemPopupCommand = 0x6093;
/// "Show Hexadecimal Offsets" (latching).
inline constexpr unsigned long mapHexOffsetsCommand = 0x6207;
/// "Show Date Fields" (latching): marks the date fields the analysis found.
inline constexpr unsigned long mapDateFieldsCommand = 0x6027;
inline constexpr unsigned long detailsCommand = 0x6018;
inline constexpr unsigned long detailsPopupCommand = 0x7013;
inline constexpr unsigned long unitSettingsCommand = 0x6007;
inline constexpr unsigned long preferencesCommand = 0x3037;
inline constexpr unsigned long findCommand = 0x3152;
inline constexpr unsigned long findNextCommand = 0x3153;

// --- Details, settings and property windows -------------------------------------------------------
/// Tab text of the browser's token colour page.
inline constexpr unsigned long tokenColoursTab = 0xE042;
inline constexpr unsigned long propertyWindowTitle = 0xC200;
inline constexpr unsigned long inputFilesHeading = 0xC204;
/// Row labels of a data item's details page (each ends with ":").
inline constexpr unsigned long levelLabel = 0xF020;
inline constexpr unsigned long longNameLabel = 0xF016;
inline constexpr unsigned long lengthLabel = 0xF066;
inline constexpr unsigned long pictureLabel = 0xF019;
inline constexpr unsigned long groupLabel = 0xF018;
inline constexpr unsigned long redefinesLabel = 0xF017;
inline constexpr unsigned long dateFieldLabel = 0xF021;
inline constexpr unsigned long usageLabel = 0xF022;
inline constexpr unsigned long offsetLabel = 0xF023;
inline constexpr unsigned long occursLabel = 0xF024;

// --- Fly-over texts of the other commands ------------------------------------------------------------
/// Added to a command id for the id of its fly-over text where the design fixes none.
inline constexpr unsigned long flyOverOffset = 0x10000;

/// The id of the fly-over text of `commandId`: the design's id for the menus and the help
/// actions, else commandId + flyOverOffset.
constexpr unsigned long flyOverFor(unsigned long commandId)
{
    switch (commandId) {
    case fileMenu:
        return fileMenuFlyOver;
    case helpMenu:
        return helpMenuFlyOver;
    case viewMenu:
        return viewMenuFlyOver;
    case windowMenu:
        return windowMenuFlyOver;
    case optionsMenu:
        return optionsMenuFlyOver;
    case editMenu:
        return editMenuFlyOver;
    case selectedMenu:
        return selectedMenuFlyOver;
    case helpCommand:
        return helpFlyOver;
    case tutorialCommand:
        return tutorialFlyOver;
    default:
        return commandId + flyOverOffset;
    }
}

} // namespace KelRes
