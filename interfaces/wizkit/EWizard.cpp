#include "EWizard.h"

#include "EMessageBox.h"
#include "EStaticText.h"
#include "EWizardChapter.h"
#include "EWizardPanel.h"
#include "HelpViewer.h"
#include "KitMarkup.h"
#include "WizkitTexts.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

/// Base of the control ids a panel gets: one block of 256 ids per panel.
unsigned long controlIdBase(unsigned short panelId)
{
    return 0x1000UL + 0x100UL * panelId;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

EWizard::EWizard(QWidget *owner, QWidget *parent)
    : QDialog(parent ? parent : owner)
{
    setModal(true);
    setSizeGripEnabled(true);
    setMinimumSize(minimumWidth, minimumHeight);
    resize(defaultWidth, defaultHeight);

    auto *header = new QWidget(this);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, headerPalette.color(QPalette::Base));
    header->setPalette(headerPalette);
    auto *headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(16, 10, 16, 10);
    m_title = new EStaticText(header);
    m_title->setObjectName(QStringLiteral("wizardTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_title->setFont(titleFont);
    m_secondTitle = new EStaticText(header);
    m_secondTitle->setObjectName(QStringLiteral("wizardSecondTitle"));
    m_secondTitle->hide();
    headerLayout->addWidget(m_title);
    headerLayout->addWidget(m_secondTitle);

    m_sideBitmap = new QLabel(this);
    m_sideBitmap->setObjectName(QStringLiteral("wizardSideBitmap"));
    m_sideBitmap->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_sideBitmap->setPixmap(WizkitTexts::bitmap(WizkitTexts::wizardSideBitmap));

    auto *pageHolder = new QWidget(this);
    m_pageArea = new QVBoxLayout(pageHolder);
    m_pageArea->setContentsMargins(0, 0, 0, 0);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(12, 12, 12, 6);
    middle->setSpacing(16);
    middle->addWidget(m_sideBitmap);
    middle->addWidget(pageHolder, 1);

    m_help = new QPushButton(WizkitTexts::buttonLabel(WizkitTexts::wizardHelp), this);
    m_back = new QPushButton(WizkitTexts::buttonLabel(WizkitTexts::wizardBack), this);
    m_next = new QPushButton(WizkitTexts::buttonLabel(WizkitTexts::wizardNext), this);
    m_finish = new QPushButton(WizkitTexts::buttonLabel(WizkitTexts::wizardFinish), this);
    m_cancel = new QPushButton(WizkitTexts::buttonLabel(WizkitTexts::wizardCancel), this);
    m_help->setObjectName(QStringLiteral("wizardHelp"));
    m_back->setObjectName(QStringLiteral("wizardBack"));
    m_next->setObjectName(QStringLiteral("wizardNext"));
    m_finish->setObjectName(QStringLiteral("wizardFinish"));
    m_cancel->setObjectName(QStringLiteral("wizardCancel"));
    for (QPushButton *button : {m_help, m_back, m_next, m_finish, m_cancel})
        button->setAutoDefault(false);
    connect(m_help, &QPushButton::clicked, this, &EWizard::showHelp);
    connect(m_back, &QPushButton::clicked, this, &EWizard::back);
    connect(m_next, &QPushButton::clicked, this, &EWizard::next);
    connect(m_finish, &QPushButton::clicked, this, &EWizard::finish);
    connect(m_cancel, &QPushButton::clicked, this, &EWizard::cancel);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 6, 12, 12);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addSpacing(12);
    buttons->addWidget(m_finish);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(separator(this));
    layout->addLayout(middle, 1);
    layout->addWidget(separator(this));
    layout->addLayout(buttons);
    updateButtons();
}

// Panels are left by beginWizard before it returns, and they may already be gone here (a derived
// wizard owns them as members), so the destructor does not touch them.
EWizard::~EWizard() = default;

void EWizard::addChapterAsLast(EWizardChapter &chapter)
{
    for (const EWizardChapter::Entry &entry : chapter.panels()) {
        entry.panel->m_wizard = this;
        entry.panel->m_panelId = static_cast<unsigned short>(m_panels.size() + 1);
        m_panels.append({entry.panel, entry.flag});
    }
    updateButtons();
}

void EWizard::setBitmap(const QPixmap &bitmap)
{
    m_sideBitmap->setPixmap(bitmap.isNull() ? WizkitTexts::bitmap(WizkitTexts::wizardSideBitmap)
                                            : bitmap);
}

void EWizard::setTitle(const QString &title, const QString &secondTitle)
{
    m_title->setText(title);
    m_secondTitle->setText(secondTitle);
    m_secondTitle->setVisible(!secondTitle.isEmpty());
    setWindowTitle(KitMarkup::toPlainText(title).trimmed());
}

bool EWizard::beginWizard()
{
    m_finished = false;
    m_history.clear();
    if (m_panels.isEmpty())
        return true;
    showPanel(0);
    exec();
    if (m_current >= 0)
        leaveCurrentPanel();
    return !m_finished;
}

EWizardPanel *EWizard::currentPanel() const
{
    return m_current >= 0 ? m_panels.at(m_current).panel : nullptr;
}

void EWizard::next()
{
    if (m_current < 0 || isLastPanel(m_current))
        return;
    guarded([this] {
        const int target = checkedTarget();
        // Stay, or a jump past the end from a panel with Next: nothing further to show.
        if (target < 0 || target >= m_panels.size())
            return;
        m_history.append(m_current);
        leaveCurrentPanel();
        showPanel(target);
    });
}

void EWizard::finish()
{
    if (m_current < 0 || !isLastPanel(m_current))
        return;
    guarded([this] {
        if (checkedTarget() < 0)
            return;
        m_finished = true;
        leaveCurrentPanel();
        accept();
    });
}

void EWizard::back()
{
    if (m_current < 0 || m_history.isEmpty())
        return;
    guarded([this] {
        m_panels.at(m_current).panel->gather();
        const int previous = m_history.takeLast();
        leaveCurrentPanel();
        showPanel(previous);
    });
}

void EWizard::cancel()
{
    reject();
}

void EWizard::reject()
{
    m_finished = false;
    if (m_current >= 0)
        leaveCurrentPanel();
    QDialog::reject();
}

void EWizard::showHelp()
{
    EWizardPanel *panel = currentPanel();
    if (!panel)
        return;
    if (HelpViewer::showPage(this, panel->helpLibrary(), panel->helpId(), panel->helpWindowTitle()))
        return;
    EMessageBox box(this, EMessageBox::okButton, EMessageBox::warningBitmap);
    box.setObjectName(QStringLiteral("helpMissingBox"));
    box.addLine(WizkitTexts::text(WizkitTexts::helpFileMissing).arg(panel->helpLibrary()));
    box.show();
}

bool EWizard::guarded(const std::function<void()> &step)
{
    QString message;
    try {
        step();
        return true;
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("An unknown error occurred.");
    }
    EMessageBox box(this, EMessageBox::okButton, EMessageBox::errorBitmap);
    box.addLine(message);
    box.show();
    return false;
}

void EWizard::showPanel(int index)
{
    m_current = index;
    EWizardPanel *panel = m_panels.at(index).panel;
    m_page = new QWidget;
    m_page->setObjectName(QStringLiteral("wizardPage"));
    auto *pageLayout = new QVBoxLayout(m_page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    panel->buildPanel(m_page, controlIdBase(panel->panelId()));
    panel->m_built = true;
    // Lay out what the panel made, unless it arranged its controls itself.
    for (QObject *child : m_page->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && pageLayout->indexOf(widget) < 0)
            pageLayout->addWidget(widget);
    }
    m_pageArea->addWidget(m_page);
    m_page->show(); // at once, not when the layout gets round to it
    updateButtons();
    focusPanel();
}

void EWizard::focusPanel()
{
    // The last panel is read before Finish; any other starts with its first field. A panel
    // without fields leaves the user on Next.
    QWidget *target = nullptr;
    if (isLastPanel(m_current)) {
        target = m_finish;
    } else {
        for (QWidget *widget = m_page->nextInFocusChain(); widget && widget != m_page;
             widget = widget->nextInFocusChain()) {
            if (m_page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus)
                && widget->isEnabled() && widget->isVisibleTo(m_page)
                && !qobject_cast<QAbstractButton *>(widget)) {
                target = widget;
                break;
            }
        }
        if (!target)
            target = m_next;
    }
    target->setFocus(Qt::TabFocusReason);
}

