// Opening a history file (readHistoryFile) on the real draws of each game and
// on 32,767 draws: a file without prize data; a file with a prize table of
// every field filled for every draw, read as the analyses read it (draws
// only: the prize data should add no more than a tenth) and read whole, as
// the windows and commands that speak yen read it.

#include "bench_inputs.h"

#include "core/history/history_store.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

using namespace mirkano;

namespace {

// Prize data for every draw, every field known (amounts of a realistic size).
PrizeTable everyField(const History& rows, GameId game)
{
    PrizeTable prizes;
    for (const DrawRecord& row : rows) {
        std::vector<std::optional<Yen>> fields;
        const std::size_t count = prizeFieldNames(game).size();
        for (std::size_t i = 0; i < count; ++i)
            fields.push_back(Yen(1'000'000'007LL * (row.drawNo + 1) % 2'000'000'000LL + i));
        prizes.push_back(prizesFromFields(row.drawNo, fields, game));
    }
    return prizes;
}

enum class Open { Plain, PrizeFileDrawsOnly, PrizeFileWhole };

void openHistory(benchmark::State& state, GameId game, bench::InputFn input, Open open)
{
    const bool withPrizes = open != Open::Plain;
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("history.mdb"));
    const History& rows = input().history;
    saveHistory(path, rows, game, withPrizes ? everyField(rows, game) : PrizeTable{});
    for (auto _ : state) {
        const HistoryReading read = readHistoryFile(path, game, open == Open::PrizeFileWhole);
        benchmark::DoNotOptimize(read.rows.size() + read.prizes.size());
    }
}

const bool registered = [] {
    for (const bench::GameInput& in : bench::kGameInputs) {
        const QString name = (in.game == GameId::Loto6 ? QStringLiteral("loto6/") : QString()) + QString::fromLatin1(in.name);
        const std::pair<Open, const char*> kinds[] = {
            {Open::Plain, ""}, {Open::PrizeFileDrawsOnly, "/prize-file"}, {Open::PrizeFileWhole, "/prize-file/with-prizes"}};
        for (const auto& [open, suffix] : kinds)
            benchmark::RegisterBenchmark((QStringLiteral("open/") + name + QLatin1String(suffix)).toStdString().c_str(),
                                         [in, open](benchmark::State& s) { openHistory(s, in.game, in.input, open); })
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
