#pragma once

#include "XIAction.h"

/// An action that opens a dialog about the object a view shows. The object text (for example
/// "PAYROLL PAY01") is class-wide: the view that has the focus sets it, and dialogs opened from
/// any XIDialogAction put it in their titles.
class XIDialogAction : public XIAction
{
    Q_OBJECT

public:
    using XIAction::XIAction;

    static void setDialogObjectText(const QString &text);
    static QString dialogObjectText();

    /// `title` followed by " - " and the object text, or `title` alone when there is none.
    static QString dialogTitle(const QString &title);
};
