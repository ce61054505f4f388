#include "core/check/ticket_check.h"

#include <algorithm>
#include <array>

namespace mirkano {

namespace {

// The columns of the result: 回数, the main numbers, the bonus numbers, 一致, 等級.
struct CheckColumns {
    int firstBonus, matches, prizeClass;
    explicit CheckColumns(const Game& g)
        : firstBonus(2 + g.mains), matches(2 + g.mains + g.bonuses), prizeClass(3 + g.mains + g.bonuses)
    {
    }
};

// A number of a ticket or of a draw of the game, as a table index.
bool inPool(const Game& g, int n) { return n >= 1 && n <= g.pool; }

}  // namespace

Ticket parseTicket(const QStringList& entries, GameId gameId)
{
    const Game& g = game(gameId);
    if (entries.size() != g.mains)
        throw TicketError(QStringLiteral("数字を%1個入力してください（入力された数字は%2個です）。")
                              .arg(g.mains)
                              .arg(entries.size()));
    Ticket t;
    t.reserve(std::size_t(g.mains));
    for (int i = 0; i < g.mains; ++i) {
        // Full-width digits read as their ASCII forms.
        const QString entry = entries[i].normalized(QString::NormalizationForm_KC).trimmed();
        if (entry.isEmpty())
            throw TicketError(QStringLiteral("%1番目の数字が入力されていません。").arg(i + 1));
        bool ok = false;
        const int n = entry.toInt(&ok);
        if (!ok)
            throw TicketError(QStringLiteral("%1番目の「%2」は数字ではありません。").arg(i + 1).arg(echoed(entries[i].trimmed())));
        if (!inPool(g, n))
            throw TicketError(QStringLiteral("%1番目の数字 %2 が 1～%3 の範囲外です。").arg(i + 1).arg(n).arg(g.pool));
        for (int j = 0; j < i; ++j)
            if (t[std::size_t(j)] == n)
                throw TicketError(QStringLiteral("数字 %1 が重複しています（%2番目と%3番目）。").arg(n).arg(j + 1).arg(i + 1));
        t.push_back(n);
    }
    std::sort(t.begin(), t.end());
    return t;
}

Ticket parseTicket(const QString& text, GameId gameId)
{
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (plain.isEmpty())
        throw TicketError(QStringLiteral("数字を%1個入力してください（入力された数字は0個です）。").arg(game(gameId).mains));
    return parseTicket(plain.split(QLatin1Char(',')), gameId);
}

DrawMatch matchDraw(const DrawRecord& draw, std::span<const int> picks)
{
    const Game& g = draw.facts();
    // Each number counts once, even if a damaged row repeats it.
    std::array<bool, kMaxPool + 1> isMain{}, isBonus{};
    for (int n : draw.mains())
        if (inPool(g, n))
            isMain[std::size_t(n)] = true;
    for (int n : draw.bonuses())
        if (inPool(g, n))
            isBonus[std::size_t(n)] = true;
    std::array<bool, kMaxPool + 1> seen{};
    DrawMatch m;
    for (int n : picks) {
        if (!inPool(g, n) || seen[std::size_t(n)])
            continue;
        seen[std::size_t(n)] = true;
        ++m.picks;
        // A bonus only counts for a pick the main numbers missed.
        if (isMain[std::size_t(n)])
            ++m.matches;
        else if (isBonus[std::size_t(n)])
            ++m.bonusMatches;
    }
    return m;
}

TicketCheck checkTicket(const History& history, const Ticket& ticket, GameId gameId)
{
    return checkTicket(history, ticket, gameId, PrizeTable{});
}

TicketCheck checkTicket(const History& history, const Ticket& ticket, GameId gameId, const PrizeTable& prizes)
{
    TicketCheck r;
    r.gameId = gameId;
    r.ticket = ticket;
    const Game& g = r.game();
    r.counts.assign(std::size_t(g.prizeClassCount()) + 1, 0);
    std::optional<WinningsTally> money;
    if (!prizes.empty())
        money.emplace(gameId, prizes);
    for (const DrawRecord& d : history) {
        if (d.gameId != gameId || !d.complete())
            continue;
        ++r.drawsChecked;
        const DrawMatch m = matchDraw(d, ticket);
        const int cls = g.prizeClassOf(m.matches, m.bonusMatches);
        const std::optional<Yen> prize = money ? money->add(d.drawNo, cls) : std::nullopt;
        if (cls == 0)
            continue;
        r.wins.push_back({d, cls, m.matches, m.bonusMatches, prize});
        ++r.counts[std::size_t(cls)];
    }
    if (money)
        r.money = money->result();
    std::stable_sort(r.wins.begin(), r.wins.end(),
                     [](const TicketWin& a, const TicketWin& b) { return a.draw.drawNo > b.draw.drawNo; });
    return r;
}

Sheet buildTicketCheckSheet(const TicketCheck& result)
{
    const Game& g = result.game();
    const CheckColumns col(g);
    const bool inYen = result.money.has_value();
    const int prizeColumn = col.prizeClass + 1;
    const int columns = inYen ? prizeColumn : col.prizeClass;
    const int rows = 1 + int(result.wins.size());

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 30,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 5, .rowHeight = 10});
    s.setColumnWidth(1, 7);
    // ボーナス数字 takes six full-width characters; ボーナス数字1 one more digit.
    for (int b = 0; b < g.bonuses; ++b)
        s.setColumnWidth(col.firstBonus + b, g.bonuses == 1 ? 9 : 10);
    s.setRowHeight(1, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, columns, rows}, BorderAll, colors::gridLine);
    s.setActiveCell(0, 0);

    // The main-number headers read as one title cell underlined as a whole;
    // the title stands in the middle of the band (Loto 6: column 3 and six
    // spaces; each column more or less moves it by half a column).
    const int lastMain = 1 + g.mains;
    s.clearBorder({2, 1, lastMain, 1});
    s.setBorder({2, 1, lastMain, 1}, BorderBottom, colors::gridLine);
    s.setColors({1, 1, columns, 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(3, 1, QString((5 * g.mains - 18) / 2, QLatin1Char(' ')) + QStringLiteral("本 数 字"));
    s.setHAlign(Block::cell(3, 1), HAlign::Left);
    for (int b = 0; b < g.bonuses; ++b)
        s.setText(col.firstBonus + b, 1,
                  g.bonuses == 1 ? QStringLiteral("ボーナス数字") : QStringLiteral("ボーナス数字%1").arg(b + 1));
    s.setText(col.matches, 1, QStringLiteral("一致"));
    s.setText(col.prizeClass, 1, QStringLiteral("等級"));
    if (inYen) {
        // Wide enough for a first prize of hundreds of millions of yen.
        s.setColumnWidth(prizeColumn, 14);
        s.setText(prizeColumn, 1, QStringLiteral("賞金"));
    }

    std::array<bool, kMaxPool + 1> held{};
    for (int n : result.ticket)
        if (inPool(g, n))
            held[std::size_t(n)] = true;

    int row = 2;
    for (const TicketWin& w : result.wins) {
        s.setText(1, row, w.draw.drawNo);
        std::array<bool, kMaxPool + 1> isMain{};
        for (int i = 0; i < g.mains; ++i) {
            const int n = w.draw.main(i);
            isMain[std::size_t(n)] = true;
            s.setText(i + 2, row, n);
            if (held[std::size_t(n)])
                s.setBackground(Block::cell(i + 2, row), kMatchedMain);
        }
        // A bonus is marked when it counted: held, and not also a main number.
        for (int b = 0; b < g.bonuses; ++b) {
            const int n = w.draw.bonus(b);
            s.setText(col.firstBonus + b, row, n);
            if (held[std::size_t(n)] && !isMain[std::size_t(n)])
                s.setBackground(Block::cell(col.firstBonus + b, row), kMatchedBonus);
        }
        s.setText(col.matches, row, w.matches);
        s.setText(col.prizeClass, row, QStringLiteral("%1等").arg(w.prizeClass));
        if (w.prizeClass <= 2)
            s.setForeground(Block::cell(col.prizeClass, row), colors::red);
        if (inYen) {
            s.setText(prizeColumn, row, w.prize ? yenText(*w.prize) : QStringLiteral("不明"));
            s.setHAlign(Block::cell(prizeColumn, row), HAlign::Right);
        }
        ++row;
    }
    return s;
}

QString ticketCheckSummary(const TicketCheck& result)
{
    QStringList classes;
    for (int c = 1; c <= result.game().prizeClassCount(); ++c)
        classes << QStringLiteral("%1等 %2回").arg(c).arg(result.count(c));
    QString line = QStringLiteral("全%1回中　").arg(result.drawsChecked) + classes.join(QStringLiteral("　"));
    if (result.money)
        line += u'\n' + winningsLines(*result.money, QStringLiteral("この数字を各回1口")).join(u'\n');
    return line;
}

}  // namespace mirkano
