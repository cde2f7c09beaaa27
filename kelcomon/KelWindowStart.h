#pragma once

struct StartWindowData;

/// The factory of view windows, supplied by the host program and registered with
/// KelDesktop::setKelWindowStart. The desktop calls it on the GUI thread for every window
/// request, in request order, once the request's program unit is loaded (or could not be).
///
///     class HostWindows : public KelWindowStart
///     {
///     public:
///         void startWindow(StartWindowData *request) override
///         {
///             switch (request->kind) {
///             case StartWindowData::browser: (new KelBrowser(*request))->show(); break;
///             ...
///             }
///         }
///     };
///
/// `request` is never null; it belongs to the desktop and is deleted when startWindow returns,
/// so keep what you need, not the pointer. `request->pu` is the unit (null only when the
/// execution unit has no unit of the name asked for); an empty `request->puName` means the
/// request was for the execution unit as a whole. An exception thrown here is reported through
/// the message display and the exception log; the desktop goes on with later requests.
class KelWindowStart
{
public:
    virtual ~KelWindowStart();
    /// Creates and shows the window `request` asks for.
    virtual void startWindow(StartWindowData *request) = 0;
};
