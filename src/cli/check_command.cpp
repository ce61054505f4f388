// The check command: one ticket held against the whole history, as JSON.

#include "cli/cli.h"

#include "core/check/ticket_check.h"
#include "core/history/history_store.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirkano::cli {

int runCheck(const Args& a, Streams& s)
{
    const QString db = a.required("db");
    // The game names how many numbers a ticket has: --game, else the file's
    // (read from the file's record only), else Loto 6.
    const GameId gameId = commandGame(a, db);
    const Game& g = game(gameId);
    if (a.positional.size() != 1) {
        QStringList example;
        for (int n = 1; n <= g.mains; ++n)
            example << QString::number(n);
        throw UsageError{QStringLiteral("%1 つの数字をコンマで区切って 1 つの引数で指定してください（例：%2）")
                             .arg(g.mains)
                             .arg(example.join(QLatin1Char(',')))};
    }
    // The ticket is checked before the draws are read: a bad ticket is the
    // caller's mistake whatever the file holds.
    Ticket ticket;
    try {
        ticket = parseTicket(a.positional.first(), gameId);
    } catch (const TicketError& e) {
        throw UsageError{e.message()};
    }
    const PricedHistory h = loadPricedHistory(a, db);
    const TicketCheck r = checkTicket(h.rows, ticket, h.game, h.prizes);

    QJsonArray numbers;
    for (int n : r.ticket)
        numbers.append(n);
    QJsonArray wins;
    for (const TicketWin& w : r.wins) {
        QJsonObject win{{QStringLiteral("draw"), w.draw.drawNo},
                        {QStringLiteral("class"), w.prizeClass},
                        {QStringLiteral("matches"), w.matches},
                        {QStringLiteral("bonus"), w.bonusMatches > 0}};
        // With two bonus numbers (Loto 7) how many of them the ticket held.
        if (g.bonuses > 1)
            win.insert(QStringLiteral("bonusMatches"), w.bonusMatches);
        // With prize data: the yen the ticket received, null where unknown.
        if (r.money)
            win.insert(QStringLiteral("prize"), w.prize ? QJsonValue(qint64(*w.prize)) : QJsonValue());
        wins.append(win);
    }
    QJsonObject counts;
    for (int c = 1; c <= g.prizeClassCount(); ++c)
        counts.insert(QString::number(c), r.count(c));
    QJsonObject out{{QStringLiteral("ticket"), numbers},
                    {QStringLiteral("wins"), wins},
                    {QStringLiteral("counts"), counts}};
    if (r.money)
        out.insert(QStringLiteral("money"), moneyJson(*r.money, r.drawsChecked));
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
