#include "XIProductInformation.h"

#include "ICurrentApplication.h"
#include "Kelae20wResourceIds.h"
#include "ResourceLibrary.h"
#include "UiextTexts.h"

#include <QMessageBox>
#include <QPushButton>

XIProductInformation::XIProductInformation(unsigned long titleId,
                                           unsigned long nameId,
                                           unsigned long descriptionId,
                                           unsigned long iconId,
                                           QWidget *window)
    : XIAction(commandId, ICurrentApplication::loadString(titleId), {}, window)
    , m_nameId(nameId)
    , m_descriptionId(descriptionId)
    , m_iconId(iconId)
{}

bool XIProductInformation::performAction()
{
    if (!m_window) {
        auto *parent = qobject_cast<QWidget *>(const_cast<QObject *>(owner()));
        m_window = new QMessageBox(parent);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setObjectName(QStringLiteral("productInformation"));
        m_window->setWindowModality(Qt::NonModal);
        m_window->setWindowTitle(UiextTexts::withoutMnemonic(text()));
        m_window->setTextFormat(Qt::PlainText);
        m_window->setText(ICurrentApplication::loadString(m_nameId));
        m_window->setInformativeText(ICurrentApplication::loadString(m_descriptionId));
        if (const ResourceLibrary *library = ICurrentApplication::userResourceLibraryIfLoaded();
            library && library->hasImage(m_iconId))
            m_window->setIconPixmap(library->loadBitmap(m_iconId));
        m_window->addButton(UiextTexts::text(UiextRes::productInformationClose),
                            QMessageBox::AcceptRole);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit performed();
    return true;
}
