#include "core/stats/stats_report.h"

#include "core/backtest/backtest.h"

#include <QJsonArray>
#include <QJsonValue>

namespace mirkano::stats {

namespace {

// An empty value is JSON's null.
template <class T>
QJsonValue orNull(const std::optional<T>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject uniformityJson(const Uniformity& u, const FamilyMember& m)
{
    return {{QStringLiteral("statistic"), u.statistic}, {QStringLiteral("df"), u.df},
            {QStringLiteral("p"), orNull(u.p)}, {QStringLiteral("pHolm"), orNull(m.pHolm)}};
}

// A law test: the observed counts and the exact probabilities by value, and the fit.
QJsonObject lawJson(const LawTest& t, const FamilyMember& m)
{
    QJsonObject observed, exact;
    for (std::size_t v = 0; v < t.observed.size(); ++v)
        if (t.observed[v] != 0 || (v < t.exact.size() && t.exact[v] > 0))
            observed.insert(QString::number(v), t.observed[v]);
    for (std::size_t v = 0; v < t.exact.size(); ++v)
        if (t.exact[v] > 0)
            exact.insert(QString::number(v), t.exact[v]);
    return {{QStringLiteral("observed"), observed}, {QStringLiteral("exact"), exact},
            {QStringLiteral("statistic"), t.fit.statistic}, {QStringLiteral("df"), orNull(t.fit.df)},
            {QStringLiteral("p"), orNull(t.fit.p)}, {QStringLiteral("pHolm"), orNull(m.pHolm)}};
}

QJsonObject recordJson(const PredictionRecordTest& r, const FamilyMember& m)
{
    return {{QStringLiteral("matches"), r.matches}, {QStringLiteral("expected"), r.expected},
            {QStringLiteral("p"), orNull(r.p)}, {QStringLiteral("pHolm"), orNull(m.pHolm)}};
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
    correctFamily(r);
    return r;
}

void correctFamily(StatsReport& r)
{
    const HistoryStats& h = r.history;
    const std::array<std::optional<double>, kFamilySize> p = {
        h.mains.p, h.bonuses.p, h.sum.fit.p, h.odd.fit.p, h.low.fit.p, h.consecutive.p, r.single.p, r.multiple.p};
    std::vector<double> run;
    for (const std::optional<double>& v : p)
        if (v)
            run.push_back(*v);
    const std::vector<double> adjusted = holm(run);
    std::size_t next = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        r.family[i].p = p[i];
        r.family[i].pHolm = p[i] ? std::optional<double>(adjusted[next++]) : std::nullopt;
    }
    const std::optional<double> mains = r.member(FamilyTest::Mains).pHolm;
    const bool open = mains && *mains < kSignificance;
    for (NumberTest& n : r.history.numbers)
        n.gateOpen = open;
}

int StatsReport::testsRun() const
{
    int n = 0;
    for (const FamilyMember& m : family)
        n += m.p.has_value();
    return n;
}

QString familyTestName(FamilyTest t)
{
    switch (t) {
    case FamilyTest::Mains: return QStringLiteral("本数字の出方");
    case FamilyTest::Bonuses: return QStringLiteral("ボーナス数字の出方");
    case FamilyTest::Sum: return QStringLiteral("本数字の合計");
    case FamilyTest::Odd: return QStringLiteral("奇数の個数");
    case FamilyTest::Low: return QStringLiteral("低数字の個数");
    case FamilyTest::Consecutive: return QStringLiteral("連番を含む回");
    case FamilyTest::Single: return QStringLiteral("１発予想の一致数");
    case FamilyTest::Multiple: return QStringLiteral("連発予想の一致数");
    }
    return {};
}

QString numbersVerdict(const StatsReport& r)
{
    if (!r.member(FamilyTest::Mains).p)
        return QStringLiteral("数字ごとの判定：回数が足りません");
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
// An empty value: the test could not be run, or the figure is undefined.
const QString kNone = QStringLiteral("－");
QString pText(std::optional<double> p) { return p ? pText(*p) : kNone; }

}  // namespace

Sheet buildStatsSheet(const StatsReport& r)
{
    const HistoryStats& h = r.history;
    const Game& g = game(r.game);
    constexpr int kColumns = 6;
    constexpr int kTestRows = kFamilySize;
    const int numberHeader = 2 + kTestRows + 1;
    const int rows = numberHeader + g.pool;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 20,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 9, .rowHeight = 12});
    s.setColumnWidth(1, 24);
    s.setColumnWidth(5, 11);
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
                              QStringLiteral("p値"), QStringLiteral("p値（補正後）"), QStringLiteral("判定")};
    for (int c = 0; c < kColumns; ++c)
        s.setText(c + 1, 1, head[c]);
    int row = 2;
    // The p-values and the verdict of the corrected one, red when it is an alarm.
    const auto verdictCells = [&](FamilyTest t) {
        const FamilyMember& m = r.member(t);
        s.setText(4, row, pText(m.p));
        s.setText(5, row, pText(m.pHolm));
        s.setText(6, row, verdictWords(m.pHolm));
        if (m.pHolm && *m.pHolm < kSignificance)
            s.setForeground(Block::cell(6, row), colors::red);
        ++row;
    };
    const auto chi = [&](FamilyTest t, const QString& name, double statistic, std::optional<int> df) {
        s.setText(1, row, name);
        s.setText(2, row, r.member(t).p ? fixed(statistic, 2) : kNone);
        s.setText(3, row, df ? QString::number(*df) : kNone);
        verdictCells(t);
    };
    const auto count = [&](FamilyTest t, const QString& name, int observed, double expected) {
        s.setText(1, row, name);
        s.setText(2, row, observed);
        s.setText(3, row, fixed(expected, 1));
        verdictCells(t);
    };
    chi(FamilyTest::Mains, QStringLiteral("本数字の出方（補正χ²）"), h.mains.statistic, h.mains.df);
    chi(FamilyTest::Bonuses,
        g.bonuses > 1 ? QStringLiteral("ボーナス数字の出方（補正χ²）") : QStringLiteral("ボーナス数字の出方（χ²）"),
        h.bonuses.statistic, h.bonuses.df);
    chi(FamilyTest::Sum, QStringLiteral("本数字の合計（適合度）"), h.sum.fit.statistic, h.sum.fit.df);
    chi(FamilyTest::Odd, QStringLiteral("奇数の個数（適合度）"), h.odd.fit.statistic, h.odd.fit.df);
    chi(FamilyTest::Low, QStringLiteral("低数字の個数（適合度）"), h.low.fit.statistic, h.low.fit.df);
    count(FamilyTest::Consecutive, QStringLiteral("連番を含む回"), h.consecutive.observed, h.consecutive.expected);
    count(FamilyTest::Single, QStringLiteral("１発予想の一致数"), r.single.matches, r.single.expected);
    count(FamilyTest::Multiple, QStringLiteral("連発予想の一致数"), r.multiple.matches, r.multiple.expected);

    const QStringList numberHead = {QStringLiteral("数字"), QStringLiteral("出現回数"), QStringLiteral("期待回数"),
                                    QStringLiteral("p値"), QStringLiteral("p値（補正後）"), QStringLiteral("判定")};
    for (int c = 0; c < kColumns; ++c)
        s.setText(c + 1, numberHeader, numberHead[c]);
    const bool numbersTested = r.member(FamilyTest::Mains).p.has_value();
    for (const NumberTest& n : h.numbers) {
        const int at = numberHeader + n.number;
        s.setText(1, at, n.number);
        s.setText(2, at, n.observed);
        s.setText(3, at, fixed(n.expected, 1));
        s.setText(4, at, pText(n.p));
        s.setText(5, at, pText(n.pHolm));
        s.setText(6, at, !numbersTested   ? QStringLiteral("回数が足りません")
                         : n.mark() > 0   ? QStringLiteral("有意に多い")
                         : n.mark() < 0   ? QStringLiteral("有意に少ない")
                                          : QStringLiteral("偶然の範囲内"));
        if (n.mark() != 0)
            s.setForeground(Block::cell(6, at), colors::red);
    }
    return s;
}

