#include "core/backtest/backtest.h"

#include "core/check/ticket_check.h"

#include <algorithm>
#include <cmath>

namespace mirkano {

namespace {

void add(MatchOdds& sum, const MatchOdds& p)
{
    for (std::size_t k = 0; k < sum.size(); ++k)
        sum[k] += p[k];
}

// The best ticket of k numbers a prediction makes (every matched main number,
// and a matched bonus where it lifts the class), and the chance of each class
// for as many random numbers; a prediction of fewer than k numbers makes no
// ticket.
void tallyClasses(const Game& g, const DrawMatch& h, ClassCounts& counts, ClassExpectation& expected)
{
    if (h.picks < g.mains)
        return;
    const int m = std::min(h.matches, g.mains);
    int best = 0;
    for (int b = 0; b <= std::min(h.bonusMatches, g.mains - m); ++b)
        if (const int c = g.prizeClassOf(m, b); c != 0 && (best == 0 || c < best))
            best = c;
    if (best != 0)
        ++counts[std::size_t(best)];
    const auto odds = bestClassProbabilities(h.picks, g.id);
    for (std::size_t c = 1; c < odds.size(); ++c)
        expected[c] += odds[c];
}

}  // namespace

QString expectedCountText(double x)
{
    if (!(x > 0))
        return QStringLiteral("0");
    if (x >= 10)
        return QString::number(x, 'f', 1);
    if (x >= 0.01)
        return QString::number(x, 'f', 2);
    // Small values in plain decimals with two significant digits, so that a
    // chance of one in millions reads as 0.00000016, neither as zero nor in
    // exponent notation. The decimals are counted after the rounding, so
    // that 0.0000996 reads 0.00010.
    const double rounded = QString::number(x, 'g', 2).toDouble();
    const int decimals = 1 - int(std::floor(std::log10(rounded)));
    return QString::number(rounded, 'f', decimals);
}

int defaultBacktestStart(const ReflectFlags& flags)
{
    return flags.offset() + kBlockDraws + 2;
}

BacktestResult runBacktest(const History& history, const ReflectFlags& flags, std::optional<int> from,
                           const std::function<void(const BacktestStep&)>& onStep)
{
    return runBacktest(history, GameId::Loto6, flags, from, onStep);
}

BacktestResult runBacktest(const History& history, GameId game, const ReflectFlags& flags,
                           std::optional<int> from, const std::function<void(const BacktestStep&)>& onStep)
{
    BacktestResult r;
    r.gameId = game;
    const Game& g = r.game();
    r.flags = flags;
    r.from = from.value_or(defaultBacktestStart(flags));
    const std::size_t matchCells = std::size_t(g.mains) + 1;
    const std::size_t classCells = std::size_t(g.prizeClassCount()) + 1;
    r.single.assign(matchCells, 0);
    r.multiple.assign(matchCells, 0);
    r.expectedSingle.assign(matchCells, 0.0);
    r.expectedMultiple.assign(matchCells, 0.0);
    r.singleClasses.assign(classCells, 0);
    r.multipleClasses.assign(classCells, 0);
    r.expectedSingleClasses.assign(classCells, 0.0);
    r.expectedMultipleClasses.assign(classCells, 0.0);

    // The draws the engine's table would hold, in 回数 order; a repeated 回数
    // keeps history order, so the later row wins as it does in the engine.
    std::vector<const DrawRecord*> rows;
    for (const DrawRecord& d : history)
        if (d.gameId == game && d.complete() && d.drawNo >= 0 && d.drawNo <= kMaxDrawNo)
            rows.push_back(&d);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const DrawRecord* a, const DrawRecord* b) { return a->drawNo < b->drawNo; });

    // The table starts empty and takes each draw once the draws that are
    // tested against it have been passed: while draw t is tested it holds
    // exactly the draws below t, as buildPeriodTables would build them from
    // the history before t. The prediction reads only the draw table, so the
    // period cells are not kept up.
    PeriodTables tables;
    tables.gameId = game;
    tables.draws.assign(rows.empty() ? 1 : std::size_t(rows.back()->drawNo) + 1, {});
    int latest = 0;
    MatchOdds sumSingle(matchCells), sumMultiple(matchCells);
    for (std::size_t i = 0; i < rows.size();) {
        const int t = rows[i]->drawNo;
        std::size_t end = i;
        while (end < rows.size() && rows[end]->drawNo == t)
            ++end;
        if (t >= r.from) {
            const Predictions p = predict(tables, latest, flags);
            for (std::size_t k = i; k < end; ++k) {
                const DrawRecord& d = *rows[k];
                const DrawMatch single = matchDraw(d, p.single);
                const DrawMatch multiple = matchDraw(d, p.multiple);
                if (r.draws++ == 0)
                    r.from = t;
                r.to = t;
                ++r.single[std::size_t(single.matches)];
                ++r.multiple[std::size_t(multiple.matches)];
                add(sumSingle, matchProbabilities(single.picks, game));
                add(sumMultiple, matchProbabilities(multiple.picks, game));
                tallyClasses(g, single, r.singleClasses, r.expectedSingleClasses);
                tallyClasses(g, multiple, r.multipleClasses, r.expectedMultipleClasses);
                if (onStep)
                    onStep({d, latest, p, single.matches, multiple.matches});
            }
        }
        for (std::size_t k = i; k < end; ++k)
            for (int pos = 0; pos < g.numbersPerDraw(); ++pos)
                tables.draws[std::size_t(t)][std::size_t(pos)] = std::uint8_t(rows[k]->numbers[std::size_t(pos)]);
        latest = t;
        i = end;
    }
    if (r.draws > 0)
        for (std::size_t k = 0; k < sumSingle.size(); ++k) {
            r.expectedSingle[k] = sumSingle[k] / r.draws;
            r.expectedMultiple[k] = sumMultiple[k] / r.draws;
        }
    return r;
}

