// The value command: per draw with prize data, what the draw paid out per
// ticket sold and what a ticket of random numbers was worth, and the next
// draw's ceiling, as JSON.

#include "cli/cli.h"

#include "core/history/history_store.h"
#include "core/money/ticket_value.h"

#include <QByteArray>

#include <charconv>

#include <cstdio>

namespace mirkano::cli {

namespace {

// The JSON is written as it is made: a whole history's draws built as JSON
// objects first cost twice the rest of the command. Keys stand in the order
// the JSON writer of the other commands gives (sorted), numbers as it writes
// them (the shortest form that reads back the same).
void number(QByteArray& out, double v)
{
    char text[32];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    out.append(text, r.ptr - text);
}
void number(QByteArray& out, qint64 v) { out += QByteArray::number(v); }

void drawJson(QByteArray& out, const DrawValue& v)
{
    out += "{\"carryIn\":";
    number(out, qint64(v.carryIn));
    out += ",\"carryOut\":";
    number(out, qint64(v.carryOut));
    out += ",\"draw\":";
    number(out, qint64(v.drawNo));
    out += ",\"paidOut\":";
    number(out, v.paidOut);
    out += ",\"random\":";
    number(out, v.random);
    out += ",\"ratio\":";
    if (v.ratio)
        number(out, *v.ratio);
    else
        out += "null";
    out += ",\"tickets\":";
    number(out, qint64(v.tickets));
    out += v.ticketsFrom == TicketsFrom::Sales ? ",\"ticketsFrom\":\"sales\"}" : ",\"ticketsFrom\":\"fund\"}";
}

void nextJson(QByteArray& out, const std::optional<NextDrawValue>& n)
{
    if (!n) {
        out += "null";
        return;
    }
    out += "{\"carryIn\":";
    number(out, qint64(n->carryIn));
    out += ",\"ceiling\":";
    number(out, n->ceiling);
    out += ",\"draw\":";
    number(out, qint64(n->drawNo));
    out += n->reachesPrice ? ",\"reachesPrice\":true}" : ",\"reachesPrice\":false}";
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
    QByteArray out;
    out.reserve(qsizetype(r.draws.size()) * 200 + 256);
    out += "{\"draws\":[";
    for (std::size_t i = 0; i < r.draws.size(); ++i) {
        if (i)
            out += ',';
        drawJson(out, r.draws[i]);
    }
    out += "],\"game\":\"" + game(r.game).cliName.toString().toLatin1() + "\",\"next\":";
    nextJson(out, r.next);
    out += ",\"price\":";
    number(out, qint64(r.price));
    out += "}\n";
    writeBytes(s.out, out);
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
