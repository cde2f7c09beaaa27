#include "EMessageBox.h"

#include "EStaticText.h"
#include "KitMarkup.h"
#include "WizkitTexts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

WizkitTexts::Id textOf(EMessageBox::Answer answer)
{
    return static_cast<WizkitTexts::Id>(WizkitTexts::boxOk + (answer - EMessageBox::ok));
}

QPixmap bitmapOf(int style)
{
    switch (style) {
    case EMessageBox::informationBitmap:
        return WizkitTexts::bitmap(WizkitTexts::informationBitmap);
    case EMessageBox::questionBitmap:
        return WizkitTexts::bitmap(WizkitTexts::questionBitmap);
    case EMessageBox::warningBitmap:
        return WizkitTexts::bitmap(WizkitTexts::warningBitmap);
    case EMessageBox::errorBitmap:
        return WizkitTexts::bitmap(WizkitTexts::errorBitmap);
    default:
        return {};
    }
}

QList<EMessageBox::Answer> buttonsOf(int style)
{
    switch (style) {
    case EMessageBox::noButtons:
        return {};
    case EMessageBox::okCancelButtons:
        return {EMessageBox::ok, EMessageBox::cancel};
    case EMessageBox::yesNoButtons:
        return {EMessageBox::yes, EMessageBox::no};
    case EMessageBox::yesNoCancelButtons:
        return {EMessageBox::yes, EMessageBox::no, EMessageBox::cancel};
    case EMessageBox::retryCancelButtons:
        return {EMessageBox::retry, EMessageBox::cancel};
    case EMessageBox::abortRetryIgnoreButtons:
        return {EMessageBox::abort, EMessageBox::retry, EMessageBox::ignore};
    case EMessageBox::continueStopButtons:
        return {EMessageBox::continueAnswer, EMessageBox::stop};
    case EMessageBox::enterButton:
        return {EMessageBox::enter};
    default: // okButton and unknown styles: a box must always be answerable
        return {EMessageBox::ok};
    }
}

/// Short lines stay on one line; long ones wrap at a readable width.
void fitWidth(QLabel *line, const QString &markup)
{
    const int plainWidth = line->fontMetrics().horizontalAdvance(KitMarkup::toPlainText(markup));
    line->setMinimumWidth(qMin(plainWidth + 24, 480));
}

} // namespace

EMessageBox::EMessageBox(QWidget *owner, int buttonStyle, int bitmapStyle)
    : QDialog(owner)
{
    setModal(true);
    // One title for every box of a program, whichever window asks.
    setWindowTitle(QGuiApplication::applicationDisplayName());

    m_bitmap = new QLabel(this);
    m_bitmap->setObjectName(QStringLiteral("messageBitmap"));
    m_bitmap->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    setBitmap(bitmapOf(bitmapStyle));

    m_lineLayout = new QVBoxLayout;
    m_lineLayout->setSpacing(2);
    auto *body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(m_bitmap);
    body->addLayout(m_lineLayout, 1);

    m_buttonLayout = new QHBoxLayout;
    m_buttonLayout->addStretch(1);
    const QList<Answer> answers = buttonsOf(buttonStyle);
    for (qsizetype i = 0; i < answers.size(); ++i)
        addButton(answers.at(i), i == 0);
    m_buttonLayout->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(16);
    layout->addLayout(body, 1);
    layout->addLayout(m_buttonLayout);
    setMinimumWidth(320);
}

EMessageBox::~EMessageBox() = default;

void EMessageBox::addButton(Answer answer, bool isDefault)
{
    auto *button = new QPushButton(WizkitTexts::buttonLabel(textOf(answer)), this);
    button->setObjectName(QStringLiteral("messageButton%1").arg(int(answer)));
    button->setDefault(isDefault);
    button->setAutoDefault(true);
    connect(button, &QPushButton::clicked, this, [this, answer] {
        m_answer = answer;
        done(int(answer));
    });
    m_buttonLayout->addWidget(button);
}

void EMessageBox::addLine(const QString &markup)
{
    m_lines.append(markup);
    auto *line = new EStaticText(markup, this);
    fitWidth(line, markup);
    m_lineLayout->addWidget(line);
}

void EMessageBox::addBulletLine(const QString &markup)
{
    const QString bulleted = QStringLiteral("\u2022 ") + markup;
    m_lines.append(bulleted);
    auto *line = new EStaticText(bulleted, this);
    line->setIndent(12);
    fitWidth(line, bulleted);
    m_lineLayout->addWidget(line);
}

void EMessageBox::setBitmap(const QPixmap &bitmap)
{
    m_bitmap->setPixmap(bitmap);
    m_bitmap->setVisible(!bitmap.isNull());
}

void EMessageBox::setTitle(const QString &title)
{
    setWindowTitle(KitMarkup::toPlainText(title));
}

void EMessageBox::makeSound()
{
    m_sound = true;
}

EMessageBox::Answer EMessageBox::show()
{
    m_answer = none;
    if (m_sound)
        QApplication::beep();
    exec();
    return m_answer;
}

void EMessageBox::close()
{
    m_answer = none;
    done(int(none));
}
