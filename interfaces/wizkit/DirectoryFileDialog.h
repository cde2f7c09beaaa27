#pragma once

#include "GenericFileDialog.h"

/// A modal dialog for choosing a directory; shows directories only.
class DirectoryFileDialog final : public GenericFileDialog
{
public:
    DirectoryFileDialog(QWidget *owner,
                        const QString &startDirectory,
                        const QString &extension,
                        const QString &title);
};
