// The backtest command: how the predictions would have fared on every draw
// of the history, beside the exact expectation for random picks, as JSON.

#include "cli/cli.h"

#include "core/backtest/backtest.h"
#include "core/history/history_store.h"

#include <QJsonArray>
#include <QJsonObject>


namespace mirkano::cli {

namespace {

std::optional<int> parseFrom(const Args& a)
{
    if (!a.has("from"))
        return std::nullopt;
    const QString text = a.optional("from");
    const std::optional<int> n = parseDigits(text);
    if (!n || *n < 1 || *n > kMaxDrawNo)
        throw UsageError{QStringLiteral("--from の「%1」は 1～%2 の回数ではありません").arg(echoed(text)).arg(kMaxDrawNo)};
    return n;
}

template <typename Array>
QJsonArray toJson(const Array& values)
{
    QJsonArray out;
    for (auto v : values)
        out.append(v);
    return out;
}

}  // namespace

int runBacktest(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    const ReflectFlags flags = parseReflect(a.optional("reflect"));
    const std::optional<int> from = parseFrom(a);
    const PricedHistory h = loadPricedHistory(a, db);
    const BacktestResult r = runBacktest(h.rows, h.game, flags, h.prizes, from);
    QJsonObject out{{QStringLiteral("from"), r.from},
                    {QStringLiteral("draws"), r.draws},
                    {QStringLiteral("single"), toJson(r.single)},
                    {QStringLiteral("multiple"), toJson(r.multiple)},
                    {QStringLiteral("expectedSingle"), toJson(r.expectedSingle)},
                    {QStringLiteral("expectedMultiple"), toJson(r.expectedMultiple)}};
    // With prize data: the single prediction bought in each draw where it
    // holds the game's count of numbers.
    if (r.money)
        out.insert(QStringLiteral("money"), moneyJson(*r.money, r.ticketDraws));
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
