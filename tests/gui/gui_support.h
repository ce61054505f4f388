#pragma once
// Helpers shared by the GUI tests: a small history file and a catcher that
// answers the next message box without blocking the test.

#include "gui/sheet/grid_units.h"
#include "core/history/history_store.h"
#include "support/fixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace mirkano::test {

// Six draws, the fourth incomplete.
inline History smallHistory()
{
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {1, 8, 9, 10, 11, 12, 13}},
        {3, {2, 8, 14, 15, 16, 17, 43}},
        {4, {3, 9, 0, 18, 19, 20, 21}},
        {5, {1, 2, 22, 23, 24, 25, 26}},
        {6, {27, 28, 29, 30, 31, 32, 1}},
    });
}

// A history of the given length: the real draws over and over, numbered on
// from 1 (32,767 draws is the longest a 16-bit draw number counts).
inline History repeatedHistory(int draws)
{
    const History& real = sampleHistory();
    History h;
    h.reserve(std::size_t(draws));
    for (int k = 1; k <= draws; ++k)
        h.push_back(DrawRecord{k, real[std::size_t(k - 1) % real.size()].numbers});
    return h;
}

// Writes the small history into a temporary folder.
class HistoryFile {
public:
    HistoryFile() : m_path(m_dir.filePath(QStringLiteral("Mirkano.mdb"))) { saveHistory(m_path, smallHistory()); }
    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Watches for a message box while armed; records what it showed and presses
// its OK button.
class MessageCatcher : public QObject {
public:
    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        QMessageBox::StandardButtons buttons;
    };

    MessageCatcher()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_seen.push_back({box->icon(), box->windowTitle(), box->text(), box->standardButtons()});
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
        m_timer.start();
    }
    const std::vector<Seen>& seen() const { return m_seen; }

private:
    QTimer m_timer;
    std::vector<Seen> m_seen;
};

}  // namespace mirkano::test
