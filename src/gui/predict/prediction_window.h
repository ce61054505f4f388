#pragma once
// The prediction window 一発ミルカノ予想: on the left the twelve reflect
// options, each a pair of exclusive buttons "反映する" / "反映しない"; on the
// right the four prediction sheets. load() builds the engine's tables once;
// every option click recomputes the predictions from those tables at once
// and redraws all four sheets.
//
// The window shows the game it is made for: a column per main number of the
// game in each sheet; a game with more main numbers than Loto 6 widens the
// prediction frame and the window by what its sheets need.
//
// The window owns no lasting state: it starts from the flags it is given and
// reports each change through `flagsChanged`, so the flags outlive it. Like
// the analysis windows it reports `opened` in load() and `unloaded` once,
// however it is closed.

#include "core/predict/prediction.h"
#include "gui/sheet/sheet_grid.h"

#include "gui/shell/child_window.h"

#include <array>

class QGroupBox;
class QPagedPaintDevice;
class QLabel;
class QPushButton;
class QRadioButton;

namespace mirkano {

class PredictionWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit PredictionWindow(const ReflectFlags& flags, GameId game = GameId::Loto6, QWidget* parent = nullptr);

    GameId gameId() const { return m_game; }
    // The window's size as it opens: 9360 × 8400 twips, wider by what the
    // game's sheets need beyond Loto 6's.
    QSize openingSize() const;

    // Busy pointer, `opened`, placed at the top-left of the frame's client
    // area with its fixed size, buttons selected from the flags, tables
    // built from the history, the four sheets filled, pointer back.
    void load(const History& history, int latestDrawNo);
    // The tables built again from a new history and the sheets redrawn, with
    // the options as they are; the window stays where it is.
    void recompute(const History& history, int latestDrawNo);

    const ReflectFlags& flags() const { return m_flags; }

    // "印刷": a print preview of one page to take to the lottery shop (the
    // caption, the date, the options chosen, the four sheets); the grids'
    // own "印刷…" shows the same.
    void print();
    void printTo(QPagedPaintDevice& device) const;
    // The text lines of that page under the caption.
    QStringList printLines() const;
    SheetGrid* sheet(int index) const { return m_sheets[std::size_t(index)]; }
    QRadioButton* reflectButton(int option) const { return m_reflect[std::size_t(option)]; }
    QRadioButton* keepOutButton(int option) const { return m_keepOut[std::size_t(option)]; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* backtestButton() const { return m_backtest; }
    QPushButton* wheelButton() const { return m_wheel; }
    // The numbers "組合せ作成" hands on: the multiple prediction's.
    const std::vector<int>& wheelNumbers() const { return m_wheelNumbers; }

signals:
    void flagsChanged(const ReflectFlags& flags);
    // "予想の検証": test the predictions with these options on past draws.
    void backtestRequested(const ReflectFlags& flags);
    // "組合せ作成": build a wheel from the predicted numbers.
    void wheelRequested(const std::vector<int>& numbers);

private:
    void optionToggled(int option, bool on);
    void showPredictions();

    ReflectFlags m_flags;
    GameId m_game;
    int m_extraWidth = 0;  // pixels the game's sheets need beyond Loto 6's layout
    PeriodTables m_tables;
    int m_latestDrawNo = 0;
    std::array<QRadioButton*, kReflectOptionCount> m_reflect{};
    std::array<QRadioButton*, kReflectOptionCount> m_keepOut{};
    std::array<SheetGrid*, 4> m_sheets{};
    QPushButton* m_close = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_backtest = nullptr;
    QPushButton* m_wheel = nullptr;
    std::vector<int> m_wheelNumbers;
};

}  // namespace mirkano
