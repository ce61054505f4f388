#include "core/money/winnings.h"

#include "core/money/random_ticket.h"

#include <algorithm>
#include <cmath>

namespace mirkano {

std::optional<double> Winnings::returnRate() const
{
    return cost > 0 ? std::optional(double(won) / double(cost)) : std::nullopt;
}

std::optional<double> Winnings::expectedRate() const
{
    return cost > 0 ? std::optional(expected / double(cost)) : std::nullopt;
}

std::optional<Yen> winPrize(const PrizeTable& prizes, int drawNo, int prizeClass)
{
    const DrawPrizes* p = findPrizes(prizes, drawNo);
    if (!p)
        return std::nullopt;
    const std::optional<Yen> prize = p->prizeOf(prizeClass);
    if (!prize || *prize <= 0)
        return std::nullopt;
    return prize;
}

WinningsTally::WinningsTally(GameId game, const PrizeTable& prizes) : m_game(mirkano::game(game)), m_prizes(prizes) {}

std::optional<Yen> WinningsTally::add(int drawNo, int prizeClass)
{
    const std::optional<Yen> prize = prizeClass > 0 ? winPrize(m_prizes, drawNo, prizeClass) : std::nullopt;
    const DrawPrizes* p = findPrizes(m_prizes, drawNo);
    const std::optional<double> value = p ? randomTicketValue(m_game, *p) : std::nullopt;
    if (!value) {
        m_w.unpriced.push_back(drawNo);
        return prize;
    }
    ++m_w.draws;
    m_w.cost += m_game.price;
    m_w.expected += *value;
    if (prize)
        m_w.won += *prize;
    else if (prizeClass > 0)
        ++m_w.unknownWins;
    return prize;
}

Winnings WinningsTally::result() const
{
    Winnings w = m_w;
    std::sort(w.unpriced.begin(), w.unpriced.end());
    w.unpriced.erase(std::unique(w.unpriced.begin(), w.unpriced.end()), w.unpriced.end());
    return w;
}

QString yenText(Yen yen)
{
    QString digits = QString::number(yen < 0 ? -yen : yen);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return (yen < 0 ? QStringLiteral("-") : QString()) + digits + QStringLiteral("円");
}

QString drawListText(const std::vector<int>& ascending)
{
    // A history with prize data here and there would make a line of
    // hundreds of runs: the first ones are named, the rest counted.
    constexpr int kRunsNamed = 8;
    QStringList runs;
    int more = 0;
    for (std::size_t i = 0; i < ascending.size();) {
        if (runs.size() == kRunsNamed) {
            more = int(ascending.size() - i);
            break;
        }
        std::size_t end = i + 1;
        while (end < ascending.size() && ascending[end] == ascending[end - 1] + 1)
            ++end;
        runs << (end - i == 1 ? QStringLiteral("第%1回").arg(ascending[i])
                              : QStringLiteral("第%1回～第%2回").arg(ascending[i]).arg(ascending[end - 1]));
        i = end;
    }
    const QString named = runs.join(u'、');
    return more > 0 ? named + QStringLiteral("ほか%1回").arg(more) : named;
}

namespace {

QString percentText(double rate)
{
    return QString::number(rate * 100, 'f', 1) + QStringLiteral("％");
}

}  // namespace

QStringList winningsLines(const Winnings& w, const QString& tickets)
{
    QStringList lines;
    if (w.draws == 0) {
        lines << QStringLiteral("金額：賞金データのある回がないため、金額では比べられません");
    } else {
        lines << QStringLiteral("金額（賞金データのある%1回、%2）：購入額 %3　当選金 %4（還元率 %5）")
                     .arg(w.draws)
                     .arg(tickets, yenText(w.cost), yenText(w.won), percentText(*w.returnRate()));
        lines << QStringLiteral("　同じ回に無作為な数字を1口ずつ買った場合の期待値 %1（還元率 %2）")
                     .arg(yenText(Yen(std::llround(w.expected))), percentText(*w.expectedRate()));
    }
    if (!w.unpriced.empty())
        lines << QStringLiteral("　賞金データのない%1回は金額に含めていません：%2")
                     .arg(w.unpriced.size())
                     .arg(drawListText(w.unpriced));
    if (w.unknownWins > 0)
        lines << QStringLiteral("　該当者のいなかった等級での当選%1回は、賞金が決まらないため当選金に含めていません")
                     .arg(w.unknownWins);
    return lines;
}

}  // namespace mirkano
