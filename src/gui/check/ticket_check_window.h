#pragma once
// The ticket-check window "当選確認" of a game: as many number entries as
// the game draws main numbers (Loto 6: six, Loto 7: seven, Mini Loto: five),
// "確認", "閉じる", a summary of the wins per prize class of the game and the
// grid of every past draw the ticket would have won. With the history's prize
// data the grid shows each win's 賞金 and the summary the ticket's money
// beside a random ticket's. It reads the
// history snapshot it is given and writes nothing. It grows to show its
// whole grid (Loto 7's has twelve columns).
//
// Like an analysis window it reports `opened` when it loads (the main window
// clears its end flag) and `unloaded` once, however it is closed.

#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "gui/sheet/sheet_grid.h"

#include "gui/shell/child_window.h"

#include <vector>

class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;

namespace mirkano {

class TicketCheckWindow : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = 10500;
    static constexpr int kWidthTwips = 7800;

    explicit TicketCheckWindow(GameId game = GameId::Loto6, QWidget* parent = nullptr);

    GameId gameId() const { return m_game; }
    int entryCount() const { return int(m_entries.size()); }
    QLineEdit* entry(int i) const { return m_entries[std::size_t(i)]; }  // i = 0 … entryCount() − 1
    QPushButton* checkButton() const { return m_check; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* printButton() const { return m_print; }
    QLabel* summary() const { return m_summary; }
    SheetGrid* grid() const { return m_grid; }

    // `opened`, placed at the top-left of the frame's client area with its
    // fixed size, history kept for the checks, empty result shown. With
    // prize data the checks speak yen as well.
    void load(const History& history, const PrizeTable& prizes = {});
    // A newer history for the next check; what is shown stays until then.
    void setHistory(const History& history, const PrizeTable& prizes = {})
    {
        m_history = history;
        m_prizes = prizes;
    }

    // "確認" (a click, or Return while it has the focus): checks the
    // entries; a bad ticket is refused with a message saying what is wrong,
    // and the result of an earlier ticket is cleared.
    // Returns whether the ticket was checked.
    bool check();

    // "印刷": the ticket checked and the summary, then the grid of its wins,
    // on pages whose header names the game and the last draw checked against.
    void printTo(QPagedPaintDevice& device) const;
    // The print preview of printTo (the button, and the grid's 印刷…).
    void print();

protected:
    // The message box of a refused ticket; tests see it like any other.
    virtual void showRefusal(const QString& text);
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // The grid's header alone and no summary.
    void showEmptyResult();

    GameId m_game;
    History m_history;
    PrizeTable m_prizes;
    // The numbers of the ticket the grid shows, empty before a check.
    QString m_checked;
    std::vector<QLineEdit*> m_entries;
    QPushButton* m_check = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_summary = nullptr;
    SheetGrid* m_grid = nullptr;
};

}  // namespace mirkano
