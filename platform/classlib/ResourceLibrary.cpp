#include "ResourceLibrary.h"

#include "IException.h"
#include "InstallPaths.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QResource>
#include <QTextStream>

#include <map>
#include <memory>

namespace {

QString unescape(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == u'n')
            result += u'\n';
        else if (next == u't')
            result += u'\t';
        else
            result += next;
    }
    return result;
}

QString notFound(const QString &library, unsigned long id, const char *what)
{
    return QStringLiteral("Resource library %1 holds no %2 with id %3.")
        .arg(library, QLatin1String(what))
        .arg(id);
}

} // namespace

const ResourceLibrary &ResourceLibrary::load(const QString &name)
{
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<ResourceLibrary>> libraries;

    QMutexLocker lock(&mutex);
    if (auto it = libraries.find(name); it != libraries.end())
        return *it->second;

    const QString file = QString::fromStdString(InstallPaths::dataDirectory())
                         + QStringLiteral("/resources/") + name + QStringLiteral(".rcc");
    const QString root = QStringLiteral("/chronex-resources/") + name;
    if (!QFile::exists(file) || !QResource::registerResource(file, root)) {
        ITHROW(IAccessError(QStringLiteral("Cannot open the resource library %1: %2 is missing or "
                                           "not a resource file.")
                                .arg(name, file)
                                .toStdString()));
    }
    std::unique_ptr<ResourceLibrary> library(
        new ResourceLibrary(name, QStringLiteral(":") + root + QStringLiteral("/") + name));
    return *libraries.emplace(name, std::move(library)).first->second;
}

ResourceLibrary::ResourceLibrary(QString name, QString root)
    : m_name(std::move(name))
    , m_root(std::move(root))
{
    // A library may split its table over several files (strings.txt, strings-engine.txt, ...) so
    // that the parts of the program that own the texts can keep them apart.
    const QStringList tables = QDir(m_root).entryList({QStringLiteral("strings*.txt")},
                                                      QDir::Files,
                                                      QDir::Name);
    for (const QString &table : tables)
        readStringTable(m_root + u'/' + table);
}

void ResourceLibrary::readStringTable(const QString &path)
{
    QFile strings(path);
    if (!strings.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&strings);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        // Ids are decimal, or hexadecimal with "0x" as the design writes most of them.
        const QString idText = line.left(tab).trimmed();
        bool ok = false;
        const unsigned long id = idText.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                     ? idText.mid(2).toULong(&ok, 16)
                                     : idText.toULong(&ok, 10);
        if (ok)
            m_strings.insert(id, unescape(line.mid(tab + 1)));
    }
}

QString ResourceLibrary::loadString(unsigned long id) const
{
    const auto it = m_strings.constFind(id);
    if (it == m_strings.constEnd())
        ITHROW(IAccessError(notFound(m_name, id, "string").toStdString()));
    return *it;
}

bool ResourceLibrary::hasString(unsigned long id) const
{
    return m_strings.contains(id);
}

QString ResourceLibrary::imagePath(unsigned long id) const
{
    for (const char *extension : {".png", ".svg"}) {
        const QString path = m_root + QStringLiteral("/images/") + QString::number(id)
                             + QLatin1String(extension);
        if (QFile::exists(path))
            return path;
    }
    return {};
}

bool ResourceLibrary::hasImage(unsigned long id) const
{
    return !imagePath(id).isEmpty();
}

QImage ResourceLibrary::loadImage(unsigned long id) const
{
    const QString path = imagePath(id);
    const QImage image = path.isEmpty() ? QImage() : QImage(path);
    if (image.isNull())
        ITHROW(IAccessError(notFound(m_name, id, "image").toStdString()));
    return image;
}

QPixmap ResourceLibrary::loadBitmap(unsigned long id) const
{
    return QPixmap::fromImage(loadImage(id));
}

QIcon ResourceLibrary::loadIcon(unsigned long id) const
{
    const QString path = imagePath(id);
    if (path.isEmpty())
        ITHROW(IAccessError(notFound(m_name, id, "icon").toStdString()));
    return QIcon(path);
}
