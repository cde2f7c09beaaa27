#pragma once

#include "EnvironmentFile.h"

#include <string>
#include <vector>

/// The runtime environment library: named settings in named groups, kept for the user in
/// `environment.ini` in the per-user state directory (InstallPaths::stateDirectory()).
///
/// File: one `[group]` section per group, `name=value` lines (see EnvironmentFile for the exact
/// rules). Group names may hold blanks and "&" ("Conversion & Structuring"). Groups and names
/// match without regard to ASCII case, as on the system the settings come from; a setting keeps
/// the spelling it was first stored with. An empty value reads the same as an unset setting.
///
/// First use: when the file does not exist, the first read or write creates it (and the state
/// directory) with the installation's defaults:
///   [COMMON] QCOBDIR = InstallPaths::dataDirectory()
///   [Toolbench] CONFIG_PATH = <data directory>/templates
///   [Conversion & Structuring] QVFWORK = <InstallPaths::cacheDirectory()>/work (created too)
/// An existing file, even an empty one, is used as it is.
///
/// The file is read again on every call, so changes made by other processes (kelenv, another
/// wizard) are seen at once. Writes replace the file atomically (a new file in the same directory,
/// flushed to disk, renamed over the old one) under an advisory lock, so readers never see half a
/// file and two writers do not lose each other's setting (the lock is taken on the companion file
/// `environment.ini.lock`). A symbolic link in place of the file is followed and kept. Line ends
/// are written as "\n". All functions are thread-safe.
///
/// A file that cannot be read or is not a settings file (binary data, a section header without
/// "]", over-long lines): reads report the problem once per process on standard error, naming the
/// file, and answer from the installation's defaults; writes refuse with IAccessError and leave
/// the file as it is, so the user's content is never replaced.

/// The text of setting `name` of `group`; empty when unset. Never throws.
std::string readenv(const std::string &name, const std::string &group);

/// Stores `value` as setting `name` of `group`; the next readenv returns it. Throws IAccessError
/// with a message naming the file when the setting cannot be stored: the directory or file cannot
/// be written, the existing file is not a valid settings file, or the value holds a line break.
void writeStringValue(const std::string &name, const std::string &group, const std::string &value);

/// Every setting in file order. Throws IAccessError naming the file when it cannot be read or is
/// not a valid settings file. Creates the file with the defaults when it does not exist.
std::vector<EnvironmentSetting> readAllSettings();

/// Full path of the settings file (whether or not it exists yet).
std::string environmentFilePath();
