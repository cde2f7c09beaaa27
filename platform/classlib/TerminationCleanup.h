#pragma once

#include <sys/types.h>

/// What a program must not leave behind when a signal ends it: a temporary file, and the child
/// (or the children's process groups) it started and waits for. wizlaunch registers its settings
/// file and the wizard; kelwiz registers the process group of every tool the conversion runs.
///
/// `install` sets handlers for SIGINT, SIGTERM and SIGHUP. When one arrives, the handler passes
/// the signal on to the registered child or group, removes the registered file and ends the
/// program by the same signal (its default action), so the caller still sees how it ended. The
/// handler uses only async-signal-safe calls on data set up beforehand; the setters may be called
/// from any thread.
namespace TerminationCleanup {

/// Sets the handlers; call once at start-up.
void install();

/// The file to remove (a copy of the path is kept); null or empty: none. The path must be
/// shorter than 4096 bytes to be kept.
void setFile(const char *path);

/// The child to pass the signal on to; 0: none.
void setChild(pid_t child);

/// The process group (led by `leader`) to pass the signal on to; 0: none.
void setChildGroup(pid_t leader);

/// The most process groups registered with addChildGroup at a time.
constexpr int maximumChildGroups = 64;

/// Adds the process group led by `leader` to those the signal is passed on to, beside the one
/// of setChildGroup; false when `maximumChildGroups` are registered already.
bool addChildGroup(pid_t leader);
/// Takes the group led by `leader` off that list again.
void removeChildGroup(pid_t leader);

} // namespace TerminationCleanup
