// RegisterInstance: placements and profile values.

#include "RegisterInstance.h"

#include "DbEu.h"
#include "DbPu.h"
#include "ITrace.h"
#include "KelipcErrors.h"
#include "KelresrcResourceIds.h"
#include "PlacementValue.h"
#include "WindowPlacement.h"

#include <QWidget>

using KelipcErrors::traceComponent;

namespace {

const QString windowPosition = QStringLiteral("WindowPosition");
const QString windowPMPosition = QStringLiteral("WindowPMPosition");
const QString separator = QStringLiteral("::");

std::optional<PlacementValue> stored(const IProfile &profile,
                                     const QString &application,
                                     const QString &key)
{
    const std::optional<QString> text = profile.value(application, key);
    if (!text)
        return std::nullopt;
    return PlacementValue::parse(text->toStdString());
}

} // namespace

QWidget *RegisterInstance::window() const
{
    return handle().window();
}

QString RegisterInstance::profileAppName() const
{
    ITraceScope trace(traceComponent, "RegisterInstance::profileAppName()");
    const DbEu *eu = euidNum();
    if (!eu)
        return profileAppName3();
    QString name = profileAppName3() + separator + QString::fromStdString(eu->euName());
    if (const DbPu *pu = puidNum())
        name += separator + QString::fromStdString(pu->puName());
    return name;
}

QString RegisterInstance::profileAppName2() const
{
    ITraceScope trace(traceComponent, "RegisterInstance::profileAppName2()");
    return KelipcErrors::text(KelRes::preferencesApplication);
}

QString RegisterInstance::profileAppName3() const
{
    ITraceScope trace(traceComponent, "RegisterInstance::profileAppName3()");
    return objectId() + separator + QString::number(viewNum());
}

void RegisterInstance::savePosition(IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::savePosition(IProfile)");
    const QString own = profileAppName();
    const QString kind = profileAppName3();
    QWidget *frame = window();
    if (!frame)
        return;
    PlacementValue value = WindowPlacement::current(frame);
    if (value.state != PlacementValue::State::Normal) {
        // A minimized or maximized frame's rectangle is not its placement: keep the one stored.
        std::optional<PlacementValue> before = stored(profile, own, windowPosition);
        if (!before)
            before = stored(profile, kind, windowPosition);
        if (!before)
            return;
        before->state = value.state;
        value = *before;
    }
    profile.setValue(own, windowPosition, QString::fromStdString(value.text()));
    profile.setValue(kind, windowPosition, QString::fromStdString(value.text()));
}

void RegisterInstance::restorePosition(IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::restorePosition(IProfile)");
    std::optional<QString> text = profile.value(profileAppName(), windowPosition);
    if (!text)
        text = profile.value(profileAppName3(), windowPosition);
    QWidget *frame = window();
    if (!text || !frame)
        return;
    const std::optional<PlacementValue> value = PlacementValue::parse(text->toStdString());
    if (!value || !WindowPlacement::applyRectangle(frame, *value))
        return;
    WindowPlacement::applyState(frame, value->state);
}

void RegisterInstance::savePMPosition(IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::savePMPosition(IProfile)");
    const QString own = profileAppName();
    if (QWidget *frame = window())
        profile.setValue(own,
                         windowPMPosition,
                         QString::fromStdString(WindowPlacement::current(frame).text()));
}

void RegisterInstance::restorePMPosition(IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::restorePMPosition(IProfile)");
    const std::optional<PlacementValue> value = stored(profile, profileAppName(), windowPMPosition);
    const IWindowHandle own = handle();
    QWidget *frame = own.window();
    if (!value || !frame || !WindowPlacement::applyRectangle(frame, *value))
        return;
    switch (value->state) {
    case PlacementValue::State::Normal:
        break;
    case PlacementValue::State::Minimized:
        own.sendSystemCommand(ISystemCommand::Minimize);
        break;
    case PlacementValue::State::Maximized:
        own.sendSystemCommand(ISystemCommand::Maximize);
        break;
    }
}

void RegisterInstance::saveINIString(const QString &key,
                                     const QString &value,
                                     IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::saveINIString(IString,IString,IProfile)");
    profile.setValue(profileAppName2(), key, value);
}

QString RegisterInstance::retrieveINIString(const QString &key,
                                            const QString &,
                                            IProfile profile) const
{
    ITraceScope trace(traceComponent,
                      "RegisterInstance::retrieveINIString(IString,IString,IProfile)");
    return profile.value(profileAppName2(), key).value_or(QStringLiteral("NULL"));
}

void RegisterInstance::saveINIInteger(const QString &key, long value, IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::saveINIInteger(IString,long,IProfile)");
    profile.setIntegerValue(profileAppName2(), key, value);
}

long RegisterInstance::retrieveINIInteger(const QString &key, IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::retrieveINIInteger(IString,IProfile)");
    return profile.integerValue(profileAppName2(), key).value_or(-1);
}

void RegisterInstance::deleteINIKey(const QString &key, IProfile profile) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::deleteINIKey(IString,IProfile)");
    profile.removeKey(profileAppName2(), key);
}
