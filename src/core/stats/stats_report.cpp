#include "core/stats/stats_report.h"

#include "core/backtest/backtest.h"

#include <QJsonArray>

namespace mirkano::stats {

namespace {

QJsonObject uniformityJson(const Uniformity& u)
{
    return {{QStringLiteral("statistic"), u.statistic}, {QStringLiteral("df"), u.df}, {QStringLiteral("p"), u.p}};
}

// A law test: the observed counts and the exact probabilities by value, and the fit.
QJsonObject lawJson(const LawTest& t)
{
    QJsonObject observed, exact;
    for (std::size_t v = 0; v < t.observed.size(); ++v)
        if (t.observed[v] != 0 || (v < t.exact.size() && t.exact[v] > 0))
            observed.insert(QString::number(v), t.observed[v]);
    for (std::size_t v = 0; v < t.exact.size(); ++v)
        if (t.exact[v] > 0)
            exact.insert(QString::number(v), t.exact[v]);
    return {{QStringLiteral("observed"), observed}, {QStringLiteral("exact"), exact},
            {QStringLiteral("statistic"), t.fit.statistic}, {QStringLiteral("df"), t.fit.df},
            {QStringLiteral("p"), t.fit.p}};
}

QJsonObject recordJson(const PredictionRecordTest& r)
{
    return {{QStringLiteral("matches"), r.matches}, {QStringLiteral("expected"), r.expected},
            {QStringLiteral("p"), r.p}};
}

}  // namespace

DrawShape drawShape(const Game& g) { return {g.pool, g.mains, g.bonuses, g.lowHighSplit()}; }

StatsReport statsReport(const History& history, GameId game, const ReflectFlags& flags)
{
    StatsReport r;
    r.game = game;
    r.flags = flags;
    std::vector<int> numbers;
    numbers.reserve(history.size() * std::size_t(mirkano::game(game).numbersPerDraw()));
    for (const DrawRecord& d : history)
        if (d.gameId == game && d.complete())
            numbers.insert(numbers.end(), d.all().begin(), d.all().end());
    r.history = historyStats(numbers, drawShape(mirkano::game(game)));

    // The prediction's record: per tested draw how many numbers each
    // prediction held and how many of the draw's mains they met.
    std::vector<int> singlePicks, singleMatches, multiplePicks, multipleMatches;
    r.backtest = runBacktest(history, game, flags, std::nullopt, [&](const BacktestStep& step) {
        singlePicks.push_back(int(step.predictions.single.size()));
        singleMatches.push_back(step.singleMatches);
        multiplePicks.push_back(int(step.predictions.multiple.size()));
        multipleMatches.push_back(step.multipleMatches);
    });
    r.testedDraws = r.backtest.draws;
    const Game& g = mirkano::game(game);
    r.single = predictionRecordTest(singlePicks, singleMatches, g.pool, g.mains);
    r.multiple = predictionRecordTest(multiplePicks, multipleMatches, g.pool, g.mains);
    return r;
}

QString numbersVerdict(const StatsReport& r)
{
    QStringList often, seldom;
    for (const NumberTest& n : r.history.numbers) {
        if (n.mark() > 0)
            often << QString::number(n.number);
        else if (n.mark() < 0)
            seldom << QString::number(n.number);
    }
    if (often.isEmpty() && seldom.isEmpty())
        return QStringLiteral("有意に偏った数字はありません（どの数字の出方も偶然の範囲内です）");
    QStringList lines;
    if (!often.isEmpty())
        lines << QStringLiteral("有意に多い数字：") + often.join(u'、');
    if (!seldom.isEmpty())
        lines << QStringLiteral("有意に少ない数字：") + seldom.join(u'、');
    return lines.join(QStringLiteral("　"));
}

namespace {

QString fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }

QString pText(double p) { return p < 0.0001 ? QStringLiteral("< 0.0001") : fixed(p, 4); }

}  // namespace

