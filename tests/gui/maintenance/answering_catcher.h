#pragma once
// Answers the message boxes of a test: records each box (icon, title, text,
// buttons, default button) and presses the next answer given, or OK / the
// default button when no answers are left.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <vector>

namespace mirkano::test {

class AnsweringCatcher : public QObject {
public:
    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    explicit AnsweringCatcher(std::deque<QMessageBox::StandardButton> answers = {}) : m_answers(std::move(answers))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QPushButton* def = box->defaultButton();
            m_seen.push_back({box->icon(), box->windowTitle(), box->text(), box->standardButtons(),
                              def ? box->standardButton(def) : QMessageBox::NoButton});
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (!m_answers.empty()) {
                answer = m_answers.front();
                m_answers.pop_front();
            } else if (!box->button(QMessageBox::Ok) && def) {
                answer = box->standardButton(def);
            }
            box->button(answer)->click();
        });
        m_timer.start();
    }
    const std::vector<Seen>& seen() const { return m_seen; }
    void clear() { m_seen.clear(); }

private:
    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
    std::vector<Seen> m_seen;
};

}  // namespace mirkano::test
