#include "KelBrowserPreferencesPage2.h"

#include "DSSettingsView.h"
#include "ICurrentApplication.h"
#include "KelBrowserPreferences.h"
#include "KelColourPalette.h"
#include "KelPreferencePanel.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using namespace KelTokenAttribute;

constexpr int swatchSize = 16;
constexpr int paletteColumns = 4;

QIcon swatchIcon(int colour)
{
    QPixmap pixmap(swatchSize, swatchSize);
    pixmap.fill(KelColourPalette::colour(colour));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, swatchSize - 1, swatchSize - 1);
    return QIcon(pixmap);
}

unsigned long styleTextId(Style style)
{
    switch (style) {
    case underline:
        return KelRes::underlineStyle;
    case italic:
        return KelRes::italicStyle;
    case bold:
        return KelRes::boldStyle;
    case strikeOut:
        return KelRes::strikeOutStyle;
    }
    return KelRes::boldStyle;
}

/// `font` with the style flags of `word`.
QFont styled(QFont font, Word word)
{
    font.setUnderline(word & underline);
    font.setItalic(word & italic);
    font.setBold(word & bold);
    font.setStrikeOut(word & strikeOut);
    return font;
}

QPushButton *button(unsigned long textId, unsigned long tipId, const char *name)
{
    auto *result = new QPushButton(ICurrentApplication::loadString(textId));
    result->setToolTip(ICurrentApplication::loadString(tipId));
    result->setObjectName(QLatin1String(name));
    return result;
}

} // namespace

KelBrowserPreferencesPage2::KelBrowserPreferencesPage2(DSSettingsView *view)
    : DSSettingsPage(view,
                     TabType::minor,
                     ICurrentApplication::loadString(KelRes::tokenColoursTab),
                     static_cast<int>(KelRes::browserColourPage),
                     0)
    , m_preferences(std::make_unique<KelBrowserPreferences>(view ? view->owner() : nullptr))
    , m_working(m_preferences->tokenAttributes)
{}

KelBrowserPreferencesPage2::~KelBrowserPreferencesPage2() = default;

int KelBrowserPreferencesPage2::selectedTokenType() const
{
    return m_tokens ? m_tokens->currentRow() : -1;
}

QCheckBox *KelBrowserPreferencesPage2::styleBox(Style style) const
{
    for (std::size_t i = 0; i < stylesShown.size(); ++i) {
        if (stylesShown[i] == style)
            return m_styles[i];
    }
    return nullptr;
}

QRadioButton *KelBrowserPreferencesPage2::groundChoice(Ground which) const
{
    return which == Ground::text ? m_textChoice : m_backgroundChoice;
}

QAbstractButton *KelBrowserPreferencesPage2::swatch(int colour) const
{
    return m_palette ? m_palette->button(colour) : nullptr;
}

void KelBrowserPreferencesPage2::populatePage()
{
    m_tokens = new QListWidget;
    m_tokens->setObjectName(QStringLiteral("tokenList"));
    auto *tokenLabel = new QLabel(ICurrentApplication::loadString(KelRes::tokenTypeLabel));
    tokenLabel->setBuddy(m_tokens);

    auto *controls = new QVBoxLayout;
    controls->addWidget(makeStyleGroup());
    controls->addWidget(makeColourGroup());
    controls->addStretch(1);

    auto *sampleGroup = new QGroupBox(ICurrentApplication::loadString(KelRes::sampleGroup));
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setAutoFillBackground(true);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMargin(4);
    m_sample->setTextFormat(Qt::PlainText);
    (new QVBoxLayout(sampleGroup))->addWidget(m_sample);

    auto *grid = new QGridLayout(window());
    grid->addWidget(tokenLabel, 0, 0);
    grid->addWidget(m_tokens, 1, 0);
    grid->addLayout(controls, 0, 1, 2, 1);
    grid->addWidget(sampleGroup, 2, 0, 1, 2);
    grid->addWidget(makeButtons(), 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);

    fillTokenList();
    connect(m_tokens, &QListWidget::currentRowChanged, this, [this] { tokenChosen(); });
    m_tokens->setCurrentRow(0);
}

