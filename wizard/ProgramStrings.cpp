#include "ProgramStrings.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace {

QHash<unsigned long, QString> readTable()
{
    QHash<unsigned long, QString> table;
    QFile file(QStringLiteral(":/kelwiz/strings.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return table;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const unsigned long id = tab > 0 ? line.left(tab).toULong(&ok) : 0;
        if (ok)
            table.insert(id, line.mid(tab + 1));
    }
    return table;
}

} // namespace

namespace ProgramStrings {

QString text(unsigned long id)
{
    static const QHash<unsigned long, QString> table = readTable();
    return table.value(id);
}

} // namespace ProgramStrings
