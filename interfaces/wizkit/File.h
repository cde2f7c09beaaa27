#pragma once

#include <QIcon>
#include <QString>

#include <string>

/// A file as the kit knows it: its full name and the icon the desktop shows for it.
class File final
{
public:
    /// No file: an empty full name.
    File() = default;
    /// `path` may be relative; it is made absolute against the current directory now, so the
    /// full name does not change when the working directory does later.
    explicit File(const QString &path);
    explicit File(const std::string &path);

    /// Absolute, cleaned path ("/" separators, no "." or ".." parts).
    const QString &fullName() const { return m_fullName; }
    /// The same as UTF-8, for the std-only engine.
    std::string fullPath() const { return m_fullName.toStdString(); }
    /// The last part of the path.
    QString fileName() const;

    bool exists() const;
    /// True when the file exists and is a regular file (after following links).
    bool isFile() const;
    /// True when the path names an existing directory.
    bool isDirectory() const;
    /// The desktop's icon for the file (needs a running QGuiApplication). A file that does not
    /// exist gets the generic file icon.
    QIcon icon() const;

private:
    QString m_fullName;
};
