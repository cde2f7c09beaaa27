#include "GenericScreenPanel.h"

#include "EStaticText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString readBinding(const std::variant<std::string *, QString *> &binding)
{
    if (const auto *text = std::get_if<std::string *>(&binding))
        return QString::fromStdString(**text);
    return *std::get<QString *>(binding);
}

void writeBinding(const std::variant<std::string *, QString *> &binding, const QString &value)
{
    if (const auto *text = std::get_if<std::string *>(&binding))
        **text = value.toStdString();
    else
        *std::get<QString *>(binding) = value;
}

} // namespace

GenericScreenPanel::GenericScreenPanel(const QString &name)
    : EWizardPanel(name)
{}

GenericScreenPanel::~GenericScreenPanel() = default;

void GenericScreenPanel::addLine(const QString &markup)
{
    m_lines.append({LineKind::Text, markup, {}, {}});
}

void GenericScreenPanel::addBulletLine(const QString &markup)
{
    m_lines.append({LineKind::Bullet, markup, {}, {}});
}

void GenericScreenPanel::addEntryField(const QString &label, std::string &value)
{
    addEntry(label, &value, {});
}

void GenericScreenPanel::addEntryField(const QString &label, QString &value)
{
    addEntry(label, &value, {});
}

void GenericScreenPanel::addEntryFieldWithButton(const QString &label,
                                                 std::string &value,
                                                 const QString &buttonText)
{
    addEntry(label, &value, buttonText);
}

void GenericScreenPanel::addEntryFieldWithButton(const QString &label,
                                                 QString &value,
                                                 const QString &buttonText)
{
    addEntry(label, &value, buttonText);
}

void GenericScreenPanel::addEntry(const QString &label, Binding binding, const QString &buttonText)
{
    m_lines.append({LineKind::Entry, label, binding, buttonText});
}

void GenericScreenPanel::buildPanel(QWidget *parent, unsigned long controlId)
{
    m_fields.clear();
    auto *canvas = new QWidget(parent);
    canvas->setObjectName(QStringLiteral("control%1").arg(controlId));
    auto *grid = new QGridLayout(canvas);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    unsigned long nextId = controlId + 1;
    int row = 0;
    int buttonNumber = 0;
    const int blankHeight = canvas->fontMetrics().height();
    for (const Line &line : std::as_const(m_lines)) {
        switch (line.kind) {
        case LineKind::Text:
            if (line.text.isEmpty()) {
                grid->setRowMinimumHeight(row, blankHeight);
            } else {
                grid->addWidget(new EStaticText(line.text, canvas, nextId++), row, 0, 1, 3);
            }
            break;
        case LineKind::Bullet: {
            // Bullet and text in cells of their own, so that a wrapped line stays indented.
            auto *bulletLine = new QWidget(canvas);
            auto *bulletLayout = new QHBoxLayout(bulletLine);
            bulletLayout->setContentsMargins(16, 0, 0, 0);
            auto *bullet = new QLabel(QStringLiteral("\u2022"), bulletLine);
            bullet->setAlignment(Qt::AlignTop);
            bulletLayout->addWidget(bullet);
            bulletLayout->addWidget(new EStaticText(line.text, bulletLine, nextId++), 1);
            grid->addWidget(bulletLine, row, 0, 1, 3);
            break;
        }
        case LineKind::Entry: {
            auto *label = new EStaticText(line.text, canvas, nextId++);
            label->setWordWrap(false);
            auto *field = new QLineEdit(readBinding(line.binding), canvas);
            const int fieldNumber = int(m_fields.size()) + 1;
            field->setObjectName(QStringLiteral("entryField%1").arg(fieldNumber));
            connect(field, &QLineEdit::textEdited, this, [this, fieldNumber] {
                selectEvent(fieldNumber);
            });
            grid->addWidget(label, row, 0);
            grid->addWidget(field, row, 1, 1, line.buttonText.isEmpty() ? 2 : 1);
            m_fields.append(field);
            if (!line.buttonText.isEmpty()) {
                const int number = ++buttonNumber;
                auto *button = new QPushButton(line.buttonText, canvas);
                button->setObjectName(QStringLiteral("entryButton%1").arg(number));
                button->setAutoDefault(false);
                connect(button, &QPushButton::clicked, this, [this, number] {
                    buttonPressed(number);
                });
                grid->addWidget(button, row, 2);
            }
            break;
        }
        }
        ++row;
    }
    grid->setRowStretch(row, 1);
}

void GenericScreenPanel::destroyPanel()
{
    m_fields.clear();
}

void GenericScreenPanel::gather()
{
    gatherWindow();
}

void GenericScreenPanel::gatherWindow()
{
    int field = 0;
    for (const Line &line : std::as_const(m_lines)) {
        if (line.kind != LineKind::Entry)
            continue;
        if (field < m_fields.size() && m_fields.at(field))
            writeBinding(line.binding, m_fields.at(field)->text());
        ++field;
    }
}

void GenericScreenPanel::refreshPanel()
{
    int field = 0;
    for (const Line &line : std::as_const(m_lines)) {
        if (line.kind != LineKind::Entry)
            continue;
        if (field < m_fields.size() && m_fields.at(field))
            m_fields.at(field)->setText(readBinding(line.binding));
        ++field;
    }
}

void GenericScreenPanel::setFocusToControl(int fieldNumber)
{
    if (QLineEdit *field = entryField(fieldNumber))
        field->setFocus(Qt::OtherFocusReason);
}

QLineEdit *GenericScreenPanel::entryField(int fieldNumber) const
{
    if (fieldNumber < 1 || fieldNumber > m_fields.size())
        return nullptr;
    return m_fields.at(fieldNumber - 1);
}

void GenericScreenPanel::selectEvent(int) {}

void GenericScreenPanel::buttonPressed(int) {}
