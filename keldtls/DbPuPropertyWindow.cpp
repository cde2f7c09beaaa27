#include "DbPuPropertyWindow.h"

#include "DbAnalysisPageInfo.h"
#include "DbCompilerPageInfo.h"
#include "DbEu.h"
#include "DbPropertyObserver.h"
#include "DbPu.h"
#include "DbSourcePageInfo.h"
#include "ICurrentApplication.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char *const unitKeyProperty = "chronexUnitKey";

} // namespace

DbPuPropertyWindow::DbPuPropertyWindow(QWidget *owner, DbPu &pu)
    : IFrameWindow(KelRes::propertyWindowTitle)
    , m_notebook(new QTabWidget)
    , m_source(new DbSourcePageInfo(nullptr, pu))
    , m_compiler(new DbCompilerPageInfo(nullptr, pu))
    , m_analysis(new DbAnalysisPageInfo(nullptr, pu))
    , m_observer(new DbPropertyObserver(*this))
    , m_cancel(new QPushButton(ICurrentApplication::loadString(KelRes::cancelButton)))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("propertyWindow"));
    setProperty(unitKeyProperty, unitKey(pu));
    setWindowTitle(ICurrentApplication::loadString(KelRes::propertyWindowTitle)
                   + QStringLiteral(" - ") + QString::fromStdString(pu.puName()));

    m_notebook->setObjectName(QStringLiteral("notebook"));
    m_notebook->addTab(m_source, ICurrentApplication::loadString(KelRes::sourcePageTab));
    m_notebook->addTab(m_compiler, ICurrentApplication::loadString(KelRes::compilerPageTab));
    m_notebook->addTab(m_analysis, ICurrentApplication::loadString(KelRes::analysisPageTab));

    m_cancel->setObjectName(QStringLiteral("cancel"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    auto *client = new QWidget;
    auto *layout = new QVBoxLayout(client);
    layout->addWidget(m_notebook, 1);
    layout->addWidget(buttons);
    setCentralWidget(client);
    resize(sizeHint().expandedTo(QSize(520, 360)));

    m_observer->handleNotificationsFor(owner);
}

DbPuPropertyWindow::~DbPuPropertyWindow() = default;

QString DbPuPropertyWindow::unitKey(const DbPu &pu)
{
    const QString database = pu.pEu() ? QString::fromStdString(pu.pEu()->fileName()) : QString();
    return database + u'\n' + QString::fromStdString(pu.sourceFileName());
}

DbPuPropertyWindow *DbPuPropertyWindow::open(QWidget *owner, DbPu &pu)
{
    DbPuPropertyWindow *window = nullptr;
    const QString key = unitKey(pu);
    for (QWidget *candidate : QApplication::topLevelWidgets()) {
        auto *open = qobject_cast<DbPuPropertyWindow *>(candidate);
        if (open && open->property(unitKeyProperty).toString() == key && !open->isHidden()) {
            window = open;
            break;
        }
    }
    if (!window)
        window = new DbPuPropertyWindow(owner, pu);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
