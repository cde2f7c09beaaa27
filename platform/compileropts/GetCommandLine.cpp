// The exported entry point of the compiler-options library, loaded by name at run time.

#include "GetCommandLine.h"

#include "ProjectOptionsFile.h"

#include <cstring>

extern "C" RUXVCOPT_EXPORT int GETCOMMANDLINE(const char *projectName,
                                              unsigned long /*windowHandle*/,
                                              int bufferSize,
                                              char *buffer)
{
    if (!buffer || bufferSize <= 0)
        return RUXVCOPT_BAD_ARGUMENTS;
    buffer[0] = '\0';
    if (!projectName)
        return RUXVCOPT_BAD_ARGUMENTS;

    // No exception may cross the C boundary into the caller.
    ProjectOptionsFile::Result result;
    try {
        result = ProjectOptionsFile::read(projectName);
    } catch (...) {
        return RUXVCOPT_UNREADABLE;
    }
    switch (result.status) {
    case ProjectOptionsFile::Status::Found:
        break;
    case ProjectOptionsFile::Status::NoOptions:
        return RUXVCOPT_NO_OPTIONS;
    case ProjectOptionsFile::Status::Unreadable:
        return RUXVCOPT_UNREADABLE;
    case ProjectOptionsFile::Status::BadProjectName:
        return RUXVCOPT_BAD_ARGUMENTS;
    }
    // Truncated options would be wrong options: refuse instead of cutting them.
    if (result.options.size() >= static_cast<std::size_t>(bufferSize))
        return RUXVCOPT_BUFFER_TOO_SMALL;
    std::memcpy(buffer, result.options.c_str(), result.options.size() + 1);
    return RUXVCOPT_OK;
}
