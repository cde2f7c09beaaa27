#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QVBoxLayout;
class QHBoxLayout;
class QPushButton;

/// A modal message box with the kit's mark-up in its lines, an optional bitmap on the left and
/// a row of buttons chosen by a button style. Button texts come from "wizkitres".
///
///     EMessageBox box(frame(), EMessageBox::yesNoButtons, EMessageBox::questionBitmap);
///     box.addLine(text);
///     if (box.show() == EMessageBox::yes) ...
class EMessageBox : public QDialog
{
    Q_OBJECT

public:
    /// Which buttons the box offers.
    enum ButtonStyle : int {
        noButtons = 0,
        okButton = 1,
        okCancelButtons = 2,
        yesNoButtons = 3,
        yesNoCancelButtons = 4,
        retryCancelButtons = 5,
        abortRetryIgnoreButtons = 6,
        continueStopButtons = 7,
        enterButton = 8,
    };
    /// Which of the kit's bitmaps the box shows.
    enum BitmapStyle : int {
        noBitmap = 0,
        informationBitmap = 1,
        questionBitmap = 2,
        warningBitmap = 3,
        errorBitmap = 4,
    };
    /// What ended the box. `none` when it was closed without a button (Escape, close, close()).
    enum Answer : int {
        none = 0,
        ok,
        cancel,
        help,
        yes,
        no,
        continueAnswer,
        stop,
        end,
        abort,
        ignore,
        retry,
        enter,
    };

    EMessageBox(QWidget *owner, int buttonStyle, int bitmapStyle);
    ~EMessageBox() override;

    /// Appends a line (kit mark-up); no argument gives a blank line.
    void addLine(const QString &markup = {});
    /// Appends a line with a bullet in front.
    void addBulletLine(const QString &markup);
    /// Replaces the bitmap chosen by the style.
    void setBitmap(const QPixmap &bitmap);
    /// The window title (mark-up removed). Without one the application's display name is used,
    /// so that every box of a program carries the same title.
    void setTitle(const QString &title);
    /// Sounds the desktop's bell when the box is shown.
    void makeSound();

    /// Shows the box modally and returns the answer.
    Answer show();
    /// Ends a shown box with `none`.
    void close();

    Answer answer() const { return m_answer; }
    /// The lines as given, for tests: bullet lines start with "\u2022 ".
    QStringList lines() const { return m_lines; }

private:
    void addButton(Answer answer, bool isDefault);

    QVBoxLayout *m_lineLayout = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    QLabel *m_bitmap = nullptr;
    QStringList m_lines;
    Answer m_answer = none;
    bool m_sound = false;
};
