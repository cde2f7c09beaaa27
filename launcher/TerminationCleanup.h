#pragma once

#include <sys/types.h>

/// What the launcher must not leave behind when a signal ends it: the temporary settings file,
/// and the wizard it started and waits for.
///
/// `install` sets handlers for SIGINT, SIGTERM and SIGHUP. When one arrives, the handler passes
/// the signal on to the registered wizard, removes the registered file and ends the launcher by
/// the same signal (its default action), so the caller still sees how it ended. The handler
/// uses only async-signal-safe calls on data set up beforehand.
namespace TerminationCleanup {

/// Sets the handlers; call once at start-up.
void install();

/// The file to remove (a copy of the path is kept); null or empty: none. The path must be
/// shorter than 4096 bytes to be kept.
void setFile(const char *path);

/// The child to pass the signal on to; 0: none.
void setChild(pid_t child);

} // namespace TerminationCleanup
