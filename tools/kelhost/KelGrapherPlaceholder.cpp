#include "KelGrapherPlaceholder.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelViewLink.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "StartWindowData.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

} // namespace

KelGrapherPlaceholder::KelGrapherPlaceholder(const StartWindowData &request)
    : HostView(KelRes::grapherView, request.puName.empty() ? nullptr : request.pu)
{
    setWindowTitle(text(KelRes::hostGrapherTitle).arg(objectName()));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("grapherPlaceholder"));
    auto *icon = new QLabel(client);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size, size));
    auto *heading = new QLabel(text(KelRes::hostGrapherHeading), client);
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setWordWrap(true);
    m_explanation = new QLabel(text(KelRes::hostGrapherExplanation).arg(objectName()), client);
    m_explanation->setWordWrap(true);
    m_asked = new QLabel(client);
    m_asked->setWordWrap(true);
    m_asked->hide();

    auto *openTree = new QPushButton(text(KelRes::hostGrapherOpenTree), client);
    auto *openSource = new QPushButton(text(KelRes::hostGrapherOpenSource), client);
    openSource->setEnabled(pu() != nullptr);
    connect(openTree, &QPushButton::clicked, this, [this] { openStructureTree(nullptr); });
    connect(openSource, &QPushButton::clicked, this, [this] {
        KelViewLink::requestWindow(StartWindowData::browser, pu());
    });

    auto *texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(m_explanation);
    texts->addWidget(m_asked);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(openTree);
    buttons->addWidget(openSource);
    buttons->addStretch(1);
    texts->addSpacing(8);
    texts->addLayout(buttons);
    texts->addStretch(1);
    auto *layout = new QHBoxLayout(client);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);

    setViewClient(client);
    addStandardCommands(KelRes::grapherViewName);
    // Wrapped text does not widen its window: leave room for the explanation whole.
    setMinimumSize(560, 330);
    resize(640, 360);
    registerWindow();
    setStatusText(text(KelRes::hostGrapherHeading));
    reveal(request);
}

KelGrapherPlaceholder::~KelGrapherPlaceholder() = default;

QString KelGrapherPlaceholder::grabName() const
{
    return QStringLiteral("grapher-") + objectName();
}

QString KelGrapherPlaceholder::explanation() const
{
    return m_explanation->text();
}

bool KelGrapherPlaceholder::canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const
{
    // The execution unit's graph stands for every unit.
    return pu() ? HostView::canShow(tokenNumber, unitNumber)
                : eu()->numberToPu(unitNumber) != nullptr;
}

void KelGrapherPlaceholder::showAsked(DbPu *unit, std::uint32_t tokenNumber)
{
    const DbToken *token = unit && unit->isLoaded() ? unit->numberToToken(tokenNumber) : nullptr;
    if (!token || token->expandedLine() == 0) {
        m_asked->hide();
        return;
    }
    const DbInputFile *file = unit->includeFile(token->include());
    const QString place = (file ? QString::fromStdString(file->path()).section(u'/', -1)
                                : QString::fromStdString(unit->puName()))
                          + QStringLiteral(" line ") + QString::number(token->line());
    m_asked->setText(
        text(KelRes::hostGrapherAsked).arg(QString::fromStdString(token->text()), place));
    m_asked->show();
}

void KelGrapherPlaceholder::reveal(const StartWindowData &request)
{
    if (request.token && request.pu)
        showAsked(request.pu, request.pu->tokenToNumber(request.token));
    bringToFront();
}

bool KelGrapherPlaceholder::userEvent(IUserEvent &event)
{
    if (event.eventId() == IEventTypes::findInGraph) {
        showAsked(eu()->numberToPu(static_cast<std::uint32_t>(event.parameter2())),
                  static_cast<std::uint32_t>(event.parameter1()));
        return true;
    }
    return HostView::userEvent(event);
}