void EWizard::leaveCurrentPanel()
{
    if (m_current < 0)
        return;
    EWizardPanel *panel = m_panels.at(m_current).panel;
    m_current = -1;
    panel->destroyPanel();
    panel->m_built = false;
    // The page may hold the control whose signal brought us here: delete it once that is over.
    if (m_page) {
        m_page->hide();
        m_pageArea->removeWidget(m_page);
        m_page->deleteLater();
    }
    updateButtons();
}

void EWizard::updateButtons()
{
    const bool running = m_current >= 0;
    const bool last = running && isLastPanel(m_current);
    m_back->setEnabled(running && !m_history.isEmpty());
    m_next->setEnabled(running && !last);
    m_finish->setEnabled(last);
    m_help->setEnabled(running);
    m_next->setDefault(running && !last);
    m_finish->setDefault(last);
}

bool EWizard::isLastPanel(int index) const
{
    return m_panels.at(index).flag == EWizardChapter::lastPanel || index == m_panels.size() - 1;
}

int EWizard::checkedTarget()
{
    EWizardPanel *panel = m_panels.at(m_current).panel;
    panel->gather();
    const unsigned short result = panel->nextCheck();
    if (result == EWizardPanel::stayOnPanel || m_current < 0)
        return -1;
    if (result != EWizardPanel::nextPanel && result <= m_panels.size())
        return result - 1;
    return m_current + 1;
}
