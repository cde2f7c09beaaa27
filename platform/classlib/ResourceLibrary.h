#pragma once

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

/// A resource library opened by name: texts, bitmaps and icons addressed by numeric id.
///
/// Each library is a Qt binary resource file `<data dir>/resources/<NAME>.rcc` holding
/// `strings*.txt` tables (one `<id><TAB><text>` line per string, the id in decimal or in hexadecimal
/// with "0x"; `\n`, `\t` and `\\` are escapes; lines starting with `#` are comments) and `images/<id>.png` or `images/<id>.svg`.
///
/// Libraries are loaded once per process and live until it ends; `load` returns the same object
/// for the same name. Loading and string lookup are thread-safe once loaded.
class ResourceLibrary final
{
public:
    /// Opens the library `name` (e.g. "KELWIZRS"). Throws IAccessError naming the file it looked
    /// for when the library cannot be found or read.
    static const ResourceLibrary &load(const QString &name);

    const QString &name() const { return m_name; }

    /// The text with `id`. Throws IAccessError naming the library and the id when it has none.
    QString loadString(unsigned long id) const;
    bool hasString(unsigned long id) const;

    /// The image with `id` (an SVG is rendered at its own size). Throw IAccessError when missing.
    QImage loadImage(unsigned long id) const;
    QPixmap loadBitmap(unsigned long id) const;
    QIcon loadIcon(unsigned long id) const;
    bool hasImage(unsigned long id) const;

    /// Path of the image with `id` inside the resource system, empty when missing.
    QString imagePath(unsigned long id) const;

private:
    ResourceLibrary(QString name, QString root);
    void readStringTable(const QString &path);

    QString m_name;
    QString m_root;
    QHash<unsigned long, QString> m_strings;
};
