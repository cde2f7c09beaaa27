#pragma once

#include "DemoDatabase.h"
#include "DemoViews.h"
#include "KelDesktop.h"
#include "TemporaryHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

/// What every window test stands on: a throwaway CHRONEX_HOME and working directory, the demo
/// analysis database, the stand-in factory and a desktop over them. Made in that order, torn
/// down in reverse (the views the factory made first), so no test leaves windows or files behind.
struct DemoScene
{
    std::unique_ptr<TemporaryHome> home = std::make_unique<TemporaryHome>();
    std::unique_ptr<QTemporaryDir> workDirectory = std::make_unique<QTemporaryDir>();
    QString previousDirectory = QDir::currentPath();
    std::unique_ptr<DemoDatabase> database;
    std::unique_ptr<DemoFactory> factory = std::make_unique<DemoFactory>();
    std::unique_ptr<KelDesktop> desktop;

    /// `applicationEnd` is what the desktop calls when it closes.
    explicit DemoScene(std::function<void()> applicationEnd = [] {})
    {
        QDir::setCurrent(workDirectory->path());
        database = std::make_unique<DemoDatabase>();
        makeDesktop(std::move(applicationEnd));
    }

    /// A new desktop over the same database and factory (the old one is closed first).
    void makeDesktop(std::function<void()> applicationEnd)
    {
        desktop.reset();
        desktop = std::make_unique<KelDesktop>();
        desktop->setKelWindowStart(factory.get());
        desktop->setApplicationEnd(std::move(applicationEnd));
        desktop->loadEuData(&database->eu());
    }

    ~DemoScene()
    {
        for (const DemoFactory::Made &made : std::as_const(factory->made))
            delete made.window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        desktop.reset();
        factory.reset();
        database.reset();
        QDir::setCurrent(previousDirectory);
        workDirectory.reset();
        home.reset();
    }

    DemoScene(const DemoScene &) = delete;
    DemoScene &operator=(const DemoScene &) = delete;
};