QString statsHeadline(const StatsReport& r)
{
    const HistoryStats& h = r.history;
    QStringList lines;
    lines << QStringLiteral("%1　完全な%2回を検定（第%3回以降の%4回で予想を検証）")
                 .arg(game(r.game).name.toString())
                 .arg(h.draws)
                 .arg(r.backtest.from)
                 .arg(r.testedDraws);
    const int run = r.testsRun();
    const int skipped = kFamilySize - run;
    if (run == 0) {
        lines << QStringLiteral("回数が足りず、%1個の検定はどれも実施できません").arg(kFamilySize);
    } else {
        QString head = QStringLiteral("%1個の検定を実施").arg(run);
        if (skipped > 0)
            head += QStringLiteral("（%1個は回数が足りず実施できません）").arg(skipped);
        head += QStringLiteral("、Holm の補正後のp値で判定：");
        QStringList alarms;
        std::optional<double> least;
        FamilyTest leastAt = FamilyTest::Mains;
        for (int i = 0; i < kFamilySize; ++i) {
            const FamilyMember& m = r.family[std::size_t(i)];
            if (!m.pHolm)
                continue;
            if (*m.pHolm < kSignificance)
                alarms << QStringLiteral("%1（補正後 p = %2）")
                              .arg(familyTestName(FamilyTest(i)))
                              .arg(*m.pHolm, 0, 'g', 3);
            if (!least || *m.pHolm < *least) {
                least = m.pHolm;
                leastAt = FamilyTest(i);
            }
        }
        if (alarms.isEmpty())
            head += QStringLiteral("どれも偶然の範囲内です（補正後のp値が最も小さいのは%1で p = %2）")
                        .arg(familyTestName(leastAt))
                        .arg(*least, 0, 'g', 3);
        else
            head += QStringLiteral("偶然では説明しにくい偏りがあります：") + alarms.join(u'、');
        lines << head;
    }
    lines << numbersVerdict(r);
    return lines.join(u'\n');
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
    QJsonObject sum = lawJson(h.sum, r.member(FamilyTest::Sum));
    sum.insert(QStringLiteral("mean"), orNull(h.sumMean));
    sum.insert(QStringLiteral("variance"), orNull(h.sumVariance));
    sum.insert(QStringLiteral("exactMean"), h.exactSumMean);
    sum.insert(QStringLiteral("exactVariance"), h.exactSumVariance);
    QJsonObject single = recordJson(r.single, r.member(FamilyTest::Single)),
                multiple = recordJson(r.multiple, r.member(FamilyTest::Multiple));
    return {
        {QStringLiteral("game"), game(r.game).cliName.toString()},
        {QStringLiteral("draws"), h.draws},
        {QStringLiteral("testsRun"), r.testsRun()},
        {QStringLiteral("uniformity"), uniformityJson(h.mains, r.member(FamilyTest::Mains))},
        {QStringLiteral("bonusUniformity"), uniformityJson(h.bonuses, r.member(FamilyTest::Bonuses))},
        {QStringLiteral("numbers"), numbers},
        {QStringLiteral("sum"), sum},
        {QStringLiteral("odd"), lawJson(h.odd, r.member(FamilyTest::Odd))},
        {QStringLiteral("low"), lawJson(h.low, r.member(FamilyTest::Low))},
        {QStringLiteral("consecutive"),
         QJsonObject{{QStringLiteral("observed"), h.consecutive.observed},
                     {QStringLiteral("expected"), h.consecutive.expected},
                     {QStringLiteral("probability"), h.consecutive.probability},
                     {QStringLiteral("p"), orNull(h.consecutive.p)},
                     {QStringLiteral("pHolm"), orNull(r.member(FamilyTest::Consecutive).pHolm)}}},
        {QStringLiteral("prediction"),
         QJsonObject{{QStringLiteral("draws"), r.testedDraws},
                     {QStringLiteral("single"), single},
                     {QStringLiteral("multiple"), multiple}}},
    };
}

}  // namespace mirkano::stats
