// The wheel command: a checked wheel for the chosen numbers, keys and
// guarantee, with its cost, lower bound and exact chances, as JSON.

#include "cli/cli.h"

#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_chances.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirkano::cli {

namespace {

QJsonArray numberArray(const std::vector<int>& numbers)
{
    QJsonArray a;
    for (int n : numbers)
        a.append(n);
    return a;
}

QJsonObject chanceObject(const std::vector<double>& byClass, double none)
{
    QJsonObject o;
    for (std::size_t c = 0; c < byClass.size(); ++c)
        o.insert(QString::number(c + 1), byClass[c]);
    o.insert(QStringLiteral("none"), none);
    return o;
}

}  // namespace

int runWheel(const Args& a, Streams& s)
{
    a.noPositional();
    WheelInput in;
    in.game = commandGame(a, QString());
    double seconds = 10;
    try {
        in.numbers = parseWheelNumbers(a.required("numbers"), QStringLiteral("選んだ数字"));
        in.keys = parseWheelNumbers(a.optional("keys"), QStringLiteral("キー数字"));
        const QString guarantee = a.required("guarantee");
        if (guarantee == QLatin1String("full")) {
            in.match = in.drawn = fullWheelMatch(in);
        } else {
            parseGuarantee(guarantee, in.match, in.drawn);
        }
        if (a.has("seconds")) {
            const std::optional<int> n = parseDigits(a.optional("seconds"));
            if (!n || *n < 1 || *n > 3600)
                throw WheelError(QStringLiteral("--seconds「%1」は 1～3600 の秒数で指定してください").arg(echoed(a.optional("seconds"), 20)));
            seconds = *n;
        }
        in = checkedWheelInput(in);
    } catch (const WheelError& e) {
        throw UsageError{e.message()};
    }
    const Wheel w = buildWheel(in, {seconds, {}, {}});
    const Game& g = game(w.input.game);
    const WheelChances set = wheelChances(g, w.tickets);
    std::vector<double> setClasses;
    for (int c = 1; c <= g.prizeClassCount(); ++c)
        setClasses.push_back(set.classChance(c));
    std::vector<double> random = randomTicketChances(g, w.tickets.size());
    const double randomNone = random.back();
    random.pop_back();

    QJsonArray tickets;
    for (const std::vector<int>& t : w.tickets)
        tickets.append(numberArray(t));
    QJsonObject out{{QStringLiteral("game"), g.cliName.toString()},
                    {QStringLiteral("numbers"), numberArray(w.input.numbers)},
                    {QStringLiteral("keys"), numberArray(w.input.keys)},
                    {QStringLiteral("guarantee"), QJsonObject{{QStringLiteral("match"), w.input.match},
                                                              {QStringLiteral("if"), w.input.drawn}}},
                    {QStringLiteral("tickets"), tickets},
                    {QStringLiteral("lowerBound"), qint64(w.lowerBound)},
                    {QStringLiteral("verified"), w.verified},
                    {QStringLiteral("cost"), qint64(w.cost())},
                    {QStringLiteral("chances"), chanceObject(setClasses, set.noneChance())},
                    {QStringLiteral("randomChances"), chanceObject(random, randomNone)},
                    {QStringLiteral("searchComplete"), w.searchComplete}};
    if (!w.design.isEmpty())
        out.insert(QStringLiteral("design"), w.design);
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