Sheet buildStatsSheet(const StatsReport& r)
{
    const HistoryStats& h = r.history;
    const Game& g = game(r.game);
    constexpr int kColumns = 6;
    constexpr int kTestRows = 8;
    const int numberHeader = 2 + kTestRows + 1;
    const int rows = numberHeader + g.pool;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 20,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 9, .rowHeight = 12});
    s.setColumnWidth(1, 24);
    s.setColumnWidth(kColumns, 26);
    s.setBorder({1, 1, kColumns, 1 + kTestRows}, BorderAll, colors::gridLine);
    s.setBorder({1, numberHeader, kColumns, rows}, BorderAll, colors::gridLine);
    for (int row : {1, numberHeader})
        s.setColors({1, row, kColumns, row}, colors::black, colors::lightRed);
    s.setColors({1, 2, 1, 1 + kTestRows}, colors::blue, colors::lightYellow);
    s.setColors({1, numberHeader + 1, 1, rows}, colors::blue, colors::lightYellow);
    s.setHAlign({1, 2, 1, 1 + kTestRows}, HAlign::Left);
    s.setHAlign({kColumns, 2, kColumns, rows}, HAlign::Left);
    s.setActiveCell(0, 0);

    const QStringList head = {QStringLiteral("検定"), QStringLiteral("統計量・観測"), QStringLiteral("自由度・期待"),
                              QStringLiteral("p値"), QString(), QStringLiteral("判定")};
    for (int c = 0; c < kColumns; ++c)
        s.setText(c + 1, 1, head[c]);
    int row = 2;
    const auto chi = [&](const QString& name, double statistic, int df, double p) {
        s.setText(1, row, name);
        s.setText(2, row, fixed(statistic, 2));
        s.setText(3, row, df);
        s.setText(4, row, pText(p));
        s.setText(6, row, verdictWords(p));
        ++row;
    };
    const auto count = [&](const QString& name, int observed, double expected, double p) {
        s.setText(1, row, name);
        s.setText(2, row, observed);
        s.setText(3, row, fixed(expected, 1));
        s.setText(4, row, pText(p));
        s.setText(6, row, verdictWords(p));
        ++row;
    };
    chi(QStringLiteral("本数字の出方（補正χ²）"), h.mains.statistic, h.mains.df, h.mains.p);
    chi(QStringLiteral("ボーナス数字の出方（χ²）"), h.bonuses.statistic, h.bonuses.df, h.bonuses.p);
    chi(QStringLiteral("本数字の合計（適合度）"), h.sum.fit.statistic, h.sum.fit.df, h.sum.fit.p);
    chi(QStringLiteral("奇数の個数（適合度）"), h.odd.fit.statistic, h.odd.fit.df, h.odd.fit.p);
    chi(QStringLiteral("低数字の個数（適合度）"), h.low.fit.statistic, h.low.fit.df, h.low.fit.p);
    count(QStringLiteral("連番を含む回"), h.consecutive.observed, h.consecutive.expected, h.consecutive.p);
    count(QStringLiteral("１発予想の一致数"), r.single.matches, r.single.expected, r.single.p);
    count(QStringLiteral("連発予想の一致数"), r.multiple.matches, r.multiple.expected, r.multiple.p);

    const QStringList numberHead = {QStringLiteral("数字"), QStringLiteral("出現回数"), QStringLiteral("期待回数"),
                                    QStringLiteral("p値（補正後）"), QStringLiteral("z"), QStringLiteral("判定")};
    for (int c = 0; c < kColumns; ++c)
        s.setText(c + 1, numberHeader, numberHead[c]);
    for (const NumberTest& n : h.numbers) {
        const int at = numberHeader + n.number;
        s.setText(1, at, n.number);
        s.setText(2, at, n.observed);
        s.setText(3, at, fixed(n.expected, 1));
        s.setText(4, at, pText(n.pHolm));
        s.setText(5, at, fixed(n.z, 2));
        s.setText(6, at, n.mark() > 0   ? QStringLiteral("有意に多い")
                         : n.mark() < 0 ? QStringLiteral("有意に少ない")
                                        : QStringLiteral("偶然の範囲内"));
        if (n.mark() != 0)
            s.setForeground(Block::cell(6, at), colors::red);
    }
    return s;
}

QJsonObject statsJson(const StatsReport& r)
{
    const HistoryStats& h = r.history;
    QJsonArray numbers;
    for (const NumberTest& n : h.numbers)
        numbers.append(QJsonObject{{QStringLiteral("number"), n.number},
                                   {QStringLiteral("observed"), n.observed},
                                   {QStringLiteral("expected"), n.expected},
                                   {QStringLiteral("z"), n.z},
                                   {QStringLiteral("p"), n.p},
                                   {QStringLiteral("pHolm"), n.pHolm},
                                   {QStringLiteral("mark"), n.mark()}});
    QJsonObject sum = lawJson(h.sum);
    sum.insert(QStringLiteral("mean"), h.sumMean);
    sum.insert(QStringLiteral("variance"), h.sumVariance);
    sum.insert(QStringLiteral("exactMean"), h.exactSumMean);
    sum.insert(QStringLiteral("exactVariance"), h.exactSumVariance);
    QJsonObject single = recordJson(r.single), multiple = recordJson(r.multiple);
    return {
        {QStringLiteral("game"), game(r.game).cliName.toString()},
        {QStringLiteral("draws"), h.draws},
        {QStringLiteral("uniformity"), uniformityJson(h.mains)},
        {QStringLiteral("bonusUniformity"), uniformityJson(h.bonuses)},
        {QStringLiteral("numbers"), numbers},
        {QStringLiteral("sum"), sum},
        {QStringLiteral("odd"), lawJson(h.odd)},
        {QStringLiteral("low"), lawJson(h.low)},
        {QStringLiteral("consecutive"),
         QJsonObject{{QStringLiteral("observed"), h.consecutive.observed},
                     {QStringLiteral("expected"), h.consecutive.expected},
                     {QStringLiteral("probability"), h.consecutive.probability},
                     {QStringLiteral("p"), h.consecutive.p}}},
        {QStringLiteral("prediction"),
         QJsonObject{{QStringLiteral("draws"), r.testedDraws},
                     {QStringLiteral("single"), single},
                     {QStringLiteral("multiple"), multiple}}},
    };
}

}  // namespace mirkano::stats
