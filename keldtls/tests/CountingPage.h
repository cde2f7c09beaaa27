#pragma once

#include "DSOpenSettings.h"
#include "DSSettingsPage.h"
#include "DSSettingsView.h"

#include <QCheckBox>
#include <QPointer>
#include <QStringList>
#include <QVBoxLayout>

/// A page that counts how often it was filled and builds one check box.
class CountingPage : public DSSettingsPage
{
    Q_OBJECT

public:
    using DSSettingsPage::DSSettingsPage;
    int populated = 0;

protected:
    void populatePage() override
    {
        ++populated;
        auto *layout = new QVBoxLayout(window());
        layout->addWidget(new QCheckBox(QStringLiteral("An option of %1").arg(tabText())));
    }
};

/// An opener whose notebook has the pages named by `tabs` (major tabs, except names starting
/// with "-", which become minor tabs without the "-").
class ListOpener : public DSOpenSettings
{
    Q_OBJECT

public:
    using DSOpenSettings::DSOpenSettings;
    QStringList tabs;
    QList<QPointer<CountingPage>> pages;
    int populateCount = 0;
    int closedCount = 0;

    void settingsViewClosed() override
    {
        ++closedCount;
        DSOpenSettings::settingsViewClosed();
    }

protected:
    void populateSettingsView() override
    {
        ++populateCount;
        pages.clear();
        for (QString tab : tabs) {
            const bool minor = tab.startsWith(u'-');
            if (minor)
                tab.remove(0, 1);
            auto *page = new CountingPage(settingsView(),
                                          minor ? DSSettingsPage::TabType::minor
                                                : DSSettingsPage::TabType::major,
                                          tab,
                                          static_cast<int>(pages.size()),
                                          0);
            pages << page;
            settingsView()->addLastPage(page);
        }
    }
};
