#include "KelPreferencePanel.h"

#include "ICurrentApplication.h"
#include "IException.h"
#include "KelPreferences.h"
#include "KeldtlsResourceIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

KelPreferencePanel::KelPreferencePanel(KelPreferences &set, QWidget *parent)
    : QWidget(parent)
    , m_set(set)
    , m_layout(new QVBoxLayout(this))
{}

KelOptionGroup *KelPreferencePanel::addGroup(unsigned long titleId,
                                             std::vector<KelOptionGroup::Option> options)
{
    auto *group = new KelOptionGroup(titleId, std::move(options), this);
    m_layout->addWidget(group);
    m_groups.push_back(group);
    return group;
}

void KelPreferencePanel::addControls(QWidget *controls,
                                     std::function<void()> show,
                                     std::function<void()> take)
{
    m_layout->addWidget(controls, 1);
    m_show.push_back(std::move(show));
    m_take.push_back(std::move(take));
}

void KelPreferencePanel::finish()
{
    m_layout->addStretch(1);
    auto *hint = new QLabel(ICurrentApplication::loadString(KelRes::preferencesHint), this);
    hint->setObjectName(QStringLiteral("hint"));
    m_layout->addWidget(hint);

    m_apply = new QPushButton(ICurrentApplication::loadString(KelRes::applyButton), this);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_defaults = new QPushButton(ICurrentApplication::loadString(KelRes::defaultsButton), this);
    m_defaults->setObjectName(QStringLiteral("defaults"));
    m_undo = new QPushButton(ICurrentApplication::loadString(KelRes::undoButton), this);
    m_undo->setObjectName(QStringLiteral("undo"));
    connect(m_apply, &QPushButton::clicked, this, &KelPreferencePanel::apply);
    connect(m_defaults, &QPushButton::clicked, this, &KelPreferencePanel::restoreDefaults);
    connect(m_undo, &QPushButton::clicked, this, &KelPreferencePanel::undo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_defaults);
    buttons->addWidget(m_undo);
    m_layout->addLayout(buttons);
    showValues();
}

void KelPreferencePanel::showValues()
{
    for (KelOptionGroup *group : m_groups)
        group->showValues();
    for (const std::function<void()> &show : m_show)
        show();
}

void KelPreferencePanel::takeValues()
{
    for (KelOptionGroup *group : m_groups)
        group->takeValues();
    for (const std::function<void()> &take : m_take)
        take();
}

void KelPreferencePanel::apply()
{
    takeValues();
    if (guardedSave(this, [this] { m_set.applyPreferences(); }))
        emit saved();
}

void KelPreferencePanel::restoreDefaults()
{
    if (guardedSave(this, [this] { m_set.defaultPreferences(); }))
        emit saved();
    else
        m_set.preferences(); // show what the profile still holds
    showValues();
}

void KelPreferencePanel::undo()
{
    m_set.preferences();
    showValues();
}

bool KelPreferencePanel::guardedSave(QWidget *parent, const std::function<void()> &save)
{
    QString reason;
    try {
        save();
        return true;
    } catch (const IException &error) {
        reason = QString::fromStdString(error.text());
    } catch (const std::exception &error) {
        reason = QString::fromLocal8Bit(error.what());
    }
    QMessageBox::warning(parent,
                         ICurrentApplication::loadString(KelRes::preferencesNotSavedTitle),
                         ICurrentApplication::loadString(KelRes::preferencesNotSaved) + reason);
    return false;
}
