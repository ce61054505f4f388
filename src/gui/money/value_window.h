#pragma once
// The window "期待値": what a ticket was worth in each draw with prize data
// and what it can be worth at the next draw. A chart over the draws of the
// value of a ticket of random numbers and of what the draw paid out per
// ticket sold, against the price (draws that received a carry-over marked),
// a table of the same per draw, their averages over the history, the next
// draw's ceiling, and the method in words. Without prize data it says so and
// how to bring them in.
//
// Like an analysis window it reports `opened` when it loads and `unloaded`
// once, however it is closed.

#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "core/money/ticket_value.h"
#include "gui/shell/child_window.h"

class QChartView;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace mirkano {

class ValueTableModel;

inline const QString kValueCaption = QStringLiteral("期待値");
// The method, as the window states it.
QString valueMethodText(GameId game);
// The words of a history without prize data.
inline const QString kValueNoPrizeData = QStringLiteral(
    "この履歴には賞金データ（各等級の口数と賞金）がないため、1口の価値を計算できません。"
    "データ管理 → CSVから取り込み… で、賞金の列（1等口数…、1等賞金…、キャリーオーバー）を持つ CSV を取り込むと表示されます。");

class ValueWindow : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = 12300;
    static constexpr int kWidthTwips = 12600;

    explicit ValueWindow(QWidget* parent = nullptr);

    // `opened`, placed at the top-left of the frame's client area, the
    // figures of the game's draws with prize data shown.
    void load(const History& history, const PrizeTable& prizes, GameId game);
    // The same figures again from a changed history or prize data.
    void recompute(const History& history, const PrizeTable& prizes, GameId game);

    const ValueReport& report() const { return m_report; }
    QLabel* summary() const { return m_summary; }
    QLabel* method() const { return m_method; }
    // nullptr until the window has shown figures.
    QChartView* chart() const { return m_chart; }
    QTableView* table() const { return m_table; }
    ValueTableModel* model() const { return m_model; }
    QPushButton* closeButton() const { return m_close; }

private:
    void showReport(const ValueReport& report);
    void fillChart();
    QString summaryText() const;

    ValueReport m_report;
    QLabel* m_summary = nullptr;
    QLabel* m_method = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QChartView* m_chart = nullptr;
    QTableView* m_table = nullptr;
    ValueTableModel* m_model = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace mirkano
