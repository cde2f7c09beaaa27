#pragma once

#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "KelDataMapItem.h"
#include "KelDataMapLayout.h"
#include "KelDataMapRecord.h"
#include "KelDataMapWindow.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <string>

/// The symbol named `name` in `pu`; null when none.
inline DbSymbol *symbolNamed(DbPu &pu, const std::string &name)
{
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n)
        if (pu.symbol(n)->name() == name)
            return pu.symbol(n);
    return nullptr;
}

/// The declaring token number of the symbol named `name`.
inline std::uint32_t keyOf(DbPu &pu, const std::string &name)
{
    DbSymbol *symbol = symbolNamed(pu, name);
    return symbol ? pu.tokenToNumber(symbol->declaringToken()) : 0;
}

/// The first token of `pu` whose text is `text` and that names no data item.
inline DbToken *plainToken(DbPu &pu, const std::string &text)
{
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        DbToken *token = pu.numberToToken(n);
        if (token->text() == text && !token->hasDataSymbol())
            return token;
    }
    return nullptr;
}

/// The name of the selected item; empty when none.
inline std::string selectedName(const KelDataMapWindow &map)
{
    return map.selectedItem() ? map.selectedItem()->name() : std::string();
}

/// The name of the record shown; empty when none.
inline std::string recordName(const KelDataMapWindow &map)
{
    return map.record() ? map.record()->symbol().name() : std::string();
}

/// The placed item named `name` in the map's layout; null when not shown.
inline const KelDataMapLayout::Placed *placedNamed(const KelDataMapWindow &map,
                                                   const std::string &name)
{
    if (!map.mapLayout())
        return nullptr;
    for (const auto &placed : map.mapLayout()->placed())
        if (placed.item->name() == name)
            return &placed;
    return nullptr;
}

/// Closes the pop-up menu that a call is about to open, as soon as it is shown.
inline void closePopUpSoon()
{
    QTimer::singleShot(0, [] {
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    });
}
