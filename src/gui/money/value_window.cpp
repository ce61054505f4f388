// The window 期待値: its layout, the words of its summary and method, and
// the figures recomputed from a history and its prize data.

#include "gui/money/value_window.h"

#include "core/game/prize_rules.h"
#include "gui/money/value_chart.h"
#include "gui/money/value_table.h"
#include "gui/sheet/grid_units.h"

#include <QChartView>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace mirkano {

QString valueMethodText(GameId game)
{
    const Game& g = mirkano::game(game);
    const int percent = prizeRules(game).fundPercent;
    QString text = QStringLiteral(
                       "払戻し：その回に支払われた賞金の合計（各等級の口数×賞金）を売れた口数で割った、1口あたりの額です。"
                       "売れた口数は販売実績額÷%1円（1口の価格）、販売実績額がない回は「支払った賞金－受け取ったキャリーオーバー"
                       "＋次回へのキャリーオーバー＝販売額の%2％」から求めます。"
                       "無作為な1口の価値：数字を無作為に選んだ1口が、その回の賞金で受け取れた額の期待値です"
                       "（各等級の当せん確率×その回の賞金の合計）。")
                       .arg(g.price)
                       .arg(percent);
    text += QStringLiteral("比＝無作為な1口の価値÷払戻し。1より大きい回は、当せん数字を選んだ人が偶然より少なかった回です。");
    text += hasCarryOver(game)
                ? QStringLiteral("次回の上限：各等級の当せん者が偶然どおりの数のとき、1口の価値は販売額の%1％に"
                                 "キャリーオーバーの1口あたりの額を足した額を超えず、その足し分は1等の上限額×1等の確率を超えません。")
                      .arg(percent)
                : QStringLiteral("ミニロトにはキャリーオーバーがないため、当せん者が偶然どおりの数なら1口の価値は販売額の%1％です。")
                      .arg(percent);
    return text;
}

ValueWindow::ValueWindow(QWidget* parent) : ChildWindow(parent)
{
    setWindowTitle(kValueCaption);
    setObjectName(QStringLiteral("value"));

    auto* body = new QWidget(this);
    body->setFont(uiFont());
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(twipsToPixels(120), 6, twipsToPixels(120), 6);
    layout->setSpacing(6);

    auto* top = new QHBoxLayout;
    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_summary->setTextFormat(Qt::PlainText);
    top->addWidget(m_summary, 1);
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    m_close->setObjectName(QStringLiteral("Command1"));
    m_close->setFixedSize(64, 24);
    top->addWidget(m_close, 0, Qt::AlignTop);
    layout->addLayout(top);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);

    // The chart view comes with the first figures (fillChart), in this place.
    m_layout = layout;

    m_model = new ValueTableModel(this);
    m_table = new QTableView(body);
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setMinimumHeight(160);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the widest text each column can hold, not measured
    // over thousands of rows.
    const QFontMetrics metrics(m_table->font());
    const QString widest[] = {QStringLiteral("32767"), QStringLiteral("9999.9円"), QStringLiteral("無作為な1口の価値"),
                              QStringLiteral("99.99"), QStringLiteral("99,999,999口（販売実績額から）")};
    for (int c = 0; c < 5; ++c)
        m_table->setColumnWidth(c, metrics.horizontalAdvance(widest[c]) + 16);
    layout->addWidget(m_table, 2);

    m_method = new QLabel(body);
    m_method->setObjectName(QStringLiteral("method"));
    m_method->setWordWrap(true);
    m_method->setTextFormat(Qt::PlainText);
    layout->addWidget(m_method);
    // Takes the room the chart and the table leave when there are no figures.
    layout->addStretch(0);

    setBody(body);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void ValueWindow::load(const History& history, const PrizeTable& prizes, GameId game)
{
    showReport(ticketValues(game, history, prizes));
    emit opened();
    move(0, 0);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void ValueWindow::recompute(const History& history, const PrizeTable& prizes, GameId game)
{
    showReport(ticketValues(game, history, prizes));
}

void ValueWindow::showReport(const ValueReport& report)
{
    m_report = report;
    const bool any = !m_report.draws.empty();
    m_summary->setText(summaryText());
    m_method->setText(valueMethodText(m_report.game));
    m_model->setDraws(m_report.draws, hasCarryOver(m_report.game));
    m_table->setVisible(any);
    m_method->setVisible(any);
    if (any)
        fillChart();
    if (m_chart)
        m_chart->setVisible(any);
    const Game& g = game(m_report.game);
    setPrintSource(g.name.toString()
                   + (any ? QStringLiteral("　第%1回まで").arg(m_report.draws.back().drawNo) : QString()));
}

QString ValueWindow::summaryText() const
{
    const ValueReport& r = m_report;
    if (r.draws.empty())
        return kValueNoPrizeData;
    const double price = r.price;
    QString text = QStringLiteral("賞金データのある %1回（第%2回～第%3回）の平均：無作為な1口の価値 %4（%5円の %6）、"
                                  "払戻し %7（%8）。")
                       .arg(r.draws.size())
                       .arg(r.draws.front().drawNo)
                       .arg(r.draws.back().drawNo)
                       .arg(yenPerTicketText(r.meanRandom))
                       .arg(r.price)
                       .arg(QString::number(r.meanRandom / price, 'f', 3))
                       .arg(yenPerTicketText(r.meanPaidOut))
                       .arg(QString::number(r.meanPaidOut / price, 'f', 3));
    if (r.skipped > 0)
        text += QStringLiteral("賞金データがそろわない %1回は除いています。").arg(r.skipped);
    if (r.next) {
        const NextDrawValue& n = *r.next;
        text += QStringLiteral("\n次の第%1回").arg(n.drawNo);
        if (hasCarryOver(r.game))
            text += n.carryIn > 0 ? QStringLiteral("（キャリーオーバー %1、1等の上限 %2）").arg(yenText(n.carryIn), yenText(n.firstPrizeCap))
                                  : QStringLiteral("（キャリーオーバーなし）");
        text += QStringLiteral("：1口の価値は当せん者が偶然どおりの数なら多くても %1（価格の %2）で、%3。")
                    .arg(yenPerTicketText(n.ceiling), QString::number(n.ceiling / price, 'f', 3),
                         n.reachesPrice ? QStringLiteral("価格に届きえます") : QStringLiteral("価格 %1円に届きません").arg(r.price));
    }
    return text;
}

void ValueWindow::fillChart()
{
    if (m_chart) {
        QChart* old = m_chart->chart();
        m_chart->setChart(makeValueChart(m_report));
        delete old;
        return;
    }
    // Made with its chart: a view made without one builds a default chart first.
    m_chart = new QChartView(makeValueChart(m_report), m_table->parentWidget());
    m_chart->setObjectName(QStringLiteral("chart"));
    // Thousands of points: drawn without antialiasing, which costs several
    // times as much and adds nothing to lines a pixel wide.
    m_chart->setRenderHint(QPainter::Antialiasing, false);
    m_chart->setMinimumSize(640, 300);
    m_layout->insertWidget(m_layout->indexOf(m_table), m_chart, 3);
}

}  // namespace mirkano
