#include "WizkitTexts.h"

#include "IException.h"
#include "KitMarkup.h"
#include "ResourceLibrary.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcWizkit, "chronex.wizkit")

const ResourceLibrary *library()
{
    static const ResourceLibrary *loaded = [] {
        try {
            return &ResourceLibrary::load(QStringLiteral("wizkitres"));
        } catch (const IException &error) {
            qCWarning(lcWizkit, "%s", error.what());
            return static_cast<const ResourceLibrary *>(nullptr);
        }
    }();
    return loaded;
}

} // namespace

namespace WizkitTexts {

QString text(Id id)
{
    const ResourceLibrary *resources = library();
    if (resources && resources->hasString(id))
        return resources->loadString(id);
    if (resources)
        qCWarning(lcWizkit, "Resource library wizkitres holds no string with id %lu.", id);
    return QStringLiteral("#%1").arg(id);
}

QString buttonLabel(Id id)
{
    return KitMarkup::toPlainText(text(id));
}

QPixmap bitmap(BitmapId id)
{
    const ResourceLibrary *resources = library();
    if (!resources || !resources->hasImage(id))
        return {};
    return resources->loadBitmap(id);
}

} // namespace WizkitTexts
