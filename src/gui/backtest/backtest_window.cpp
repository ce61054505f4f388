#include "gui/backtest/backtest_window.h"

#include "gui/shell/busy_pointer.h"
#include "core/backtest/backtest.h"
#include "gui/check/grow_to_body.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_print.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirkano {

BacktestWindow::BacktestWindow(GameId game, QWidget* parent) : ChildWindow(parent), m_game(game)
{
    setWindowTitle(QStringLiteral("予想の検証"));
    setObjectName(QStringLiteral("backtest"));

    auto* body = new QWidget(this);
    body->setFont(uiFont());
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(twipsToPixels(120), 6, twipsToPixels(120), 6);
    layout->setSpacing(6);

    auto* top = new QHBoxLayout;
    m_description = new QLabel(kBacktestDescription, body);
    m_description->setObjectName(QStringLiteral("Label1"));
    m_description->setWordWrap(true);
    top->addWidget(m_description, 1, Qt::AlignTop);
    m_print = new QPushButton(QStringLiteral("印刷"), body);
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    m_close->setObjectName(QStringLiteral("Command1"));
    // 閉じる where it always stood, 印刷 under it: the description keeps
    // its width.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* b : {m_close, m_print}) {
        b->setFixedSize(64, 24);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    top->addLayout(buttons);
    layout->addLayout(top);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);
    connect(m_print, &QPushButton::clicked, this, &BacktestWindow::print);

    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("Label2"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    m_grid = new SheetGrid(body);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    // The grid's 印刷… prints what the button does.
    GridActions::of(m_grid)->printHandler = [this] { print(); };
    layout->addWidget(m_grid, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);

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
