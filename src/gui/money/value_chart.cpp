// The chart of the window 期待値, thinned to its columns for long histories.

#include "gui/money/value_chart.h"

#include "gui/sheet/grid_units.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <functional>

namespace mirkano {

namespace {

using Value = std::function<double(std::size_t)>;

// The draws cut into at most kChartColumns columns of about equal size:
// column c holds draws [start(c), start(c + 1)).
struct Columns {
    std::size_t draws;
    std::size_t count;
    std::size_t start(std::size_t c) const { return c * draws / count; }
};

Columns columnsOf(std::size_t draws) { return {draws, std::min<std::size_t>(draws, kChartColumns)}; }

// Every draw while they fit; beyond, each column's lowest and highest value
// in the order they came.
QList<QPointF> extremes(const ValueReport& r, const Value& value)
{
    const std::size_t n = r.draws.size();
    QList<QPointF> points;
    if (n <= 2 * std::size_t(kChartColumns)) {
        points.reserve(qsizetype(n));
        for (std::size_t i = 0; i < n; ++i)
            points.append(QPointF(r.draws[i].drawNo, value(i)));
        return points;
    }
    const Columns cols = columnsOf(n);
    points.reserve(qsizetype(2 * cols.count));
    for (std::size_t c = 0; c < cols.count; ++c) {
        std::size_t lo = cols.start(c), hi = lo;
        for (std::size_t i = cols.start(c); i < cols.start(c + 1); ++i) {
            if (value(i) < value(lo))
                lo = i;
            if (value(i) > value(hi))
                hi = i;
        }
        for (std::size_t i : {std::min(lo, hi), std::max(lo, hi)})
            if (points.isEmpty() || points.back().x() != r.draws[i].drawNo)
                points.append(QPointF(r.draws[i].drawNo, value(i)));
    }
    return points;
}

// The mean of the last kMeanDraws values at each draw (fewer at the start),
// one point per column.
QList<QPointF> movingMean(const ValueReport& r, const Value& value)
{
    const std::size_t n = r.draws.size();
    const bool thin = n > 2 * std::size_t(kChartColumns);
    const Columns cols = columnsOf(n);
    QList<QPointF> points;
    double sum = 0;
    std::size_t column = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += value(i);
        if (i >= std::size_t(kMeanDraws))
            sum -= value(i - kMeanDraws);
        const bool lastOfColumn = i + 1 == cols.start(column + 1);
        if (lastOfColumn)
            ++column;
        if (!thin || lastOfColumn || i == 0)
            points.append(QPointF(r.draws[i].drawNo, sum / double(std::min<std::size_t>(i + 1, kMeanDraws))));
    }
    return points;
}

// Steps of height h over the draws that received a carry-over; neighbouring
// draws (or, thinned, columns holding one) form one step.
QList<QPointF> carryBand(const ValueReport& r, double h)
{
    const std::size_t n = r.draws.size();
    const Columns cols = n > 2 * std::size_t(kChartColumns) ? columnsOf(n) : Columns{n, n};
    QList<QPointF> points;
    for (std::size_t c = 0; c < cols.count; ++c) {
        const auto begin = r.draws.begin() + std::ptrdiff_t(cols.start(c));
        const auto end = r.draws.begin() + std::ptrdiff_t(cols.start(c + 1));
        if (!std::any_of(begin, end, [](const DrawValue& v) { return v.carryIn > 0; }))
            continue;
        const double from = begin->drawNo - 0.5, to = (end - 1)->drawNo + 0.5;
        if (!points.isEmpty() && points.back().x() == from) {
            // The run goes on: its end moves.
            points[points.size() - 2].setX(to);
            points.back().setX(to);
            continue;
        }
        points << QPointF(from, 0) << QPointF(from, h) << QPointF(to, h) << QPointF(to, 0);
    }
    return points;
}

// The round step (1, 2 or 5 times a power of ten) nearest above `rough`.
double roundStep(double rough)
{
    double step = 1;
    while (step * 10 <= rough)
        step *= 10;
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (step * m >= rough)
            return step * m;
    return step * 10;
}

}  // namespace

QChart* makeValueChart(const ValueReport& r)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("1口あたりの額（円）：無作為な1口の価値と払戻し"));
    chart->setTitleFont(uiFont());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(uiFont());
    chart->setAnimationOptions(QChart::NoAnimation);

    double top = r.price;
    for (const DrawValue& v : r.draws)
        top = std::max({top, v.random, v.paidOut});
    const double first = r.draws.front().drawNo;
    const double last = std::max(first + 1, double(r.draws.back().drawNo));

    auto* x = new QValueAxis;
    x->setRange(first, last);
    x->setLabelFormat(QStringLiteral("%d"));
    // Ticks at round draw numbers (100, 500, 1000, …), about five of them.
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(roundStep((last - first) / 5));
    x->setTitleText(QStringLiteral("回数"));
    x->setLabelsFont(uiFont());
    chart->addAxis(x, Qt::AlignBottom);
    auto* y = new QValueAxis;
    y->setRange(0, top * 1.05);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTitleText(QStringLiteral("円"));
    y->setLabelsFont(uiFont());
    chart->addAxis(y, Qt::AlignLeft);

    const auto attach = [&](QAbstractSeries* s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    const auto line = [&](const QString& name, const QList<QPointF>& points, QColor colour, qreal width) {
        auto* s = new QLineSeries;
        s->setName(name);
        s->replace(points);
        s->setPen(QPen(colour, width));
        attach(s);
        return s;
    };
    const Value random = [&r](std::size_t i) { return r.draws[i].random; };
    const Value paid = [&r](std::size_t i) { return r.draws[i].paidOut; };
    const QColor randomColour(0x20, 0x60, 0xc0), paidColour(0x30, 0x90, 0x30);
    QColor randomFaint = randomColour, paidFaint = paidColour;
    randomFaint.setAlpha(70);
    paidFaint.setAlpha(70);
    line(QStringLiteral("無作為な1口の価値"), extremes(r, random), randomFaint, 1);
    line(QStringLiteral("払戻し"), extremes(r, paid), paidFaint, 1);
    QLineSeries* price =
        line(QStringLiteral("価格 %1円").arg(r.price), {QPointF(first, r.price), QPointF(last, r.price)}, Qt::red, 2);
    QPen dashed = price->pen();
    dashed.setStyle(Qt::DashLine);
    price->setPen(dashed);
    line(QStringLiteral("価値の%1回平均").arg(kMeanDraws), movingMean(r, random), randomColour, 2.5);
    line(QStringLiteral("払戻しの%1回平均").arg(kMeanDraws), movingMean(r, paid), paidColour, 2.5);

    // One filled band, not a marker per draw.
    if (const QList<QPointF> band = carryBand(r, top * 0.02); !band.isEmpty()) {
        auto* upper = new QLineSeries;
        upper->replace(band);
        auto* marks = new QAreaSeries(upper);
        marks->setName(QStringLiteral("キャリーオーバーあり"));
        const QColor orange(0xe0, 0x80, 0x00);
        marks->setColor(orange);
        marks->setBorderColor(orange);
        attach(marks);
    }
    return chart;
}

}  // namespace mirkano
