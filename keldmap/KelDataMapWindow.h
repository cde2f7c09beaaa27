#pragma once

#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "IFrameWindow.h"

#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class DbEu;
class KelDataMapActions;
class KelDataMapCanvas;
class KelDataMapFontMeasure;
class KelDataMapItem;
class KelDataMapLayout;
class KelDataMapLegend;
class KelDataMapRecord;
class KelDataMapUnitItems;
class KelDetailsView;
class KelPreferencesView;
class KelSettingsView;
class OpenWindowDispatcher;
class QComboBox;
class RegisterInstance;
class XIFindAndReplaceDialog;
class XIInfoArea;

/// The data map: the storage layout of one data record of a program unit, drawn as a grid with
/// one row per storage position and one column per nesting depth (KelDataMapLayout), the byte
/// offsets in a ruler at the left, REDEFINES and RENAMES in panes of their own to the right, and
/// the date fields the analysis found marked in amber (with a legend under the map).
///
/// It opens on an execution unit, a program unit and optionally a token, registers itself in the
/// window registry as view 596 ("DataMap"), and follows the tokens other views select:
///
/// - updateWindow(token): the call by which another view moves the map; a null token or one
///   without data symbol changes nothing.
/// - Event 0x4011 (query, sent): answers non-zero when the token number (parameter 1) is one of
///   its unit's (parameter 2 is its unit's number); so a view's find reuses an open map.
/// - Event 0x4006 (token number, unit number): selects that token's item, showing its record.
/// - Event 0x4004: comes to the front; so does the registry's show request (0xFFDF code 2).
///
/// What the user does is offered to a host through signals: findInSourceRequested() for "Show
/// Declaration" (0x6012, 0x6087), itemSelected() for the user's selections while the preference
/// "request scrolling" is on.
///
/// The window deletes itself when closed; keep a QPointer. GUI thread only. Nothing it does
/// throws: problems are shown (KelMsg, message boxes) and the map stays as it was.
class KelDataMapWindow : public IFrameWindow
{
    Q_OBJECT

public:
    static constexpr unsigned long viewNumber = 596;
    /// The source tag of the map's messages.
    static constexpr const char *sourceTag = "keldmap";

    /// Builds the map of `pu` (loaded when it is not yet), registers it, shows the record of
    /// `token` when the token names a data item (else the unit's first record) and shows the
    /// window. `parent` (may be null) owns the window; `owner` is the window it belongs to.
    KelDataMapWindow(QWidget *parent, QWidget *owner, DbEu &eu, DbPu &pu, DbToken *token);
    ~KelDataMapWindow() override;

    DbEu &eu() const { return *m_eu; }
    DbPu &pu() const { return *m_pu; }
    std::uint32_t puNumber() const { return m_puNumber; }
    QWidget *owner() const { return m_owner; }
    /// "<execution unit> <program unit>": the object text of the map's dialogs.
    const QString &dialogObjectText() const { return m_objectText; }
    /// The view's title text (KELRESRC 0x7006).
    const QString &titleText() const { return m_titleText; }
    /// sNumber() of the symbol last selected, empty before any.
    const std::string &currentSymbolNumber() const { return m_currentSymbolNumber; }

    const KelDataMapUnitItems &unitItems() const { return *m_unitItems; }
    /// The record shown; null when the unit has none.
    KelDataMapRecord *record() const { return m_record.get(); }
    const KelDataMapLayout *mapLayout() const { return m_layout.get(); }
    KelDataMapCanvas *canvas() const { return m_canvas; }
    KelDataMapLegend *legend() const { return m_legend; }
    KelDataMapActions *actions() const { return m_actions; }
    QComboBox *recordChooser() const { return m_recordChooser; }
    XIInfoArea *infoArea() const { return m_infoArea; }
    /// The registration; null when the registry was full.
    RegisterInstance *registration() const { return m_registration.get(); }
    /// The details and settings views opened last; null when closed.
    KelDetailsView *detailsView() const;
    KelSettingsView *settingsView() const;
    KelPreferencesView *preferencesNotebook() const { return m_preferencesNotebook; }
    XIFindAndReplaceDialog *findDialog() const;

    /// The selected item, the item under the last pop-up menu; null when none.
    KelDataMapItem *selectedItem() const { return m_selected; }
    KelDataMapItem *popUpItem() const { return m_popUpItem; }

    /// Selects the item of `token` (its number in the unit), then updates the marks and redraws.
    /// A null token does nothing.
    void updateWindow(DbToken *token);
    /// Looks the unit's date-field marks up among the items shown and redraws.
    void updateMarks();
    /// Selects the item the token names: scrolls to it when its record is shown, shows its
    /// record otherwise. A condition name (88) selects its variable. A number without token or
    /// data symbol changes nothing; false then.
    bool selectTokenNumber(std::uint32_t tokenNumber);
    /// Selects the item of `symbol` the same way.
    bool selectSymbol(const DbSymbol &symbol);
    /// Shows the record `record` (a level-01 or level-77 item of the unit).
    void showRecord(DbSymbol &record);
    /// Whether the map shows, or can show, token `tokenNumber` of the unit `puNumber`.
    bool canShow(std::uint32_t tokenNumber, std::uint32_t puNumber) const;

