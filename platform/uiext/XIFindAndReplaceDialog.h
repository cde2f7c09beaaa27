#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

/// The find (and replace) dialog of the views: the text to find, the options match case, whole
/// words only and search backwards, and Find Next (with Replace and Replace All in the replace
/// form). Modeless: the view keeps it and answers its signals, so the user can find again and
/// again. The text and the option words stay as the view's find state for its "find again"
/// command (options()).
///
/// matches() applies the options the same way everywhere, so every view finds alike.
class XIFindAndReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Form { Find, FindAndReplace };
    enum Option : unsigned {
        MatchCase = 1,
        WholeWords = 2,
        Backward = 4,
    };

    explicit XIFindAndReplaceDialog(QWidget *owner, Form form = Form::Find);
    ~XIFindAndReplaceDialog() override;

    QString findText() const;
    void setFindText(const QString &text);
    QString replaceText() const;
    /// The option words (Option flags).
    unsigned options() const;
    void setOptions(unsigned options);

    /// Whether `candidate` matches `text` under `options`: a case-insensitive substring unless
    /// MatchCase; with WholeWords the match must not touch a letter, digit, "-" or "_" on either
    /// side (COBOL names are words with hyphens). An empty text matches nothing.
    static bool matches(const QString &candidate, const QString &text, unsigned options);

signals:
    void findNext(const QString &text, unsigned options);
    void replace(const QString &text, const QString &replacement, unsigned options);
    void replaceAll(const QString &text, const QString &replacement, unsigned options);

private:
    void updateButtons();

    QLineEdit *m_find;
    QLineEdit *m_replace = nullptr;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QCheckBox *m_backward;
    QPushButton *m_findNext;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_replaceAllButton = nullptr;
};
