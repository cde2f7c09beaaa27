#include "XIFindAndReplaceDialog.h"

#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_';
}

} // namespace

XIFindAndReplaceDialog::XIFindAndReplaceDialog(QWidget *owner, Form form)
    : QDialog(owner)
    , m_find(new QLineEdit(this))
    , m_matchCase(new QCheckBox(UiextTexts::text(UiextRes::matchCaseOption), this))
    , m_wholeWords(new QCheckBox(UiextTexts::text(UiextRes::wholeWordOption), this))
    , m_backward(new QCheckBox(UiextTexts::text(UiextRes::backwardOption), this))
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(
        UiextTexts::text(form == Form::Find ? UiextRes::findTitle : UiextRes::findReplaceTitle));
    setModal(false);

    auto *fields = new QFormLayout;
    fields->addRow(UiextTexts::text(UiextRes::findWhatLabel), m_find);
    if (form == Form::FindAndReplace) {
        m_replace = new QLineEdit(this);
        fields->addRow(UiextTexts::text(UiextRes::replaceWithLabel), m_replace);
    }

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    m_findNext = buttons->addButton(UiextTexts::text(UiextRes::findNextButton),
                                    QDialogButtonBox::ActionRole);
    m_findNext->setDefault(true);
    connect(m_findNext, &QPushButton::clicked, this, [this] {
        emit findNext(findText(), options());
    });
    if (form == Form::FindAndReplace) {
        m_replaceButton = buttons->addButton(UiextTexts::text(UiextRes::replaceButton),
                                             QDialogButtonBox::ActionRole);
        m_replaceAllButton = buttons->addButton(UiextTexts::text(UiextRes::replaceAllButton),
                                                QDialogButtonBox::ActionRole);
        connect(m_replaceButton, &QPushButton::clicked, this, [this] {
            emit replace(findText(), replaceText(), options());
        });
        connect(m_replaceAllButton, &QPushButton::clicked, this, [this] {
            emit replaceAll(findText(), replaceText(), options());
        });
    }
    auto *close = buttons->addButton(UiextTexts::text(UiextRes::findCloseButton),
                                     QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(m_matchCase);
    left->addWidget(m_wholeWords);
    left->addWidget(m_backward);
    left->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);

    connect(m_find, &QLineEdit::textChanged, this, &XIFindAndReplaceDialog::updateButtons);
    updateButtons();
    m_find->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
}

XIFindAndReplaceDialog::~XIFindAndReplaceDialog() = default;

QString XIFindAndReplaceDialog::findText() const
{
    return m_find->text();
}

void XIFindAndReplaceDialog::setFindText(const QString &text)
{
    m_find->setText(text);
    m_find->selectAll();
}

QString XIFindAndReplaceDialog::replaceText() const
{
    return m_replace ? m_replace->text() : QString();
}

unsigned XIFindAndReplaceDialog::options() const
{
    return (m_matchCase->isChecked() ? MatchCase : 0u)
           | (m_wholeWords->isChecked() ? WholeWords : 0u)
           | (m_backward->isChecked() ? Backward : 0u);
}

void XIFindAndReplaceDialog::setOptions(unsigned options)
{
    m_matchCase->setChecked(options & MatchCase);
    m_wholeWords->setChecked(options & WholeWords);
    m_backward->setChecked(options & Backward);
}

void XIFindAndReplaceDialog::updateButtons()
{
    const bool any = !m_find->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replaceButton) {
        m_replaceButton->setEnabled(any);
        m_replaceAllButton->setEnabled(any);
    }
}

bool XIFindAndReplaceDialog::matches(const QString &candidate,
                                     const QString &text,
                                     unsigned options)
{
    if (text.isEmpty())
        return false;
    const Qt::CaseSensitivity sensitivity = (options & MatchCase) ? Qt::CaseSensitive
                                                                  : Qt::CaseInsensitive;
    for (qsizetype at = candidate.indexOf(text, 0, sensitivity); at >= 0;
         at = candidate.indexOf(text, at + 1, sensitivity)) {
        if (!(options & WholeWords))
            return true;
        const qsizetype end = at + text.size();
        const bool startsWord = at == 0 || !isWordCharacter(candidate.at(at - 1));
        const bool endsWord = end == candidate.size() || !isWordCharacter(candidate.at(end));
        if (startsWord && endsWord)
            return true;
    }
    return false;
}
