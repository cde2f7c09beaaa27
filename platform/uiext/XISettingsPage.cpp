#include "XISettingsPage.h"

#include "XISettingsView.h"

#include <QFormLayout>
#include <QLabel>

XISettingsPage::XISettingsPage(const QString &tabText, QWidget *parent)
    : QWidget(parent)
    , m_tabText(tabText)
{}

XISettingsPage::~XISettingsPage() = default;

void XISettingsPage::setTabText(const QString &text)
{
    m_tabText = text;
    emit tabTextChanged(text);
}

XISettingsView *XISettingsPage::settingsView() const
{
    for (QObject *object = parent(); object; object = object->parent()) {
        if (auto *view = qobject_cast<XISettingsView *>(object))
            return view;
    }
    return nullptr;
}

void XISettingsPage::ensurePopulated()
{
    if (m_populated)
        return;
    m_populated = true;
    populatePage();
}

void XISettingsPage::populatePage() {}

QWidget *XISettingsPage::addRow(const QString &label, const QString &value)
{
    if (!m_rows) {
        m_rows = new QFormLayout(this);
        m_rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        m_rows->setLabelAlignment(Qt::AlignLeft);
    }
    auto *valueLabel = new QLabel(value, this);
    valueLabel->setTextFormat(Qt::PlainText);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    valueLabel->setWordWrap(true);
    m_rows->addRow(label, valueLabel);
    return valueLabel;
}
