#pragma once
// Answers the modal windows that a command opens, for the main window's widget tests.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace apptest {

inline QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// Answers the modal windows that a command opens, in order. A modal window that no step
// expects is recorded and closed, so a wrong question fails the test instead of hanging it.
class ModalScript
{
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalScript(QList<Step> steps = {}) : m_steps(std::move(steps))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool done() const { return m_steps.isEmpty(); }
    // Text of every message box seen, and the window titles of every modal window.
    QStringList texts;
    QStringList titles;
    int unexpected = 0;

private:
    void poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == m_last)
            return;
        m_last = w;
        titles << w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w))
            texts << box->text();
        if (m_steps.isEmpty()) {
            ++unexpected;
            QTimer::singleShot(0, w, [w] { w->close(); });
            return;
        }
        const Step step = m_steps.takeFirst();
        QTimer::singleShot(0, w, [w, step] { step(w); });
    }

    QList<Step> m_steps;
    QPointer<QWidget> m_last;
    QTimer m_timer;
};

inline ModalScript::Step click(const QString& text)
{
    return [text](QWidget* w) {
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (plain(b->text()) == text) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no button " << text.toStdString() << " in " << w->windowTitle().toStdString();
        w->close();
    };
}

// Closes the modal window as its title-bar button does (a dialog is cancelled).
inline ModalScript::Step dismiss()
{
    return [](QWidget* w) { w->close(); };
}

} // namespace apptest
