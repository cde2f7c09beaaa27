#pragma once

#include <QString>

class ResourceLibrary;

/// The running application as the libraries see it: which resource library holds the texts,
/// icons and frame titles that they load by id (the user resource library).
///
/// The analysis views use "KELRESRC", which is also the default; an entry function that serves
/// another product sets its own library first. Thread-safe.
class ICurrentApplication final
{
public:
    ICurrentApplication() = delete;

    /// Makes `name` the user resource library. It is opened on first use.
    static void setUserResourceLibrary(const QString &name);
    static QString userResourceLibraryName();

    /// The user resource library; throws IAccessError naming the file when it cannot be opened.
    static const ResourceLibrary &userResourceLibrary();
    /// The user resource library, or nullptr (reported once on standard error) when it cannot be
    /// opened: for decorations that a window can do without.
    static const ResourceLibrary *userResourceLibraryIfLoaded();

    /// The string `id` of the user resource library; when the library or the string is missing,
    /// a text naming both ("[KELRESRC 28672]") so that the gap shows instead of failing.
    static QString loadString(unsigned long id);
};
