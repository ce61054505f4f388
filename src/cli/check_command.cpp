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
    if (a.positional.size() != 1)
        throw UsageError{QStringLiteral("6 つの数字をコンマで区切って 1 つの引数で指定してください（例：1,2,3,4,5,6）")};
    // The ticket is checked before the file is opened: a bad ticket is the
    // caller's mistake whatever the file holds.
    Ticket ticket{};
    try {
        ticket = parseTicket(a.positional.first());
    } catch (const TicketError& e) {
        throw UsageError{e.message()};
    }
    const TicketCheck r = checkTicket(loadHistory(db), ticket);

    QJsonArray numbers;
    for (int n : r.ticket)
        numbers.append(n);
    QJsonArray wins;
    for (const TicketWin& w : r.wins)
        wins.append(QJsonObject{{QStringLiteral("draw"), w.draw.drawNo},
                                {QStringLiteral("class"), w.prizeClass},
                                {QStringLiteral("matches"), w.matches},
                                {QStringLiteral("bonus"), w.bonus}});
    QJsonObject counts;
    for (int c = 1; c <= kPrizeClasses; ++c)
        counts.insert(QString::number(c), r.counts[std::size_t(c)]);
    const QJsonObject out{{QStringLiteral("ticket"), numbers},
                          {QStringLiteral("wins"), wins},
                          {QStringLiteral("counts"), counts}};
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
