#pragma once

#include <QPixmap>
#include <QString>

/// The kit's own texts and bitmaps, read from the resource library "wizkitres".
namespace WizkitTexts {

/// String ids of "wizkitres".
enum Id : unsigned long {
    // Message box buttons, in the order of EMessageBox::Answer.
    boxOk = 38149,
    boxCancel = 38150,
    boxHelp = 38151,
    boxYes = 38152,
    boxNo = 38153,
    boxContinue = 38154,
    boxStop = 38155,
    boxEnd = 38156,
    boxAbort = 38157,
    boxIgnore = 38158,
    boxRetry = 38159,
    boxEnter = 38160,
    // File dialogs.
    dialogOk = 61472,
    dialogCancel = 61473,
    selectDirectoryEllipsis = 61474,
    allFiles = 61475,
    save = 61476,
    saveFileEllipsis = 61477,
    fileNameLabel = 61478,
    fileTypeLabel = 61479,
    load = 61480,
    loadFileEllipsis = 61481,
    directoryLabel = 61482,
    selectDirectory = 61483,
    lookIn = 61484,
    parentDirectory = 61485,
    // Wizard.
    wizardCancel = 61707,
    wizardNext = 61708,
    wizardBack = 61709,
    wizardFinish = 61710,
    wizardCorrectError = 61711,
    helpFileMissing = 61719,
    wizardHelp = 61720,
};

/// Bitmap ids of "wizkitres".
enum BitmapId : unsigned long {
    informationBitmap = 38401,
    questionBitmap = 38402,
    warningBitmap = 38403,
    errorBitmap = 38404,
    wizardSideBitmap = 38410,
};

/// The text `id` with its mark-up. When the library cannot be opened or lacks the id, a warning
/// is logged once per id and the text "#<id>" is returned, so a broken installation still shows
/// usable dialogs.
QString text(Id id);

/// The text `id` as a button label: mark-up removed, "&" kept as the mnemonic.
QString buttonLabel(Id id);

/// The bitmap `id`; a null pixmap (and a logged warning) when it cannot be loaded.
QPixmap bitmap(BitmapId id);

} // namespace WizkitTexts
