// The value command: per draw with prize data, what the draw paid out per
// ticket sold and what a ticket of random numbers was worth, and the next
// draw's ceiling, as JSON.

#include "cli/cli.h"

#include "core/history/history_store.h"
#include "core/money/ticket_value.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdio>

namespace mirkano::cli {

namespace {

QJsonObject drawJson(const DrawValue& v)
{
    return QJsonObject{
        {QStringLiteral("draw"), v.drawNo},
        {QStringLiteral("paidOut"), v.paidOut},
        {QStringLiteral("random"), v.random},
        {QStringLiteral("ratio"), v.ratio ? QJsonValue(*v.ratio) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("tickets"), qint64(v.tickets)},
        {QStringLiteral("ticketsFrom"), v.ticketsFrom == TicketsFrom::Sales ? QStringLiteral("sales") : QStringLiteral("fund")},
        {QStringLiteral("carryIn"), qint64(v.carryIn)},
        {QStringLiteral("carryOut"), qint64(v.carryOut)},
    };
}

QJsonValue nextJson(const std::optional<NextDrawValue>& n)
{
    if (!n)
        return QJsonValue(QJsonValue::Null);
    return QJsonObject{
        {QStringLiteral("draw"), n->drawNo},
        {QStringLiteral("carryIn"), qint64(n->carryIn)},
        {QStringLiteral("ceiling"), n->ceiling},
        {QStringLiteral("reachesPrice"), n->reachesPrice},
    };
}

}  // namespace

int runValue(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    std::optional<GameId> wanted;
    if (a.has("game"))
        wanted = commandGame(a, db);
    const HistoryReading file = readHistoryFile(db, wanted);
    if (const QString notice = leftOutNotice(db, file.leftOut); !notice.isEmpty())
        std::fprintf(stderr, "mirkano-cli: %s\n", notice.toUtf8().constData());
    const ValueReport r = ticketValues(file.game, file.rows, file.prizes);
    QJsonArray draws;
    for (const DrawValue& v : r.draws)
        draws.append(drawJson(v));
    writeJson(s.out, QJsonObject{{QStringLiteral("game"), game(r.game).cliName.toString()},
                                 {QStringLiteral("price"), r.price},
                                 {QStringLiteral("draws"), draws},
                                 {QStringLiteral("next"), nextJson(r.next)}});
    // Nothing to compute is no failure: the JSON says so by its empty list,
    // and the message says how to get the data.
    if (r.draws.empty())
        writeLine(s.err, QStringLiteral("mirkano-cli: 「%1」には賞金データ（口数と賞金）のある回がありません。"
                                        "賞金の列（1等口数…、1等賞金…、キャリーオーバー）を持つ CSV を "
                                        "import --merge で取り込んでください。")
                             .arg(db));
    else if (r.skipped > 0)
        writeLine(s.err, QStringLiteral("mirkano-cli: 賞金データがそろわない %1回は除きました。").arg(r.skipped));
    return kDone;
}

}  // namespace mirkano::cli
