#pragma once

#include "IFrameWindow.h"
#include "RegisterInstance.h"

#include <QString>

#include <memory>

/// A view window as the view base declares its hooks (Q_INVOKABLE preferencesChanged and
/// coloursChanged), counting the calls, optionally registered in the window registry under a
/// view kind's object id and number.
class HookWindow : public IFrameWindow
{
    Q_OBJECT

public:
    HookWindow() = default;
    /// Registered as `objectId` with view number `view`.
    HookWindow(const QString &objectId, unsigned long view)
    {
        m_registration
            = std::make_unique<RegisterInstance>(handle(), objectId, view, nullptr, nullptr, this);
    }
    ~HookWindow() override { m_registration.reset(); }

    int preferencesCalls = 0;
    int coloursCalls = 0;

    Q_INVOKABLE void preferencesChanged() { ++preferencesCalls; }
    Q_INVOKABLE void coloursChanged() { ++coloursCalls; }

private:
    std::unique_ptr<RegisterInstance> m_registration;
};

/// A registered window without the hooks.
class PlainRegisteredWindow : public IFrameWindow
{
    Q_OBJECT

public:
    PlainRegisteredWindow(const QString &objectId, unsigned long view)
        : m_registration(
            std::make_unique<RegisterInstance>(handle(), objectId, view, nullptr, nullptr, this))
    {}
    ~PlainRegisteredWindow() override { m_registration.reset(); }

private:
    std::unique_ptr<RegisterInstance> m_registration;
};
