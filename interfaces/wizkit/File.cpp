#include "File.h"

#include <QFileIconProvider>
#include <QFileInfo>

File::File(const QString &path)
    : m_fullName(path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath())
{}

File::File(const std::string &path)
    : File(QString::fromStdString(path))
{}

QString File::fileName() const
{
    return QFileInfo(m_fullName).fileName();
}

bool File::exists() const
{
    return !m_fullName.isEmpty() && QFileInfo::exists(m_fullName);
}

bool File::isFile() const
{
    return !m_fullName.isEmpty() && QFileInfo(m_fullName).isFile();
}

bool File::isDirectory() const
{
    return !m_fullName.isEmpty() && QFileInfo(m_fullName).isDir();
}

QIcon File::icon() const
{
    QFileIconProvider provider;
    if (!exists())
        return provider.icon(QFileIconProvider::File);
    const QIcon icon = provider.icon(QFileInfo(m_fullName));
    return icon.isNull() ? provider.icon(QFileIconProvider::File) : icon;
}
