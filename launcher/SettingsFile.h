#pragma once

#include <string>

/// The input settings file the launcher hands to the wizard: created under a fresh name in the
/// temporary directory, and removed when this object goes, whatever happened in between.
///
/// The name is made and the file created in one step (mkstemp, mode 0600), so no other process
/// can take the name first or plant a link under it.
class SettingsFile final
{
public:
    /// Creates "<temp dir>/y2kXXXXXX" ($TMPDIR, else /tmp). Throws IAccessError naming the
    /// directory when no file can be created there.
    SettingsFile();
    ~SettingsFile();
    SettingsFile(const SettingsFile &) = delete;
    SettingsFile &operator=(const SettingsFile &) = delete;

    const std::string &path() const { return m_path; }

    /// Writes `text` as the file's whole content. Throws IAccessError naming the file when it
    /// cannot be written completely.
    void write(const std::string &text);

    /// The directory new files are created in.
    static std::string temporaryDirectory();

private:
    std::string m_path;
    int m_descriptor = -1;
};
