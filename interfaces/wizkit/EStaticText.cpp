#include "EStaticText.h"

#include "KitMarkup.h"

EStaticText::EStaticText(QWidget *parent, unsigned long controlId)
    : QLabel(parent)
    , m_controlId(controlId)
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setOpenExternalLinks(false);
    setWordWrap(true);
    if (controlId != 0)
        setObjectName(QStringLiteral("control%1").arg(controlId));
}

EStaticText::EStaticText(const QString &markup, QWidget *parent, unsigned long controlId)
    : EStaticText(parent, controlId)
{
    setText(markup);
}

void EStaticText::setText(const QString &markup)
{
    m_markup = markup;
    QLabel::setText(KitMarkup::toRichText(markup));
}
