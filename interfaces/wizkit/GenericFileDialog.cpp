#include "GenericFileDialog.h"

#include "KitMarkup.h"
#include "WizkitTexts.h"

#include <QDir>
#include <QFileDialog>

GenericFileDialog::GenericFileDialog(QWidget *owner,
                                     const QString &startDirectory,
                                     const QString &extension,
                                     const QString &title)
    : GenericFileDialog(owner, startDirectory, extension, title, Mode::File)
{}

GenericFileDialog::GenericFileDialog(QWidget *owner,
                                     const QString &startDirectory,
                                     const QString &extension,
                                     const QString &title,
                                     Mode mode)
    : m_owner(owner)
    , m_startDirectory(startDirectory)
    , m_extension(extension)
    , m_title(title)
    , m_mode(mode)
{}

GenericFileDialog::~GenericFileDialog() = default;

QString GenericFileDialog::fileTypeText(const QString &extension, const QString &description)
{
    return description + QStringLiteral(" (*.") + extension + u')';
}

void GenericFileDialog::addFileType(const QString &extension, const QString &description)
{
    m_fileTypes.append(fileTypeText(extension, description));
}

void GenericFileDialog::setAcceptText(const QString &text)
{
    m_acceptText = KitMarkup::toPlainText(text);
}

void GenericFileDialog::show()
{
    m_accepted = false;
    m_selectedPath.clear();

    // Qt's own dialog rather than the desktop's: it takes the kit's texts and can be driven by
    // tests on the offscreen platform.
    QFileDialog dialog(m_owner, KitMarkup::toPlainText(m_title));
    dialog.setObjectName(m_mode == Mode::Directory ? QStringLiteral("directoryFileDialog")
                                                   : QStringLiteral("genericFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(
        QDir(m_startDirectory.isEmpty() ? QStringLiteral(".") : m_startDirectory).absolutePath());
    dialog.setLabelText(QFileDialog::LookIn,
                        WizkitTexts::buttonLabel(WizkitTexts::lookIn).trimmed());
    dialog.setLabelText(QFileDialog::Reject, WizkitTexts::buttonLabel(WizkitTexts::dialogCancel));
    if (m_mode == Mode::Directory) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setLabelText(QFileDialog::FileName,
                            WizkitTexts::buttonLabel(WizkitTexts::directoryLabel));
        dialog.setLabelText(QFileDialog::Accept,
                            m_acceptText.isEmpty()
                                ? WizkitTexts::buttonLabel(WizkitTexts::selectDirectory)
                                : m_acceptText);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        QStringList filters = m_fileTypes;
        filters.append(WizkitTexts::buttonLabel(WizkitTexts::allFiles) + QStringLiteral(" (*)"));
        dialog.setNameFilters(filters);
        if (!m_extension.isEmpty())
            dialog.setDefaultSuffix(m_extension);
        dialog.setLabelText(QFileDialog::FileName,
                            WizkitTexts::buttonLabel(WizkitTexts::fileNameLabel).trimmed());
        dialog.setLabelText(QFileDialog::FileType,
                            WizkitTexts::buttonLabel(WizkitTexts::fileTypeLabel).trimmed());
        dialog.setLabelText(QFileDialog::Accept,
                            m_acceptText.isEmpty() ? WizkitTexts::buttonLabel(WizkitTexts::dialogOk)
                                                   : m_acceptText);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_selectedPath = QDir::cleanPath(dialog.selectedFiles().constFirst());
    m_accepted = true;
}
