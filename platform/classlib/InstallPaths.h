#pragma once

#include <string>

/// Where the installation's data and the user's state live. Programs find their data relative to
/// their own executable (`<bin>/../share/chronex`), so the build tree runs without installing.
namespace InstallPaths {

/// Directory of the running executable.
std::string executableDirectory();

/// `$CHRONEX_DATA_DIR` if set, else `<executable dir>/../share/chronex`.
std::string dataDirectory();

/// `$CHRONEX_BIN_DIR` if set, else the running executable's directory: where the sibling programs
/// (kelwiz, zmc2, ...) are installed.
std::string binDirectory();

/// Per-user state: `$CHRONEX_HOME`, else `$XDG_CONFIG_HOME/chronex`, else `~/.config/chronex`.
/// Not created here.
std::string stateDirectory();

/// Per-user cache: `$XDG_CACHE_HOME/chronex`, else `~/.cache/chronex`. Not created here.
std::string cacheDirectory();

} // namespace InstallPaths
