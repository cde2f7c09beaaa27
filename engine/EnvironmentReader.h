#pragma once

#include <functional>
#include <string>

/// Reads one environment setting by (name, group); empty when unset. The engine's pieces take
/// one so that the run uses the environment library and tests can hand in fixed values.
using EnvironmentReader
    = std::function<std::string(const std::string &name, const std::string &group)>;