BacktestResult runBacktest(const History& history, GameId game, const ReflectFlags& flags, const PrizeTable& prizes,
                           std::optional<int> from)
{
    if (prizes.empty())
        return runBacktest(history, game, flags, from);
    const Game& g = mirkano::game(game);
    WinningsTally money(game, prizes);
    int tickets = 0;
    BacktestResult r = runBacktest(history, game, flags, from, [&](const BacktestStep& step) {
        // Only a prediction of the game's count of numbers is a ticket.
        const DrawMatch m = matchDraw(step.draw, step.predictions.single);
        if (m.picks != g.mains)
            return;
        ++tickets;
        money.add(step.draw.drawNo, g.prizeClassOf(m.matches, m.bonusMatches));
    });
    r.ticketDraws = tickets;
    r.money = money.result();
    return r;
}

Sheet buildBacktestSheet(const BacktestResult& r)
{
    // Loto 6: 0 … 6 matches in rows 3 … 9, 等級 in row 10, 1等 … 5等 in
    // rows 11 … 15, 検証回数 in row 16; other games as many rows as they
    // have matches and classes.
    const Game& g = r.game();
    constexpr int kColumns = 5;
    constexpr int kMatchRow = 3;
    const int classHeader = kMatchRow + g.mains + 1;
    const int classRow = classHeader + 1;
    const int totalRow = classRow + g.prizeClassCount();

    Sheet s;
    s.setUp({.columns = kColumns, .rows = totalRow, .visibleColumns = kColumns, .visibleRows = totalRow,
             .scrollBars = ScrollBars::None, .frozenRows = 2, .frozenColumns = 1,
             .columnWidth = 10, .rowHeight = 12});
    s.setBorder({1, 1, kColumns, totalRow}, BorderAll, colors::gridLine);
    s.setColors({1, 1, 1, totalRow}, colors::blue, colors::lightYellow);
    for (int row : {1, 2, classHeader})
        s.setColors({1, row, kColumns, row}, colors::black, colors::lightRed);
    s.setActiveCell(0, 0);

    s.setText(2, 1, QStringLiteral("１発予想"));
    s.setText(4, 1, QStringLiteral("連発予想"));
    for (int c : {2, 4}) {
        // Each prediction's title reads as one cell over its two columns.
        s.setText(c + 1, 1, QString());
        s.clearBorder({c, 1, c + 1, 1}, BorderLeft | BorderRight);
        s.setBorder({c, 1, c + 1, 1}, BorderOutline, colors::gridLine);
        s.setHAlign(Block::cell(c, 1), HAlign::Right);
    }
    s.setAllowOverflow(true);
    const QStringList sub = {QStringLiteral("回数"), QStringLiteral("期待回数"), QStringLiteral("回数"),
                             QStringLiteral("期待回数")};
    s.setText(1, 2, QStringLiteral("一致数"));
    s.setText(1, classHeader, QStringLiteral("等級"));
    for (int c = 0; c < 4; ++c) {
        s.setText(c + 2, 2, sub[c]);
        s.setText(c + 2, classHeader, sub[c]);
    }

    for (int k = 0; k <= g.mains; ++k) {
        const int row = kMatchRow + k;
        s.setText(1, row, QStringLiteral("%1個").arg(k));
        s.setText(2, row, r.single[std::size_t(k)]);
        s.setText(3, row, expectedCountText(r.expectedSingle[std::size_t(k)] * r.draws));
        s.setText(4, row, r.multiple[std::size_t(k)]);
        s.setText(5, row, expectedCountText(r.expectedMultiple[std::size_t(k)] * r.draws));
    }
    for (int c = 1; c <= g.prizeClassCount(); ++c) {
        const int row = classRow + c - 1;
        s.setText(1, row, QStringLiteral("%1等").arg(c));
        s.setText(2, row, r.singleClasses[std::size_t(c)]);
        s.setText(3, row, expectedCountText(r.expectedSingleClasses[std::size_t(c)]));
        s.setText(4, row, r.multipleClasses[std::size_t(c)]);
        s.setText(5, row, expectedCountText(r.expectedMultipleClasses[std::size_t(c)]));
    }
    // An expected column is as wide as its longest figure (the chance of a
    // first prize over a few draws takes eleven characters).
    for (int c : {3, 5}) {
        double longest = 0;
        for (int row = kMatchRow; row < totalRow; ++row)
            longest = std::max(longest, double(s.text(c, row).size()));
        if (longest + 1 > s.columnWidth(c))
            s.setColumnWidth(c, longest + 1);
    }
    s.setText(1, totalRow, QStringLiteral("検証回数"));
    s.setText(2, totalRow, r.draws);
    s.setText(4, totalRow, r.draws);
    return s;
}

QString backtestSummary(const BacktestResult& r)
{
    const QString options = QStringLiteral("反映オプションの合計 %1").arg(r.flags.offset());
    if (r.draws == 0)
        return options + QStringLiteral("　第%1回以降に検証できる回がありません").arg(r.from);
    return options + QStringLiteral("　第%1回～第%2回の%3回を検証").arg(r.from).arg(r.to).arg(r.draws);
}

QStringList backtestMoneyLines(const BacktestResult& r)
{
    if (!r.money)
        return {};
    const QString tickets = QStringLiteral("１発予想を各回1口");
    QStringList lines{QStringLiteral("１発予想が%1個そろい1口として買えた回：検証した%2回のうち%3回")
                          .arg(r.game().mains)
                          .arg(r.draws)
                          .arg(r.ticketDraws)};
    return lines + winningsLines(*r.money, tickets);
}

}  // namespace mirkano
