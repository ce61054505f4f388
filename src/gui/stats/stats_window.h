#pragma once
// The window "統計的検定": whether anything in the history is more than
// chance. The tests of the history and of the prediction's record as a sheet,
// and three charts drawn from the same figures: each number's count against
// its expected count and 95 % band, the sums of the mains against their exact
// law, and the prediction test's draws with 0 … k matches against chance.
//
// Like an analysis window it reports `opened` when it loads and `unloaded`
// once, however it is closed. The figures are computed on a worker thread
// (at tens of thousands of draws that takes a noticeable moment), with a
// busy pointer over the window and a note in the headline meanwhile; the
// window stays responsive and shows the last figures until the new ones
// are there, then reports `computed`.

#include "core/game/game.h"
#include "core/history/history.h"
#include "core/predict/reflect_options.h"
#include "core/stats/stats_report.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/shell/child_window.h"

#include <QChartView>

#include <memory>
#include <optional>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTabWidget;
class QThread;

namespace mirkano {

inline const QString kStatsCaption = QStringLiteral("統計的検定");
inline const QString kStatsDescription = QStringLiteral(
    "過去の当選番号の出方が、無作為な抽せんで起こる範囲内かどうかを検定します。"
    "表の検定はまとめて Holm の補正をし、補正後のp値が0.05より小さいときだけ「偶然では説明しにくい偏り」と判定します。"
    "どの検定も、これからの抽せん結果を予測できることを示すものではありません。");

class StatsWindow : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = 12300;
    static constexpr int kWidthTwips = 12600;
    // Sums of the mains are counted in bins of this width in the chart.
    static constexpr int kSumBin = 10;

    explicit StatsWindow(QWidget* parent = nullptr);
    ~StatsWindow() override;

    // `opened`, placed at the top-left of the frame's client area, and every
    // test started for the game's complete draws and the prediction test
    // with these options.
    void load(const History& history, GameId game, const ReflectFlags& flags);
    // The same figures again from a changed history, where the window stands.
    // A request made while one is computing replaces any that waits.
    void recompute(const History& history, GameId game, const ReflectFlags& flags);

    // Whether figures are being computed; `computed` follows when they are shown.
    bool isComputing() const { return m_worker != nullptr; }
    // Waits (processing events) until the figures are shown; false on timeout.
    bool waitForReport(int timeoutMs = 60'000);

    const stats::StatsReport& report() const { return m_report; }
    QLabel* summary() const { return m_summary; }
    SheetGrid* grid() const { return m_grid; }
    QTabWidget* tabs() const { return m_tabs; }
    QChartView* frequencyChart() const { return m_frequency; }
    QChartView* sumChart() const { return m_sum; }
    QChartView* predictionChart() const { return m_prediction; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }

    // The sheet on its pages, then each chart on a page of its own, every
    // page under a header naming the game and the last draw.
    void print(QPagedPaintDevice& device) const;

signals:
    void computed();

private:
    struct Request {
        History history;
        GameId game;
        ReflectFlags flags;
    };
    void startNext();
    void showReport(const stats::StatsReport& report, const QString& source);
    void fillCharts();

    std::optional<Request> m_pending;
    QThread* m_worker = nullptr;

    stats::StatsReport m_report;
    QLabel* m_description = nullptr;
    QLabel* m_summary = nullptr;
    QTabWidget* m_tabs = nullptr;
    SheetGrid* m_grid = nullptr;
    QChartView* m_frequency = nullptr;
    QChartView* m_sum = nullptr;
    QChartView* m_prediction = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace mirkano
