#include "DbCompilerPageInfo.h"

#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KeldtlsResourceIds.h"

#include <QStringList>

namespace {

/// The layout families of GnuCOBOL's dialect configurations (as the front end's Dialect table
/// holds them): binary sizes 2-4-8, the fewest bytes, or 1-2-4-8.
const QStringList twoFourEightDialects = {QStringLiteral("ibm"),
                                          QStringLiteral("ibm-strict"),
                                          QStringLiteral("mvs"),
                                          QStringLiteral("mvs-strict"),
                                          QStringLiteral("bs2000"),
                                          QStringLiteral("bs2000-strict"),
                                          QStringLiteral("rm"),
                                          QStringLiteral("rm-strict"),
                                          QStringLiteral("realia"),
                                          QStringLiteral("realia-strict")};
const QStringList minimalDialects = {QStringLiteral("mf"), QStringLiteral("mf-strict")};
const QStringList oneTwoFourEightDialects = {QStringLiteral("default"),
                                             QStringLiteral("cobol85"),
                                             QStringLiteral("cobol2002"),
                                             QStringLiteral("cobol2014"),
                                             QStringLiteral("xopen"),
                                             QStringLiteral("acu"),
                                             QStringLiteral("acu-strict")};

const QString defaultLibrary = QStringLiteral("DEFAULT");
const QString libraryPrefix = QStringLiteral("LIB=");
const QString replacingMark = QStringLiteral("+R");

QString yesNo(bool value)
{
    return ICurrentApplication::loadString(value ? KelRes::yesText : KelRes::noText);
}

} // namespace

QString DbCompilerPageInfo::binaryLayout(const QString &dialect)
{
    const QString name = dialect.toLower();
    if (twoFourEightDialects.contains(name))
        return ICurrentApplication::loadString(KelRes::twoFourEightLayout);
    if (minimalDialects.contains(name))
        return ICurrentApplication::loadString(KelRes::minimalLayout);
    if (oneTwoFourEightDialects.contains(name))
        return ICurrentApplication::loadString(KelRes::oneTwoFourEightLayout);
    return {};
}

QStringList DbCompilerPageInfo::copyLibraries(const QStringList &qualifiers)
{
    QStringList libraries;
    for (QString qualifier : qualifiers) {
        if (const qsizetype mark = qualifier.indexOf(replacingMark); mark >= 0)
            qualifier.truncate(mark);
        QString library;
        if (qualifier == defaultLibrary)
            library = ICurrentApplication::loadString(KelRes::defaultCopyLibrary);
        else if (qualifier.startsWith(libraryPrefix))
            library = qualifier.mid(libraryPrefix.size());
        if (!library.isEmpty() && !libraries.contains(library))
            libraries.append(library);
    }
    return libraries;
}

DbCompilerPageInfo::DbCompilerPageInfo(QWidget *parent, DbPu &pu)
    : DbPropertyPage(parent, pu)
{
    setObjectName(QStringLiteral("compilerPage"));
    addRow(KelRes::languageLabel,
           pu.languageCode() == DbPu::languageCobol
               ? ICurrentApplication::loadString(KelRes::cobolLanguage)
               : QString::number(pu.languageCode()));
    const QString dialect = QString::fromStdString(pu.dialect());
    addRow(KelRes::dialectLabel,
           dialect.isEmpty() ? ICurrentApplication::loadString(KelRes::noneText) : dialect);
    if (const QString layout = binaryLayout(dialect); !layout.isEmpty())
        addRow(KelRes::binaryLayoutLabel, layout);
    addRow(KelRes::compiledCleanLabel, yesNo(pu.isLinkable()));
    addRow(KelRes::stateLabel, QString::fromStdString(DbPu::toIString(pu.state())));
    addRow(KelRes::builderVersionLabel,
           QStringLiteral("%1.%2").arg(pu.version()).arg(pu.release()));
    if (!unitLoaded())
        return;

    // Include 0 is the program source itself; every other include is one COPY statement.
    QStringList qualifiers;
    int replacing = 0;
    for (std::size_t include = 1; include < pu.includes().size(); ++include) {
        const QString qualifier = QString::fromStdString(pu.includes()[include].qualifier);
        qualifiers.append(qualifier);
        replacing += qualifier.contains(replacingMark) ? 1 : 0;
    }
    int copybookFiles = 0;
    for (DbInputFileTable::Cursor cursor(pu.inputFileTable()); cursor.isValid(); cursor.setToNext())
        copybookFiles += cursor.element().kind() == DbInputFile::copybookFile ? 1 : 0;
    const QStringList libraries = copyLibraries(qualifiers);
    addRow(KelRes::copyLibrariesLabel,
           libraries.isEmpty() ? ICurrentApplication::loadString(KelRes::noneText)
                               : libraries.join(QStringLiteral(", ")));
    addRow(KelRes::copyStatementsLabel, QString::number(qualifiers.size()));
    addRow(KelRes::replacingLabel, QString::number(replacing));
    addRow(KelRes::copybookFilesLabel, QString::number(copybookFiles));
}
