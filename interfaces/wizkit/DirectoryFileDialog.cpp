#include "DirectoryFileDialog.h"

DirectoryFileDialog::DirectoryFileDialog(QWidget *owner,
                                         const QString &startDirectory,
                                         const QString &extension,
                                         const QString &title)
    : GenericFileDialog(owner, startDirectory, extension, title, Mode::Directory)
{}
