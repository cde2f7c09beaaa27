#include "KelBrowserPreferencesPage.h"

#include "DSSettingsView.h"
#include "ICurrentApplication.h"
#include "KelBrowserPreferences.h"
#include "KelPreferencePanel.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

/// Selects the row whose text is `text` (none when absent) and shows it.
void selectText(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchFixedString);
    list->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    if (!found.isEmpty())
        list->scrollToItem(found.first(), QAbstractItemView::PositionAtCenter);
}

} // namespace

KelBrowserPreferencesPage::KelBrowserPreferencesPage(DSSettingsView *view)
    : DSSettingsPage(view,
                     TabType::major,
                     ICurrentApplication::loadString(KelRes::browserViewName),
                     static_cast<int>(KelRes::browserView),
                     0)
    , m_preferences(std::make_unique<KelBrowserPreferences>(view ? view->owner() : nullptr))
{}

KelBrowserPreferencesPage::~KelBrowserPreferencesPage() = default;

QStringList KelBrowserPreferencesPage::offeredFaces(const QStringList &families)
{
    QStringList faces;
    for (const QString &family : families) {
        const QString upper = family.toUpper();
        if (!upper.contains(QLatin1String("BOLD")) && !upper.contains(QLatin1String("ITALIC")))
            faces.append(family);
    }
    return faces;
}

void KelBrowserPreferencesPage::populatePage()
{
    KelBrowserPreferences &set = *m_preferences;
    m_panel = new KelPreferencePanel(set);
    m_panel->addGroup(KelRes::scrollCouplingGroup,
                      {{KelRes::requestScrollOption, &set.requestScroll, "_reqScrl"},
                       {KelRes::scrollOnRequestOption, &set.scrollOnRequest, "_scrlOnReq"},
                       {KelRes::surfOnScrollOption, &set.surfOnScrollRequest, "_surfOnScrlReq"}});
    m_panel->addControls(
        makeFontControls(), [this] { showFont(); }, [this] { takeFont(); });
    m_panel->finish();
    auto *layout = new QVBoxLayout(window());
    layout->addWidget(m_panel);
}

QWidget *KelBrowserPreferencesPage::makeFontControls()
{
    auto *group = new QGroupBox(ICurrentApplication::loadString(KelRes::fontGroup));
    m_fonts = new QListWidget;
    m_fonts->setObjectName(QStringLiteral("fontList"));
    m_fonts->addItems(offeredFaces(QFontDatabase::families()));
    m_sizes = new QListWidget;
    m_sizes->setObjectName(QStringLiteral("sizeList"));
    for (int points : KelBrowserPreferences::fontSizes)
        m_sizes->addItem(QString::number(points));
    m_sizes->setMaximumWidth(m_sizes->fontMetrics().horizontalAdvance(QStringLiteral("0000000"))
                             + 40);

    auto *fontLabel = new QLabel(ICurrentApplication::loadString(KelRes::fontNameLabel));
    fontLabel->setBuddy(m_fonts);
    auto *sizeLabel = new QLabel(ICurrentApplication::loadString(KelRes::fontSizeLabel));
    sizeLabel->setBuddy(m_sizes);

    m_sample = new QLabel(ICurrentApplication::loadString(KelRes::fontSampleText));
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setTextFormat(Qt::PlainText);
    auto *sampleArea = new QScrollArea;
    sampleArea->setWidget(m_sample);
    sampleArea->setWidgetResizable(true);
    sampleArea->setMinimumHeight(m_sample->sizeHint().height() * 2 + 8);
    auto *sampleLabel = new QLabel(ICurrentApplication::loadString(KelRes::sampleGroup));

    auto *grid = new QGridLayout(group);
    grid->addWidget(fontLabel, 0, 0);
    grid->addWidget(sizeLabel, 0, 1);
    grid->addWidget(m_fonts, 1, 0);
    grid->addWidget(m_sizes, 1, 1);
    grid->addWidget(sampleLabel, 2, 0, 1, 2);
    grid->addWidget(sampleArea, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);

    connect(m_fonts, &QListWidget::currentRowChanged, this, [this] { updateSample(); });
    connect(m_sizes, &QListWidget::currentRowChanged, this, [this] { updateSample(); });
    return group;
}

void KelBrowserPreferencesPage::showFont()
{
    selectText(m_fonts, m_preferences->fontName);
    selectText(m_sizes, m_preferences->fontSize);
    updateSample();
}

void KelBrowserPreferencesPage::takeFont()
{
    // A face or size that is not offered (a font since removed) stays as it was saved.
    if (const QListWidgetItem *face = m_fonts->currentItem())
        m_preferences->fontName = face->text();
    if (const QListWidgetItem *size = m_sizes->currentItem())
        m_preferences->fontSize = size->text();
}

void KelBrowserPreferencesPage::updateSample()
{
    QFont font = m_preferences->font();
    if (const QListWidgetItem *face = m_fonts->currentItem())
        font.setFamily(face->text());
    if (const QListWidgetItem *size = m_sizes->currentItem())
        font.setPointSize(size->text().toInt());
    m_sample->setFont(font);
}
