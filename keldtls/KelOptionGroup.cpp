#include "KelOptionGroup.h"

#include "ICurrentApplication.h"

#include <QCheckBox>
#include <QVBoxLayout>

KelOptionGroup::KelOptionGroup(unsigned long titleId, std::vector<Option> options, QWidget *parent)
    : QGroupBox(ICurrentApplication::loadString(titleId), parent)
    , m_options(std::move(options))
{
    auto *layout = new QVBoxLayout(this);
    for (const Option &option : m_options) {
        auto *box = new QCheckBox(ICurrentApplication::loadString(option.textId), this);
        box->setObjectName(QLatin1String(option.objectName));
        connect(box, &QCheckBox::clicked, this, &KelOptionGroup::edited);
        layout->addWidget(box);
        m_boxes.push_back(box);
    }
    showValues();
}

void KelOptionGroup::showValues()
{
    for (std::size_t i = 0; i < m_options.size(); ++i)
        m_boxes[i]->setChecked(*m_options[i].value);
}

void KelOptionGroup::takeValues()
{
    for (std::size_t i = 0; i < m_options.size(); ++i)
        *m_options[i].value = m_boxes[i]->isChecked();
}

QCheckBox *KelOptionGroup::box(const char *objectName) const
{
    for (QCheckBox *box : m_boxes) {
        if (box->objectName() == QLatin1String(objectName))
            return box;
    }
    return nullptr;
}