    // --- What the actions do; public for the host and the tests --------------------------------

    /// Sets an item's expanded flag and redraws.
    void expandItem(KelDataMapItem *item, bool expand);
    /// Sets every item's flag and redraws; the pair of all-items actions follows.
    void setAllExpanded(bool expand);
    /// Puts the items below `item` back as first shown (expanded); `collapse` collapses the
    /// item itself too.
    void resetItem(KelDataMapItem *item, bool collapse);
    void showDeclaration(KelDataMapItem *item);
    void openDetails(KelDataMapItem *item);
    void openSettings();
    /// Opens the find dialog with the stored text.
    void find();
    /// Searches for the stored text from the last match on; opens the dialog when there is none.
    bool findNext();
    /// Searches the unit's items by name (XIFindAndReplaceDialog::matches), from the start (or
    /// the end, backwards) when `restart`, else after the last match; wraps round once. Selects
    /// the item found and returns true.
    bool runFind(const QString &text, unsigned options, bool restart);
    void setHexOffsets(bool on);
    void setShowDateFields(bool on);
    /// The map of the record as text (KelDataMapExport::text).
    QString mapText() const;
    void copyMapAsText();
    /// Saves the whole map by the file name's suffix: ".svg", ".txt", else PNG. False with
    /// `error` set when it cannot be written or is too large for a PNG.
    bool saveMap(const QString &fileName, QString *error = nullptr);
    /// Asks for a file name and saves the map there.
    void saveMapAs();
    /// Shows the item pop-up menu for `item` (null: the map's menu) at `globalPosition`.
    void showPopUp(KelDataMapItem *item, const QPoint &globalPosition);

    /// Called after the data map preferences were saved: reads them again.
    Q_INVOKABLE void preferencesChanged();
    bool requestScroll() const { return m_requestScroll; }

signals:
    /// The user asked to see where `token` (an item's declaring token) is in the source.
    void findInSourceRequested(DbPu *pu, DbToken *token);
    /// The user selected the item declared by `token` (only while "request scrolling" is on).
    void itemSelected(DbPu *pu, DbToken *token);
    /// The map shows another record.
    void recordShown(DbSymbol *record);

protected:
    bool command(ICommandEvent &event) override;
    bool userEvent(IUserEvent &event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildWindow();
    void registerMap();
    void fillRecordChooser();
    void buildRecord(DbSymbol &record);
    void relayout();
    void select(KelDataMapItem *item, bool byUser);
    void updateStates();
    void updateInfoText();
    void updateTitle();
    void userClicked(int placedIndex);
    void userActivated(int placedIndex);
    void userExpand(int placedIndex, bool expand);
    KelDataMapItem *placedItem(int placedIndex) const;
    void comeToFront();
    void showMessage(unsigned long textId, const QString &first, const QString &second = {});

    DbEu *m_eu;
    DbPu *m_pu;
    std::uint32_t m_puNumber = 0;
    QPointer<QWidget> m_owner;
    QString m_objectText;
    QString m_titleText;
    std::string m_currentSymbolNumber;

    std::unique_ptr<RegisterInstance> m_registration;
    OpenWindowDispatcher *m_notifications = nullptr;
    std::unique_ptr<KelDataMapFontMeasure> m_measure;
    std::unique_ptr<KelDataMapUnitItems> m_unitItems;
    std::unique_ptr<KelDataMapRecord> m_record;
    std::unique_ptr<KelDataMapLayout> m_layout;
    /// The unit's date-field marks: declaring-token number -> what the analysis found.
    std::map<std::uint32_t, std::string> m_marks;

    KelDataMapCanvas *m_canvas = nullptr;
    KelDataMapLegend *m_legend = nullptr;
    KelDataMapActions *m_actions = nullptr;
    QComboBox *m_recordChooser = nullptr;
    XIInfoArea *m_infoArea = nullptr;
    KelDataMapItem *m_selected = nullptr;
    KelDataMapItem *m_popUpItem = nullptr;

    QPointer<KelDetailsView> m_detailsView;
    QPointer<KelSettingsView> m_settingsView;
    KelPreferencesView *m_preferencesNotebook = nullptr;

    QPointer<XIFindAndReplaceDialog> m_findDialog;
    QString m_findText;
    unsigned m_findOptions = 0;
    std::uint32_t m_findPosition = 0; ///< symbol number of the last match, 0 for none

    bool m_hexOffsets = false;
    bool m_showDateFields = true;
    bool m_requestScroll = true;
    bool m_scrollOnRequest = true;
};
