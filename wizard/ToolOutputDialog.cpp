#include "ToolOutputDialog.h"

#include "ConversionFile.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"
#include "WizkitTexts.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const ResourceLibrary &resources, unsigned long id)
{
    return resources.hasString(id) ? resources.loadString(id) : QString();
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

ToolOutputDialog::ToolOutputDialog(const ConversionFile &file,
                                   const QString &stateText,
                                   const ResourceLibrary &resources,
                                   QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("toolOutputDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text(resources, KelwizRes::toolOutputTitle)
                   + QString::fromStdString(file.baseName()));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(plainLabel(text(resources, KelwizRes::toolOutputSource)
                                     + QString::fromStdString(file.fullPath()),
                                 this));
    layout->addWidget(plainLabel(text(resources, KelwizRes::toolOutputState) + stateText, this));

    m_output = new QPlainTextEdit(this);
    m_output->setObjectName(QStringLiteral("toolOutput"));
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const std::string output = file.toolOutput();
    m_output->setPlainText(output.empty() ? text(resources, KelwizRes::toolOutputNone)
                                          : QString::fromStdString(output));
    layout->addWidget(m_output, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(WizkitTexts::text(WizkitTexts::dialogOk),
                                            QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    setMinimumSize(minimumWidth, minimumHeight);
    resize(defaultWidth, defaultHeight);
}
