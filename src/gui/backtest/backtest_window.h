#pragma once
// The prediction-test window "予想の検証": for the reflect options it is
// given, how the single and multiple predictions fared on every past draw
// (each predicted from the draws before it), beside the exact expectation
// for as many random numbers, with the matches 0 … k and the prize classes
// of its game. It computes once per load and writes nothing, and grows to
// show its whole grid.
//
// Like an analysis window it reports `opened` when it loads (the main window
// clears its end flag) and `unloaded` once, however it is closed.

#include "core/predict/reflect_options.h"
#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "gui/sheet/sheet_grid.h"

#include "gui/shell/child_window.h"

class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace mirkano {

inline const QString kBacktestDescription = QStringLiteral(
    "各回の抽せんより前のデータだけで予想した数字を、その回の本数字と比べます。"
    "抽せんは無作為に行われるため、この表は予想が過去の抽せんでどうだったかを示すだけで、"
    "今後の当選を示すものではありません。期待回数は同じ個数の数字を無作為に選んだ場合の値です。"
    "等級は１発予想をそのまま購入した場合と、連発予想から作れる最も良い組合せの場合です。");

struct BacktestResult;

// The window's summary: first what the options chosen do to the predictions,
// in words, then the draws tested, then the money where the test was in yen.
QString backtestWindowSummary(const BacktestResult& result);

class BacktestWindow : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = 7800;
    static constexpr int kWidthTwips = 7200;

    explicit BacktestWindow(GameId game = GameId::Loto6, QWidget* parent = nullptr);

    GameId gameId() const { return m_game; }
    const ReflectFlags& flags() const { return m_flags; }
    QLabel* description() const { return m_description; }
    QLabel* summary() const { return m_summary; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* printButton() const { return m_print; }
    SheetGrid* grid() const { return m_grid; }

    // Busy pointer, `opened`, placed at the top-left of the frame's client
    // area with its fixed size, the test run with these options, pointer back.
    // With prize data the summary gives the single prediction's money too.
    void load(const History& history, const ReflectFlags& flags, const PrizeTable& prizes = {});

    // "印刷": the description and the summary, then the grid, on pages whose
    // header names the game and the last draw tested.
    void printTo(QPagedPaintDevice& device) const;
    // The print preview of printTo (the button, and the grid's 印刷…).
    void print();

protected:
    void showEvent(QShowEvent* e) override;

private:
    GameId m_game;
    ReflectFlags m_flags;
    QLabel* m_description = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_print = nullptr;
    SheetGrid* m_grid = nullptr;
};

}  // namespace mirkano
