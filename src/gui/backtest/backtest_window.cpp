#include "gui/backtest/backtest_window.h"

#include "gui/shell/busy_pointer.h"
#include "core/backtest/backtest.h"
#include "gui/sheet/grid_units.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirkano {

BacktestWindow::BacktestWindow(QWidget* parent) : ChildWindow(parent)
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
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    m_close->setObjectName(QStringLiteral("Command1"));
    m_close->setFixedSize(64, 24);
    top->addWidget(m_close, 0, Qt::AlignTop);
    layout->addLayout(top);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);

    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(m_summary);

    m_grid = new SheetGrid(body);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    layout->addWidget(m_grid, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);

    setWidget(body);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void BacktestWindow::load(const History& history, const ReflectFlags& flags)
{
    BusyPointer busy;
    emit opened();
    move(0, 0);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    m_flags = flags;
    const BacktestResult result = runBacktest(history, flags);
    m_grid->setSheet(buildBacktestSheet(result));
    m_grid->setFixedSize(m_grid->sizeHint());
    m_summary->setText(backtestSummary(result));
}

}  // namespace mirkano
