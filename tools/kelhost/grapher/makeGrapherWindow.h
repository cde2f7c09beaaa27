#pragma once

class QWidget;
struct StartWindowData;

/// The host's factory entry for view kind 'g' (view 593): makes and shows the grapher for
/// `request` (a unit's control flow, or the execution unit's programs and calls when
/// `request.puName` is empty) in the execution unit of `StartWindowData::eu()`. The window
/// deletes itself when closed; the pointer is for the caller's records only. Call it on the GUI
/// thread, from KelWindowStart::startWindow.
QWidget *makeGrapherWindow(const StartWindowData &request);
