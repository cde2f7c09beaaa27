#include "IProfile.h"

#include "AtomicFile.h"
#include "IException.h"
#include "InstallPaths.h"
#include "PathNames.h"
#include "ProfileFile.h"

#include <QDir>

#include <cerrno>
#include <charconv>
#include <functional>
#include <iostream>
#include <mutex>
#include <set>
#include <unistd.h>

namespace {

const std::string profileWhat = "profile";

// Serialises this process's accesses to profile files and guards `reportedProblems`.
std::mutex profileMutex;
std::set<std::string> reportedProblems;

void reportOnce(const std::string &message)
{
    if (reportedProblems.insert(message).second)
        std::cerr << message << std::endl;
}

std::string utf8(const QString &text)
{
    return text.toStdString();
}

/// The parsed file: an empty profile when the file is missing; nothing and `problem` set when
/// it cannot be read or is damaged. Call with profileMutex held.
std::optional<ProfileFile> load(const std::string &path, std::string &problem)
{
    std::string text;
    std::string reason;
    switch (AtomicFile::readText(path, ProfileFile::maxFileSize, text, reason)) {
    case AtomicFile::ReadResult::Missing:
        return ProfileFile();
    case AtomicFile::ReadResult::Failed:
        problem = "Cannot read the profile " + path + ": " + reason + ".";
        return std::nullopt;
    case AtomicFile::ReadResult::Read:
        break;
    }
    auto file = ProfileFile::parse(text, reason);
    if (!file)
        problem = "The profile " + path + " is damaged (" + reason
                  + "). It is left as it is; correct or remove it.";
    return file;
}

/// The file for reading: a damaged or unreadable file is reported once and reads as empty.
ProfileFile loadForReading(const std::string &path)
{
    std::lock_guard lock(profileMutex);
    std::string problem;
    auto file = load(path, problem);
    if (file)
        return std::move(*file);
    reportOnce(problem + " Its values are not used.");
    return ProfileFile();
}

/// Runs `change` on the file and writes it back when `change` returns true. Throws IAccessError
/// naming the file and leaves it unchanged when it cannot be read, is damaged or cannot be
/// written.
bool modify(const std::string &path, const std::function<bool(ProfileFile &)> &change)
{
    std::lock_guard lock(profileMutex);
    AtomicFile::ensureDirectoryOf(path, profileWhat);
    AtomicFile::Lock fileLock(path, profileWhat);
    std::string problem;
    auto file = load(path, problem);
    if (!file)
        ITHROW(IAccessError(problem));
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        ITHROW(IAccessError("Cannot write the profile " + path + ": the file is not writable ("
                            + AtomicFile::systemMessage(errno) + ")."));
    if (!change(*file))
        return false;
    AtomicFile::writeText(path, file->text(), profileWhat);
    return true;
}

std::optional<long> parseInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

QStringList toStringList(const std::vector<std::string> &names)
{
    QStringList list;
    for (const std::string &name : names)
        list.append(QString::fromStdString(name));
    return list;
}

} // namespace

IProfile::IProfile(const QString &fileName)
    : m_path(QDir::isAbsolutePath(fileName)
                 ? fileName
                 : QString::fromStdString(
                     PathNames::join(InstallPaths::stateDirectory(), fileName.toStdString())))
{}

std::optional<QString> IProfile::value(const QString &application, const QString &key) const
{
    const auto found = loadForReading(utf8(m_path)).value(utf8(application), utf8(key));
    if (!found)
        return std::nullopt;
    return QString::fromStdString(*found);
}

std::optional<long> IProfile::integerValue(const QString &application, const QString &key) const
{
    const auto found = loadForReading(utf8(m_path)).value(utf8(application), utf8(key));
    if (!found)
        return std::nullopt;
    return parseInteger(*found);
}

void IProfile::setValue(const QString &application, const QString &key, const QString &value)
{
    const std::string path = utf8(m_path);
    modify(path, [&](ProfileFile &file) {
        if (const std::string problem = file.setValue(utf8(application), utf8(key), utf8(value));
            !problem.empty())
            ITHROW(IAccessError("Cannot store the key " + utf8(key) + " of " + utf8(application)
                                + " in the profile " + path + ": " + problem + "."));
        return true;
    });
}

void IProfile::setIntegerValue(const QString &application, const QString &key, long value)
{
    setValue(application, key, QString::number(value));
}

bool IProfile::removeKey(const QString &application, const QString &key)
{
    return modify(utf8(m_path),
                  [&](ProfileFile &file) { return file.removeKey(utf8(application), utf8(key)); });
}

bool IProfile::removeApplication(const QString &application)
{
    return modify(utf8(m_path),
                  [&](ProfileFile &file) { return file.removeApplication(utf8(application)); });
}

bool IProfile::containsKey(const QString &application, const QString &key) const
{
    return value(application, key).has_value();
}

bool IProfile::containsApplication(const QString &application) const
{
    return applicationNames().contains(application);
}

QStringList IProfile::applicationNames() const
{
    return toStringList(loadForReading(utf8(m_path)).applicationNames());
}

QStringList IProfile::keyNames(const QString &application) const
{
    return toStringList(loadForReading(utf8(m_path)).keyNames(utf8(application)));
}

QString IProfile::problem() const
{
    std::lock_guard lock(profileMutex);
    std::string problem;
    load(utf8(m_path), problem);
    return QString::fromStdString(problem);
}
