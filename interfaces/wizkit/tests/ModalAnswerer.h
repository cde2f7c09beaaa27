#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <utility>

/// Answers modal dialogs in GUI tests. Queue the answers before the code under test opens the
/// dialogs; a timer on the GUI thread looks for the active modal widget and hands it to the
/// first queued answer whose condition it meets. Dialogs stay on the GUI thread throughout.
///
///     ModalAnswerer answerer;
///     answerer.pressButton<EMessageBox>("Yes");
///     panel.nextCheck();                        // opens the box, which the answerer answers
///     QVERIFY(answerer.allAnswered());
class ModalAnswerer final : public QObject
{
public:
    using Action = std::function<void(QWidget *)>;
    using Condition = std::function<bool(QWidget *)>;

    ModalAnswerer()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    }

    /// Runs `action` on the next active modal widget that meets `condition`.
    void answer(Condition condition, Action action)
    {
        m_steps.push_back({std::move(condition), std::move(action)});
        m_timer.start();
    }

    /// Runs `action` on the next active modal widget of class `T`.
    template<typename T>
    void answer(Action action)
    {
        answer([](QWidget *w) { return qobject_cast<T *>(w) != nullptr; }, std::move(action));
    }

    /// Clicks the button of the next modal `T` whose text, without "&", is `text`.
    template<typename T>
    void pressButton(const QString &text)
    {
        answer<T>([text](QWidget *w) {
            if (QAbstractButton *button = findButton(w, text))
                button->click();
        });
    }

    /// Rejects (as Escape would) the next modal `T`.
    template<typename T>
    void reject()
    {
        answer<T>([](QWidget *w) {
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        });
    }

    bool allAnswered() const { return m_steps.empty(); }
    int answeredCount() const { return m_answered; }

    static QAbstractButton *findButton(QWidget *root, const QString &text)
    {
        const auto buttons = root->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons) {
            if (button->isVisible() && button->text().remove(u'&') == QString(text).remove(u'&'))
                return button;
        }
        return nullptr;
    }

private:
    struct Step
    {
        Condition condition;
        Action action;
    };

    void poll()
    {
        if (m_steps.empty()) {
            m_timer.stop();
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !m_steps.front().condition(modal))
            return;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        ++m_answered;
        // The action may start a nested modal loop (a box opened by a button): run it from a
        // fresh timer turn so this poll returns first.
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [target, action = std::move(step.action)] {
            if (target)
                action(target);
        });
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
    int m_answered = 0;
};
