// The sheets and lines that report a wheel.

#include "core/wheel/wheel_report.h"

#include "core/check/ticket_check.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>

namespace mirkano {

namespace {

QString yen(std::uint64_t n) { return QLocale(QLocale::English).toString(qulonglong(n)) + QStringLiteral("円"); }

void header(Sheet& s, int columns)
{
    s.setColors({1, 1, columns, 1}, colors::black, colors::lightRed);
    s.setBorder({1, 1, columns, s.rows()}, BorderAll, colors::gridLine);
    s.setActiveCell(0, 0);
}

}  // namespace

QString percentText(double p)
{
    const double percent = 100 * p;
    if (percent == 0)
        return QStringLiteral("0%");
    if (percent >= 0.01)
        return QString::number(percent, 'f', 4) + u'%';
    // Three significant digits of a small chance.
    const int digits = std::clamp(2 - int(std::floor(std::log10(percent))), 4, 14);
    return QString::number(percent, 'f', digits) + u'%';
}

Sheet buildWheelTicketSheet(const Wheel& wheel)
{
    const Game& g = game(wheel.input.game);
    const int columns = 1 + g.mains;
    const int rows = 1 + int(wheel.tickets.size());
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 20,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1, .columnWidth = 4, .rowHeight = 10});
    s.setColumnWidth(1, 5);
    header(s, columns);
    s.setText(1, 1, QStringLiteral("番号"));
    for (int i = 1; i <= g.mains; ++i)
        s.setText(1 + i, 1, QStringLiteral("数字%1").arg(i));
    for (std::size_t r = 0; r < wheel.tickets.size(); ++r) {
        const int row = 2 + int(r);
        s.setText(1, row, int(r) + 1);
        s.setColors(Block::cell(1, row), colors::black, colors::lightYellow);
        for (std::size_t i = 0; i < wheel.tickets[r].size(); ++i) {
            const int n = wheel.tickets[r][i];
            s.setText(2 + int(i), row, n);
            if (std::binary_search(wheel.input.keys.begin(), wheel.input.keys.end(), n))
                s.setColors(Block::cell(2 + int(i), row), colors::black, colors::lightCyan);
        }
    }
    return s;
}

WheelOdds wheelOdds(const Wheel& wheel)
{
    const Game& g = game(wheel.input.game);
    const WheelChances c = wheelChances(g, wheel.tickets);
    WheelOdds odds;
    for (int k = 1; k <= g.prizeClassCount(); ++k)
        odds.set.push_back(c.classChance(k));
    odds.set.push_back(c.noneChance());
    odds.random = randomTicketChances(g, wheel.tickets.size());
    return odds;
}

Sheet buildWheelOddsSheet(GameId id, const WheelOdds& odds)
{
    const Game& g = game(id);
    const int rows = 2 + g.prizeClassCount();
    Sheet s;
    s.setUp({.columns = 3, .rows = rows, .visibleColumns = 3, .visibleRows = rows, .scrollBars = ScrollBars::None,
             .frozenRows = 1, .frozenColumns = 1, .columnWidth = 14, .rowHeight = 10});
    s.setColumnWidth(1, 6);
    s.setColumnWidth(3, 20);
    header(s, 3);
    s.setText(1, 1, QStringLiteral("等級"));
    s.setText(2, 1, QStringLiteral("この組合せ"));
    s.setText(3, 1, QStringLiteral("同じ枚数をランダムに購入"));
    for (int r = 0; r + 2 <= rows; ++r) {
        const bool none = r == g.prizeClassCount();
        s.setText(1, 2 + r, none ? QStringLiteral("はずれ") : QStringLiteral("%1等").arg(r + 1));
        s.setColors(Block::cell(1, 2 + r), colors::black, colors::lightYellow);
        if (std::size_t(r) < odds.set.size())
            s.setText(2, 2 + r, percentText(odds.set[std::size_t(r)]));
        if (std::size_t(r) < odds.random.size())
            s.setText(3, 2 + r, percentText(odds.random[std::size_t(r)]));
        s.setHAlign({2, 2 + r, 3, 2 + r}, HAlign::Right);
    }
    return s;
}

