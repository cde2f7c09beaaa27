#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// A profile file: string and integer values by application name and key, kept in an INI file
/// (format: ProfileFile). The views keep their window placements and preferences in profiles.
///
/// An IProfile is a small value (it names the file) and is passed by value. Every operation reads
/// the file again, so values written by another window or process are seen at once. A change is
/// a read-modify-write under a lock (within the process and, through `<file>.lock`, between
/// processes) and replaces the file atomically (a new file next to it, flushed, renamed over the
/// old one), so a reader never sees half a file and two writers never lose each other's value.
///
/// A damaged file (binary data, text that is not UTF-8, a section header without "]", over-long
/// lines) or one that cannot be read: reads report the problem on standard error once per process
/// and answer as for a missing key; changes throw IAccessError naming the file and leave it as it
/// is, so the user's content is never overwritten. problem() tells a program at start.
///
/// All operations are thread-safe.
class IProfile final
{
public:
    /// The profile `fileName`: a relative name ("KELINI.INI") lives in the per-user state
    /// directory (InstallPaths::stateDirectory(), read now), an absolute one is used as it is.
    /// Nothing is read or created until the first operation; the directory and the file are
    /// created by the first change.
    explicit IProfile(const QString &fileName);

    /// The full path of the file.
    const QString &fileName() const { return m_path; }

    /// The value of `key` in `application`; nothing when the key is absent (or the file missing,
    /// unreadable or damaged).
    std::optional<QString> value(const QString &application, const QString &key) const;

    /// The value of `key` as an integer: optional blanks, an optional sign and decimal digits
    /// that fit a long. Nothing when the key is absent or its value is not such an integer.
    std::optional<long> integerValue(const QString &application, const QString &key) const;

    /// Adds or replaces `key` in `application`. Throws IAccessError naming the file when the
    /// value cannot be stored: the file is damaged or unwritable, or a name or the value cannot
    /// be written in the format (see ProfileFile::setValue).
    void setValue(const QString &application, const QString &key, const QString &value);
    /// Stores `value` in decimal.
    void setIntegerValue(const QString &application, const QString &key, long value);

    /// Removes `key` from `application`; false when it was not there. Throws as setValue.
    bool removeKey(const QString &application, const QString &key);
    /// Removes `application` with all its keys; false when it was not there. Throws as setValue.
    bool removeApplication(const QString &application);

    bool containsKey(const QString &application, const QString &key) const;
    bool containsApplication(const QString &application) const;
    /// Application names in file order.
    QStringList applicationNames() const;
    /// Keys of `application` in file order.
    QStringList keyNames(const QString &application) const;

    /// Empty when the file is missing or a valid profile; otherwise a message naming the file and
    /// what is wrong with it.
    QString problem() const;

private:
    QString m_path;
};
