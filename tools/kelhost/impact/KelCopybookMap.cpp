#include "KelCopybookMap.h"

#include "DbCopybookLayout.h"
#include "DbEu.h"
#include "DbPu.h"
#include "KelDataMapWindow.h"
#include "KelMsgException.h"
#include "XIInfoArea.h"

#include <QObject>

#include <memory>

namespace {

/// Keeps the copybook's own execution unit alive as long as the map that shows it: a child of
/// the window, so it goes after the window's own members.
class CopybookUnitHolder final : public QObject
{
public:
    CopybookUnitHolder(std::unique_ptr<DbEu> eu, QObject *parent)
        : QObject(parent)
        , m_eu(std::move(eu))
    {}

private:
    std::unique_ptr<DbEu> m_eu;
};

} // namespace

KelDataMapWindow *openCopybookMap(QWidget *owner,
                                  const std::string &databaseFile,
                                  const std::string &copybook,
                                  QString &error)
{
    DbCopybookLayout layout;
    try {
        layout = DbCopybookLayout::load(databaseFile, copybook);
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported through `error`
        error = QString::fromStdString(e.text());
        return nullptr;
    }
    if (layout.items().empty()) {
        error = QObject::tr("No program unit of %1 includes a copybook %2 with data entries.")
                    .arg(QString::fromStdString(databaseFile), QString::fromStdString(copybook));
        return nullptr;
    }
    DbUnitData data = layout.toUnitData();
    auto eu = std::make_unique<DbEu>(databaseFile,
                                     "copybook " + layout.copybook(),
                                     std::vector<DbUnitHeader>{data.header});
    std::string loadError;
    if (!eu->numberToPu(1)->loadData(std::move(data), loadError)) {
        error = QObject::tr("The copybook %1 cannot be laid out: %2")
                    .arg(QString::fromStdString(copybook), QString::fromStdString(loadError));
        return nullptr;
    }
    DbPu &pu = *eu->numberToPu(1);
    auto *window = new KelDataMapWindow(nullptr, owner, *eu, pu, nullptr);
    new CopybookUnitHolder(std::move(eu), window);
    QString note = QObject::tr("Laid out on its own as %1 includes it.")
                       .arg(QString::fromStdString(layout.shownFrom()));
    for (const std::string &text : layout.notes())
        note += ' ' + QString::fromStdString(text) + '.';
    window->infoArea()->setInactiveText(note);
    window->setToolTip(note);
    window->show();
    return window;
}
