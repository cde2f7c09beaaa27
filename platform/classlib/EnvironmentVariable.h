#pragma once

#include <cstdlib>
#include <string>

namespace EnvironmentVariable {

/// The value of the environment variable `name`; empty when it is not set.
inline std::string value(const char *name)
{
    const char *text = std::getenv(name);
    return text ? std::string(text) : std::string();
}

} // namespace EnvironmentVariable
