#include "UiextTexts.h"

#include "IException.h"
#include "ResourceLibrary.h"

#include <iostream>
#include <mutex>

namespace UiextTexts {

QString text(unsigned long id)
{
    static std::once_flag reported;
    try {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELAE20W"));
        if (library.hasString(id))
            return library.loadString(id);
    } catch (const IException &error) {
        std::call_once(reported, [&] { std::cerr << error.text() << std::endl; });
    }
    return QStringLiteral("[KELAE20W %1]").arg(id);
}

QString withoutMnemonic(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        result += text.at(i);
    }
    return result;
}

} // namespace UiextTexts
