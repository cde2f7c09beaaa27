#pragma once

#include <QGroupBox>

#include <vector>

class QCheckBox;

/// A group of check boxes, each bound to one boolean of a preference set: showValues() sets the
/// boxes from the booleans, takeValues() the booleans from the boxes. The booleans must outlive
/// the group (they are members of the page's preference set).
class KelOptionGroup : public QGroupBox
{
    Q_OBJECT

public:
    struct Option
    {
        unsigned long textId; ///< the check box's text in the user resource library
        bool *value;
        const char *objectName; ///< the box's object name (the preference key's suffix)
    };

    KelOptionGroup(unsigned long titleId, std::vector<Option> options, QWidget *parent = nullptr);

    void showValues();
    void takeValues();
    /// The box named `objectName`; null when none.
    QCheckBox *box(const char *objectName) const;

signals:
    /// A box was switched by the user.
    void edited();

private:
    std::vector<Option> m_options;
    std::vector<QCheckBox *> m_boxes;
};