QWidget *KelBrowserPreferencesPage2::makeStyleGroup()
{
    auto *group = new QGroupBox(ICurrentApplication::loadString(KelRes::styleGroup));
    auto *layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < stylesShown.size(); ++i) {
        m_styles[i] = new QCheckBox(ICurrentApplication::loadString(styleTextId(stylesShown[i])));
        m_styles[i]->setObjectName(QStringLiteral("style-%1").arg(15 - static_cast<int>(i)));
        connect(m_styles[i], &QCheckBox::clicked, this, [this] { styleToggled(); });
        layout->addWidget(m_styles[i]);
    }
    return group;
}

QWidget *KelBrowserPreferencesPage2::makeColourGroup()
{
    auto *group = new QGroupBox(ICurrentApplication::loadString(KelRes::colourGroup));
    m_textChoice = new QRadioButton(ICurrentApplication::loadString(KelRes::textColourChoice));
    m_textChoice->setObjectName(QStringLiteral("textColour"));
    m_backgroundChoice = new QRadioButton(
        ICurrentApplication::loadString(KelRes::backgroundColourChoice));
    m_backgroundChoice->setObjectName(QStringLiteral("backgroundColour"));
    m_textChoice->setChecked(true);
    connect(m_textChoice, &QRadioButton::toggled, this, [this] { updateGroundColor(); });

    m_palette = new QButtonGroup(group);
    m_palette->setExclusive(true);
    auto *swatches = new QGridLayout;
    swatches->setSpacing(2);
    for (int colour = 0; colour < KelColourPalette::count; ++colour) {
        auto *swatch = new QToolButton;
        swatch->setObjectName(QStringLiteral("colour-%1").arg(colour));
        swatch->setCheckable(true);
        swatch->setAutoRaise(true);
        swatch->setIcon(swatchIcon(colour));
        swatch->setIconSize(QSize(swatchSize, swatchSize));
        swatch->setToolTip(KelColourPalette::name(colour));
        swatch->setAccessibleName(KelColourPalette::name(colour));
        m_palette->addButton(swatch, colour);
        swatches->addWidget(swatch, colour / paletteColumns, colour % paletteColumns);
    }
    connect(m_palette, &QButtonGroup::idClicked, this, [this](int colour) {
        colourChosen(colour);
    });

    auto *layout = new QVBoxLayout(group);
    auto *choices = new QHBoxLayout;
    choices->addWidget(m_textChoice);
    choices->addWidget(m_backgroundChoice);
    layout->addLayout(choices);
    layout->addLayout(swatches);
    return group;
}

QWidget *KelBrowserPreferencesPage2::makeButtons()
{
    m_change = button(KelRes::changeColourButton, KelRes::changeColourTip, "change");
    m_all = button(KelRes::allTokensButton, KelRes::allTokensTip, "all");
    m_default = button(KelRes::defaultColoursButton, KelRes::defaultColoursTip, "default");
    m_reset = button(KelRes::resetColoursButton, KelRes::resetColoursTip, "reset");
    m_apply = button(KelRes::applyButton, KelRes::applyColoursTip, "apply");
    connect(m_change, &QPushButton::clicked, this, [this] { changeColour(); });
    connect(m_all, &QPushButton::clicked, this, [this] { applyToAll(); });
    connect(m_default, &QPushButton::clicked, this, [this] { restoreDefaults(); });
    connect(m_reset, &QPushButton::clicked, this, [this] { resetToLoaded(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });

    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_change);
    layout->addWidget(m_all);
    layout->addWidget(m_default);
    layout->addWidget(m_reset);
    layout->addStretch(1);
    layout->addWidget(m_apply);
    return row;
}

// --- Editing -----------------------------------------------------------------------------------------

void KelBrowserPreferencesPage2::fillTokenList()
{
    m_tokens->clear();
    for (int type = 0; type < tokenTypeCount; ++type)
        m_tokens->addItem(ICurrentApplication::loadString(KelRes::tokenTypeDisplayName(type)));
    updateTokenItems();
}

void KelBrowserPreferencesPage2::tokenChosen()
{
    const int type = selectedTokenType();
    if (type < 0)
        return;
    m_controls = m_working[static_cast<std::size_t>(type)];
    updateCheckBoxes();
    updatePalette();
    updateButtons();
    updateSample();
}

