#include "core/check/ticket_check.h"

#include "core/game/game.h"

#include <algorithm>

namespace mirkano {

namespace {

constexpr int kColumns = 10;  // draw number, six main numbers, bonus, matches, class
constexpr int kBonusColumn = 8;
constexpr int kMatchesColumn = 9;
constexpr int kClassColumn = 10;

}  // namespace

Ticket parseTicket(const QStringList& entries)
{
    if (entries.size() != kTicketSize)
        throw TicketError(QStringLiteral("数字を%1個入力してください（入力された数字は%2個です）。")
                              .arg(kTicketSize)
                              .arg(entries.size()));
    Ticket t{};
    for (int i = 0; i < kTicketSize; ++i) {
        // Full-width digits read as their ASCII forms.
        const QString entry = entries[i].normalized(QString::NormalizationForm_KC).trimmed();
        if (entry.isEmpty())
            throw TicketError(QStringLiteral("%1番目の数字が入力されていません。").arg(i + 1));
        bool ok = false;
        const int n = entry.toInt(&ok);
        if (!ok)
            throw TicketError(QStringLiteral("%1番目の「%2」は数字ではありません。").arg(i + 1).arg(echoed(entries[i].trimmed())));
        if (n < 1 || n > kMaxNumber)
            throw TicketError(QStringLiteral("%1番目の数字 %2 が 1～%3 の範囲外です。").arg(i + 1).arg(n).arg(kMaxNumber));
        for (int j = 0; j < i; ++j)
            if (t[std::size_t(j)] == n)
                throw TicketError(QStringLiteral("数字 %1 が重複しています（%2番目と%3番目）。").arg(n).arg(j + 1).arg(i + 1));
        t[std::size_t(i)] = n;
    }
    std::sort(t.begin(), t.end());
    return t;
}

Ticket parseTicket(const QString& text)
{
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (plain.isEmpty())
        throw TicketError(QStringLiteral("数字を%1個入力してください（入力された数字は0個です）。").arg(kTicketSize));
    return parseTicket(plain.split(QLatin1Char(',')));
}

int prizeClass(int matches, bool bonus)
{
    return game(GameId::Loto6).prizeClassOf(matches, bonus ? 1 : 0);
}

DrawMatch matchDraw(const DrawRecord& draw, std::span<const int> picks)
{
    // Each number counts once, even if a damaged row repeats it.
    std::array<bool, kMaxNumber + 1> isMain{};
    for (int i = 0; i < kNumbersPerDraw - 1; ++i)
        isMain[std::size_t(draw.main(i))] = true;
    std::array<bool, kMaxNumber + 1> seen{};
    DrawMatch m;
    for (int n : picks) {
        if (n < 1 || n > kMaxNumber || seen[std::size_t(n)])
            continue;
        seen[std::size_t(n)] = true;
        ++m.picks;
        m.matches += isMain[std::size_t(n)] ? 1 : 0;
        // The bonus only counts for a pick the main numbers missed.
        m.bonus = m.bonus || (n == draw.bonus() && !isMain[std::size_t(n)]);
    }
    return m;
}

TicketCheck checkTicket(const History& history, const Ticket& ticket)
{
    TicketCheck r;
    r.ticket = ticket;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        ++r.drawsChecked;
        const DrawMatch m = matchDraw(d, ticket);
        const int cls = prizeClass(m.matches, m.bonus);
        if (cls == 0)
            continue;
        r.wins.push_back({d, cls, m.matches, m.bonus});
        ++r.counts[std::size_t(cls)];
    }
    std::stable_sort(r.wins.begin(), r.wins.end(),
                     [](const TicketWin& a, const TicketWin& b) { return a.draw.drawNo > b.draw.drawNo; });
    return r;
}

Sheet buildTicketCheckSheet(const TicketCheck& result)
{
    const int rows = 1 + int(result.wins.size());

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 30,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 5, .rowHeight = 10});
    s.setColumnWidth(1, 7);
    s.setColumnWidth(kBonusColumn, 9);
    s.setRowHeight(1, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, kColumns, rows}, BorderAll, colors::gridLine);
    s.setActiveCell(0, 0);

    // The six main-number headers read as one title cell underlined as a whole.
    s.clearBorder({2, 1, 7, 1});
    s.setBorder({2, 1, 7, 1}, BorderBottom, colors::gridLine);
    s.setColors({1, 1, kColumns, 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(3, 1, QStringLiteral("      本 数 字"));
    s.setHAlign(Block::cell(3, 1), HAlign::Left);
    s.setText(kBonusColumn, 1, QStringLiteral("ボーナス数字"));
    s.setText(kMatchesColumn, 1, QStringLiteral("一致"));
    s.setText(kClassColumn, 1, QStringLiteral("等級"));

    std::array<bool, kMaxNumber + 1> held{};
    for (int n : result.ticket)
        held[std::size_t(n)] = true;

    int row = 2;
    for (const TicketWin& w : result.wins) {
        s.setText(1, row, w.draw.drawNo);
        for (int i = 0; i < 6; ++i) {
            const int n = w.draw.main(i);
            s.setText(i + 2, row, n);
            if (held[std::size_t(n)])
                s.setBackground(Block::cell(i + 2, row), kMatchedMain);
        }
        s.setText(kBonusColumn, row, w.draw.bonus());
        if (w.bonus)
            s.setBackground(Block::cell(kBonusColumn, row), kMatchedBonus);
        s.setText(kMatchesColumn, row, w.matches);
        s.setText(kClassColumn, row, QStringLiteral("%1等").arg(w.prizeClass));
        if (w.prizeClass <= 2)
            s.setForeground(Block::cell(kClassColumn, row), colors::red);
        ++row;
    }
    return s;
}

QString ticketCheckSummary(const TicketCheck& result)
{
    QStringList parts;
    for (int c = 1; c <= kPrizeClasses; ++c)
        parts << QStringLiteral("%1等 %2回").arg(c).arg(result.counts[std::size_t(c)]);
    return QStringLiteral("全%1回中　").arg(result.drawsChecked) + parts.join(QStringLiteral("　"));
}

}  // namespace mirkano
