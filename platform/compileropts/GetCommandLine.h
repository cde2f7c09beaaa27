#pragma once

/// Result codes of GETCOMMANDLINE; 0 is success, anything else is failure.
enum {
    RUXVCOPT_OK = 0,
    RUXVCOPT_NO_OPTIONS = 1,       ///< the project stores no compiler options
    RUXVCOPT_UNREADABLE = 2,       ///< the project's options file is missing or unreadable
    RUXVCOPT_BUFFER_TOO_SMALL = 3, ///< the options do not fit the buffer with their NUL
    RUXVCOPT_BAD_ARGUMENTS = 4,    ///< no project name or no buffer
};

#define RUXVCOPT_EXPORT __attribute__((visibility("default")))

/// Copies the compiler options stored with the project file `projectName` into `buffer` (of
/// `bufferSize` bytes) as a NUL-terminated string. The buffer is never written past
/// `bufferSize` and, whenever it is at least one byte long, always holds a terminated string
/// (empty on failure). `windowHandle` is the caller's window; it is not used.
extern "C" RUXVCOPT_EXPORT int GETCOMMANDLINE(const char *projectName,
                                              unsigned long windowHandle,
                                              int bufferSize,
                                              char *buffer);

/// The signature the launcher resolves by name.
using GetCommandLineFunction = int (*)(const char *, unsigned long, int, char *);
