#pragma once

#include <QString>

/// The UI extension library's own texts (library KELAE20W, ids in Kelae20wResourceIds.h). A
/// missing library or text gives "[KELAE20W <id>]" and is reported once on standard error, so a
/// broken installation shows the gap instead of failing.
namespace UiextTexts {

QString text(unsigned long id);

/// `text` without its mnemonic marks ("&Help Index" gives "Help Index"; "&&" gives "&").
QString withoutMnemonic(const QString &text);

} // namespace UiextTexts
