#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

/// A throwaway per-user state directory for one test: CHRONEX_HOME points at a fresh empty
/// directory while the object lives and is put back afterwards. Profiles (IProfile) and the
/// environment settings made during the test land there.
///
///     TemporaryHome home;
///     IProfile profile(QStringLiteral("KELPLACE.INI"));   // home.filePath("KELPLACE.INI")
class TemporaryHome final
{
public:
    TemporaryHome()
        : m_previous(qgetenv("CHRONEX_HOME"))
        , m_hadPrevious(qEnvironmentVariableIsSet("CHRONEX_HOME"))
    {
        qputenv("CHRONEX_HOME", m_directory.path().toUtf8());
    }
    ~TemporaryHome()
    {
        if (m_hadPrevious)
            qputenv("CHRONEX_HOME", m_previous);
        else
            qunsetenv("CHRONEX_HOME");
    }
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return m_directory.path(); }
    QString filePath(const QString &name) const { return QDir(path()).filePath(name); }

private:
    QTemporaryDir m_directory;
    QByteArray m_previous;
    bool m_hadPrevious;
};