WheelHistoryCheck checkWheelAgainstHistory(const Wheel& wheel, const History& history)
{
    const Game& g = game(wheel.input.game);
    WheelHistoryCheck out;
    out.draws.assign(std::size_t(g.prizeClassCount()), 0);
    out.tickets.assign(std::size_t(g.prizeClassCount()), 0);
    // The best class of each draw over the tickets, by draw number.
    std::map<int, int> best;
    for (const std::vector<int>& t : wheel.tickets) {
        const TicketCheck r = checkTicket(history, t, wheel.input.game);
        out.drawsChecked = r.drawsChecked;
        for (const TicketWin& w : r.wins) {
            ++out.tickets[std::size_t(w.prizeClass - 1)];
            auto [it, added] = best.emplace(w.draw.drawNo, w.prizeClass);
            if (!added)
                it->second = std::min(it->second, w.prizeClass);
        }
    }
    for (const auto& [draw, c] : best)
        ++out.draws[std::size_t(c - 1)];
    return out;
}

Sheet buildWheelHistorySheet(GameId id, const WheelHistoryCheck& check)
{
    const Game& g = game(id);
    const int rows = 1 + g.prizeClassCount();
    Sheet s;
    s.setUp({.columns = 3, .rows = rows, .visibleColumns = 3, .visibleRows = rows, .scrollBars = ScrollBars::None,
             .frozenRows = 1, .frozenColumns = 1, .columnWidth = 14, .rowHeight = 10});
    s.setColumnWidth(1, 6);
    header(s, 3);
    s.setText(1, 1, QStringLiteral("等級"));
    s.setText(2, 1, QStringLiteral("当選した回"));
    s.setText(3, 1, QStringLiteral("当選した券"));
    for (int c = 1; c <= g.prizeClassCount(); ++c) {
        s.setText(1, 1 + c, QStringLiteral("%1等").arg(c));
        s.setColors(Block::cell(1, 1 + c), colors::black, colors::lightYellow);
        s.setText(2, 1 + c, check.draws.empty() ? 0 : check.draws[std::size_t(c - 1)]);
        s.setText(3, 1 + c, check.tickets.empty() ? 0 : check.tickets[std::size_t(c - 1)]);
        s.setHAlign({2, 1 + c, 3, 1 + c}, HAlign::Right);
    }
    return s;
}

QStringList wheelSummaryLines(const Wheel& wheel)
{
    const Game& g = game(wheel.input.game);
    QStringList numbers, keys;
    for (int n : wheel.input.numbers)
        numbers << QString::number(n);
    for (int n : wheel.input.keys)
        keys << QString::number(n);
    QStringList lines;
    lines << QStringLiteral("%1　選んだ数字（%2 個）：%3").arg(g.name.toString()).arg(numbers.size()).arg(numbers.join(u','));
    if (!keys.isEmpty())
        lines << QStringLiteral("キー数字（すべての券に入ります）：%1").arg(keys.join(u','));
    lines << QStringLiteral("保証：%1（全通り確認済み）").arg(guaranteeText(wheel.input));
    lines << QStringLiteral("券 %1 枚　%2　（下限 %3 枚%4）")
                 .arg(wheel.tickets.size())
                 .arg(yen(wheel.cost()))
                 .arg(wheel.lowerBound)
                 .arg(wheel.tickets.size() == wheel.lowerBound ? QStringLiteral("、最少") : QString());
    if (!wheel.design.isEmpty())
        lines << QStringLiteral("厳密な設計 %1：%2").arg(wheel.design, wheel.designSource);
    if (!wheel.searchComplete)
        lines << QStringLiteral("時間の上限で探索を打ち切りました（時間を延ばすと枚数が減ることがあります）");
    return lines;
}

}  // namespace mirkano