void KelBrowserPreferencesPage2::styleToggled()
{
    for (std::size_t i = 0; i < stylesShown.size(); ++i)
        m_controls = withStyle(m_controls, stylesShown[i], m_styles[i]->isChecked());
    updateButtons();
    updateSample();
}

void KelBrowserPreferencesPage2::colourChosen(int colour)
{
    m_controls = ground() == Ground::text ? withTextColour(m_controls, colour)
                                          : withBackgroundColour(m_controls, colour);
    updateButtons();
    updateSample();
}

void KelBrowserPreferencesPage2::changeColour()
{
    const int type = selectedTokenType();
    if (type < 0)
        return;
    m_working[static_cast<std::size_t>(type)] = m_controls;
    updateTokenItems();
    updateButtons();
}

void KelBrowserPreferencesPage2::applyToAll()
{
    m_working.fill(m_controls);
    updateTokenItems();
    updateButtons();
}

void KelBrowserPreferencesPage2::restoreDefaults()
{
    m_working = m_preferences->defaultAttributes;
    updateTokenItems();
    tokenChosen();
}

void KelBrowserPreferencesPage2::resetToLoaded()
{
    m_working = m_preferences->tokenAttributes;
    updateTokenItems();
    tokenChosen();
}

void KelBrowserPreferencesPage2::apply()
{
    const Words saved = m_preferences->tokenAttributes;
    m_preferences->tokenAttributes = m_working;
    if (!KelPreferencePanel::guardedSave(window(), [this] { m_preferences->applyPreferences2(); }))
        m_preferences->tokenAttributes = saved; // what the profile still holds
    updateButtons();
}

// --- Showing -------------------------------------------------------------------------------------------

KelBrowserPreferencesPage2::Ground KelBrowserPreferencesPage2::ground() const
{
    return m_backgroundChoice && m_backgroundChoice->isChecked() ? Ground::background
                                                                 : Ground::text;
}

void KelBrowserPreferencesPage2::updateCheckBoxes()
{
    for (std::size_t i = 0; i < stylesShown.size(); ++i)
        m_styles[i]->setChecked(m_controls & stylesShown[i]);
}

void KelBrowserPreferencesPage2::updateGroundColor()
{
    updatePalette();
}

void KelBrowserPreferencesPage2::updatePalette()
{
    const int colour = ground() == Ground::text ? textColour(m_controls)
                                                : backgroundColour(m_controls);
    if (QAbstractButton *chosen = m_palette->button(colour))
        chosen->setChecked(true);
}

void KelBrowserPreferencesPage2::updateButtons()
{
    const int type = selectedTokenType();
    const bool chosenDiffers = type >= 0 && m_working[static_cast<std::size_t>(type)] != m_controls;
    bool anyDiffers = false;
    for (Word word : m_working)
        anyDiffers = anyDiffers || word != m_controls;
    m_change->setEnabled(chosenDiffers);
    m_all->setEnabled(anyDiffers);
    m_default->setEnabled(m_working != m_preferences->defaultAttributes);
    m_reset->setEnabled(m_working != m_preferences->tokenAttributes);
    m_apply->setEnabled(m_working != m_preferences->tokenAttributes);
}

void KelBrowserPreferencesPage2::updateSample()
{
    const int type = selectedTokenType();
    m_sample->setText(type >= 0 ? m_tokens->item(type)->text() : QString());
    m_sample->setFont(styled(m_preferences->font(), m_controls));
    QPalette colours = m_sample->palette();
    colours.setColor(QPalette::WindowText, KelColourPalette::colour(textColour(m_controls)));
    colours.setColor(QPalette::Window, KelColourPalette::colour(backgroundColour(m_controls)));
    m_sample->setPalette(colours);
}

void KelBrowserPreferencesPage2::updateTokenItems()
{
    for (int type = 0; type < m_tokens->count(); ++type) {
        QListWidgetItem *item = m_tokens->item(type);
        const Word word = m_working[static_cast<std::size_t>(type)];
        item->setForeground(KelColourPalette::colour(textColour(word)));
        item->setBackground(KelColourPalette::colour(backgroundColour(word)));
        item->setFont(styled(m_tokens->font(), word));
    }
}
