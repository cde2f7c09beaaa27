#pragma once

class QWidget;
struct StartWindowData;

/// Makes and shows the window for a grapher request (view kind 'g'): the control-flow graph of
/// the request's unit, or of the execution unit when the request names none. The window deletes
/// itself when closed; the factory does not keep it.
///
/// This is the one place the host program asks for a grapher, so that the graph view replaces
/// the window made here without touching the rest of the host.
QWidget *makeGrapherWindow(const StartWindowData &request);
