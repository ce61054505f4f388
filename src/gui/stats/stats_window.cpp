#include "gui/stats/stats_window.h"

#include "gui/help/help_viewer.h"
#include "gui/report/report_body.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_print.h"
#include "gui/stats/stats_print.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineSeries>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace mirkano {

namespace {

QChartView* makeChartView(QWidget* parent, const char* name)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(640, 360);
    return view;
}

// A new chart in the view, with the program's font and the legend below.
QChart* freshChart(QChartView* view, const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(uiFont());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(uiFont());
    chart->setAnimationOptions(QChart::NoAnimation);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

QBarCategoryAxis* categoryAxis(QChart* chart, const QStringList& labels, const QString& title)
{
    auto* axis = new QBarCategoryAxis;
    axis->append(labels);
    axis->setTitleText(title);
    axis->setLabelsFont(uiFont());
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

QValueAxis* countAxis(QChart* chart, double top, const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setRange(0, top > 0 ? top * 1.1 : 1);
    // Ticks on round numbers (0, 50, 100, …), the top raised to the next one.
    axis->applyNiceNumbers();
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

StatsWindow::StatsWindow(QWidget* parent) : ChildWindow(parent)
{
    setWindowTitle(kStatsCaption);
    setObjectName(QStringLiteral("stats"));

    ReportBody report(this, kStatsDescription, [this] {
        showPrintPreview(this, kStatsCaption, QPageLayout::Landscape,
                         [this](QPagedPaintDevice& device) { print(device); });
    });
    QWidget* body = report.widget();
    QVBoxLayout* layout = report.layout();
    m_description = report.description();
    m_print = report.printButton();
    m_close = report.closeButton();
    report.addDescriptionBeside(Qt::Horizontal, {m_print, m_close});

    m_summary = report.addSummary(QStringLiteral("summary"), true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_tabs = new QTabWidget(body);
    m_grid = report.makeGrid(m_tabs);
    m_tabs->addTab(m_grid, QStringLiteral("検定結果"));
    m_frequency = makeChartView(m_tabs, "frequencyChart");
    m_tabs->addTab(m_frequency, QStringLiteral("数字の出現回数"));
    m_sum = makeChartView(m_tabs, "sumChart");
    m_tabs->addTab(m_sum, QStringLiteral("本数字の合計"));
    m_prediction = makeChartView(m_tabs, "predictionChart");
    m_tabs->addTab(m_prediction, QStringLiteral("予想の成績"));
    // The tabs take the room the window leaves them, at least enough to read
    // a chart: the charts' own preferred size would grow the page past the
    // window.
    m_tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_tabs->setMinimumHeight(400);
    layout->addWidget(m_tabs, 1);

    setBody(body);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

StatsWindow::~StatsWindow()
{
    // The worker writes only into its own result, but it must end before
    // the thread object goes.
    if (m_worker)
        m_worker->wait();
}

void StatsWindow::load(const History& history, GameId game, const ReflectFlags& flags)
{
    emit opened();
    move(0, 0);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    recompute(history, game, flags);
}

void StatsWindow::recompute(const History& history, GameId game, const ReflectFlags& flags)
{
    m_pending = Request{history, game, flags};
    if (!m_worker)
        startNext();
}

void StatsWindow::startNext()
{
    auto request = std::make_shared<Request>(std::move(*m_pending));
    m_pending.reset();
    auto result = std::make_shared<stats::StatsReport>();
    // The printout names the history these figures come from, even if another is loaded meanwhile.
    const QString source = historySourceText(request->game, request->history);
    m_worker = QThread::create([request, result] {
        *result = stats::statsReport(request->history, request->game, request->flags);
    });
    connect(m_worker, &QThread::finished, this, [this, result, source] {
        m_worker->deleteLater();
        m_worker = nullptr;
        if (m_pending) {
            startNext();  // the history changed meanwhile: these figures are stale
            return;
        }
        unsetCursor();
        showReport(*result, source);
    });
    setCursor(Qt::BusyCursor);
    m_print->setEnabled(false);
    const QString note = QStringLiteral("計算しています…");
    if (!m_summary->text().startsWith(note))
        m_summary->setText(m_summary->text().isEmpty() ? note : note + u'\n' + m_summary->text());
    m_worker->start();
}

bool StatsWindow::waitForReport(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (isComputing() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (m_worker)
            m_worker->wait(10);
    }
    QCoreApplication::processEvents();
    return !isComputing();
}

void StatsWindow::showReport(const stats::StatsReport& report, const QString& source)
{
    m_report = report;
    m_grid->setSheet(stats::buildStatsSheet(m_report));
    setPrintSource(source);
    m_summary->setText(stats::statsHeadline(m_report));
    fillCharts();
    m_print->setEnabled(true);
    emit computed();
}

void StatsWindow::fillCharts()
{
    const stats::HistoryStats& h = m_report.history;
    const Game& g = game(m_report.game);

    // Each number's count, the count expected of a fair draw and its 95 %
    // band (binomial: each draw holds a number with chance mains / pool).
    {
        QChart* chart = freshChart(m_frequency, QStringLiteral("本数字の出現回数と期待回数（95％の範囲）"));
        auto* bars = new QBarSeries;
        auto* observed = new QBarSet(QStringLiteral("出現回数"));
        double top = 0;
        for (const stats::NumberTest& n : h.numbers) {
            *observed << n.observed;
            top = std::max(top, double(n.observed));
        }
        bars->append(observed);
        const double p = double(g.mains) / g.pool;
        const double expected = h.draws * p;
        const double band = 1.96 * std::sqrt(h.draws * p * (1 - p));
        auto* line = new QLineSeries;
        line->setName(QStringLiteral("期待回数"));
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        // Across the whole row of bars: categories stand at 0 … pool − 1.
        for (double x : {-0.5, g.pool - 0.5}) {
            line->append(x, expected);
            upper->append(x, expected + band);
            lower->append(x, std::max(0.0, expected - band));
        }
        auto* area = new QAreaSeries(upper, lower);
        // The area series draws its edges but does not own them.
        upper->setParent(area);
        lower->setParent(area);
        area->setName(QStringLiteral("95％の範囲"));
        area->setColor(QColor(255, 200, 120, 110));
        area->setBorderColor(QColor(255, 160, 60));
        top = std::max(top, expected + band);
        // The numbers 1, 5, 10, … under their bars: a label under each of
        // 37 or 43 narrow bars would not be legible.
        auto* x = new QCategoryAxis;
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        x->setRange(-0.5, g.pool - 0.5);
        x->setStartValue(-0.5);
        for (int n = 1; n <= g.pool; ++n)
            if (n == 1 || n % 5 == 0)
                x->append(QString::number(n), n - 1);
        x->setTitleText(QStringLiteral("数字"));
        x->setLabelsFont(uiFont());
        x->setGridLineVisible(false);
        chart->addAxis(x, Qt::AlignBottom);
        QValueAxis* y = countAxis(chart, top, QStringLiteral("回"));
        // The band behind the bars, the expected count over them.
        attach(chart, area, x, y);
        attach(chart, bars, x, y);
        attach(chart, line, x, y);
    }

    // The sums of the mains in bins, against the counts their exact law expects.
    {
        QChart* chart = freshChart(m_sum, QStringLiteral("本数字の合計の分布と理論値"));
        auto* bars = new QBarSeries;
        auto* observed = new QBarSet(QStringLiteral("実際の回数"));
        auto* curve = new QLineSeries;
        curve->setName(QStringLiteral("理論上の回数"));
        const int least = g.mains * (g.mains + 1) / 2;
        const int most = g.mains * (2 * g.pool - g.mains + 1) / 2;
        QStringList labels;
        double top = 0;
        int index = 0;
        for (int from = least / kSumBin * kSumBin; from <= most; from += kSumBin, ++index) {
            int count = 0;
            double exact = 0;
            for (int v = from; v < from + kSumBin; ++v) {
                if (v < int(h.sum.observed.size()))
                    count += h.sum.observed[std::size_t(v)];
                if (v < int(h.sum.exact.size()))
                    exact += h.sum.exact[std::size_t(v)];
            }
            *observed << count;
            curve->append(index, exact * h.draws);
            labels << QString::number(from);
            top = std::max({top, double(count), exact * h.draws});
        }
        bars->append(observed);
        // Round values at the bins' left edges, every other bin when a label
        // under each would not fit: over twenty bins of a narrow chart give
        // each label room for one digit.
        const int bins = int(labels.size());
        const int every = bins > 12 ? 2 : 1;
        auto* x = new QCategoryAxis;
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        x->setRange(-0.5, bins - 0.5);
        x->setStartValue(-0.5);
        for (int i = 0; i < bins; ++i)
            if (labels[i].toInt() % (kSumBin * every) == 0)
                x->append(labels[i], i - 0.5);
        x->setTitleText(QStringLiteral("合計（%1ごと）").arg(kSumBin));
        x->setLabelsFont(uiFont());
        x->setGridLineVisible(false);
        chart->addAxis(x, Qt::AlignBottom);
        QValueAxis* y = countAxis(chart, top, QStringLiteral("回"));
        attach(chart, bars, x, y);
        attach(chart, curve, x, y);
    }

    // The prediction test: draws with 0 … k matches, the predictions against
    // as many numbers picked at random.
    {
        QChart* chart = freshChart(m_prediction, QStringLiteral("予想の一致数：予想と無作為に選んだ場合"));
        const BacktestResult& b = m_report.backtest;
        auto* bars = new QBarSeries;
        auto* single = new QBarSet(QStringLiteral("１発予想"));
        auto* singleChance = new QBarSet(QStringLiteral("１発：無作為"));
        auto* multiple = new QBarSet(QStringLiteral("連発予想"));
        auto* multipleChance = new QBarSet(QStringLiteral("連発：無作為"));
        QStringList labels;
        double top = 0;
        for (int k = 0; k <= g.mains; ++k) {
            const auto at = std::size_t(k);
            *single << b.single[at];
            *singleChance << b.expectedSingle[at] * b.draws;
            *multiple << b.multiple[at];
            *multipleChance << b.expectedMultiple[at] * b.draws;
            labels << QStringLiteral("%1個").arg(k);
            top = std::max({top, double(b.single[at]), double(b.multiple[at]), b.expectedSingle[at] * b.draws,
                            b.expectedMultiple[at] * b.draws});
        }
        bars->append({single, singleChance, multiple, multipleChance});
        QBarCategoryAxis* x = categoryAxis(chart, labels, QStringLiteral("本数字との一致数"));
        QValueAxis* y = countAxis(chart, top, QStringLiteral("回"));
        attach(chart, bars, x, y);
    }
}

void StatsWindow::print(QPagedPaintDevice& device) const
{
    printStats(device, m_grid->sheet(), {m_frequency->chart(), m_sum->chart(), m_prediction->chart()},
               {kStatsCaption, printSource()});
}

}  // namespace mirkano
