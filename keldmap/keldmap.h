#pragma once

class DbEu;
class DbPu;
class DbToken;

/// The data map library's plain entry function: makes "KELRESRC" the application's user
/// resource library and runs the calling thread's message processing (the application's event
/// loop) until it ends; called while a loop already runs, it returns at once. The three
/// arguments are not used: a host opens maps with `new KelDataMapWindow(...)`.
///
/// Errors are caught three ways and shown with the analysis database's message display
/// (KelMsg), naming this module and lines 94 (KelMsgException), 99/100 (IException) and 105/106
/// (anything else). Returns the event loop's exit code, or 0.
int keldmap(DbEu &eu, DbPu &pu, DbToken &token);
