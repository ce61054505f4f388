#include "gui/backtest/backtest_window.h"

#include "gui/shell/busy_pointer.h"
#include "core/backtest/backtest.h"
#include "gui/check/grow_to_body.h"
#include "gui/report/report_body.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_print.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace mirkano {

BacktestWindow::BacktestWindow(GameId game, QWidget* parent) : ChildWindow(parent), m_game(game)
{
    setWindowTitle(QStringLiteral("予想の検証"));
    setObjectName(QStringLiteral("backtest"));

    ReportBody report(this, kBacktestDescription, [this] { print(); });
    QWidget* body = report.widget();
    m_description = report.description();
    m_print = report.printButton();
    m_close = report.closeButton();
    // 閉じる where it always stood, 印刷 under it: the description keeps
    // its width.
    report.addDescriptionBeside(Qt::Vertical, {m_close, m_print});
    m_summary = report.addSummary(QStringLiteral("Label2"), true);
    m_grid = report.makeGrid();
    report.addGridAtOwnSize(m_grid);

    setBody(body);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void BacktestWindow::load(const History& history, const ReflectFlags& flags)
{
    BusyPointer busy;
    emit opened();
    move(0, 0);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    m_flags = flags;
    const BacktestResult result = runBacktest(history, m_game, flags);
    m_grid->setSheet(buildBacktestSheet(result));
    m_grid->setFixedSize(m_grid->sizeHint());
    m_summary->setText(backtestWindowSummary(result));
    setPrintSource(historySourceText(m_game, history));
    growToShowBody(this);
}

void BacktestWindow::printTo(QPagedPaintDevice& device) const
{
    printSheetUnderLines(device, {windowTitle(), printSource()},
                         QStringList{m_description->text()} + m_summary->text().split(u'\n'), m_grid->sheet());
}

void BacktestWindow::print()
{
    showPrintPreview(this, windowTitle(), preferredOrientation(m_grid->sheet()),
                     [this](QPagedPaintDevice& device) { printTo(device); });
}

void BacktestWindow::showEvent(QShowEvent* e)
{
    ChildWindow::showEvent(e);
    growToShowBody(this);
}

QString backtestWindowSummary(const BacktestResult& r)
{
    // The options do not run their analyses: each one on adds its weight to
    // how many draws further back the predictions take their numbers from.
    int on = 0;
    for (bool b : r.flags.on)
        on += b;
    const int offset = r.flags.offset();
    const QString options =
        on == 0 ? QStringLiteral("反映するオプションなし：予想の元にする過去の当選数字をさかのぼらせません")
                : QStringLiteral("反映するオプション%1個：予想の元にする過去の当選数字を%2回分さかのぼって選びます"
                                 "（オプションの重みの合計 %2）")
                      .arg(on)
                      .arg(offset);
    const QString draws = r.draws == 0
                              ? QStringLiteral("第%1回以降に検証できる回がありません").arg(r.from)
                              : QStringLiteral("第%1回～第%2回の%3回を検証").arg(r.from).arg(r.to).arg(r.draws);
    return options + u'\n' + draws;
}

}  // namespace mirkano
