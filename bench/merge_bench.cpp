// Merging a CSV into a history file, end to end as `import --merge` runs it:
// the CSV read and checked, the stored history read, the merge, the merged
// history written beside the file and renamed. merge/real: the real history
// (2,137 draws, as a public Shift_JIS CSV with prize columns) into its first
// 2,000 draws; merge/synthetic32767: 32,767 draws into their first 30,000.

#include "bench_inputs.h"
#include "core/maintenance/history_source.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace mirkano;

namespace {

QByteArray publicCsv(const History& rows)
{
    QString text = QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,"
                                  "1等口数,2等口数,3等口数,4等口数,5等口数,キャリーオーバー\r\n");
    for (const DrawRecord& r : rows) {
        text += QString::number(r.drawNo) + QStringLiteral(",2000/10/5");
        for (int n : r.all())
            text += u',' + QString::number(n);
        text += QStringLiteral(",0,3,120,6000,98000,0\r\n");
    }
    QStringEncoder sjis("Shift_JIS");
    return sjis.encode(text);
}

void mergeInto(benchmark::State& state, const History& full, std::size_t stored)
{
    QTemporaryDir dir;
    const QString csv = QDir(dir.path()).filePath(QStringLiteral("loto6.csv"));
    const QString db = QDir(dir.path()).filePath(QStringLiteral("Mirkano.mdb"));
    const QString base = QDir(dir.path()).filePath(QStringLiteral("base.mdb"));
    QFile f(csv);
    f.open(QIODevice::WriteOnly);
    f.write(publicCsv(full));
    f.close();
    saveHistory(base, History(full.begin(), full.begin() + std::ptrdiff_t(stored)));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(db);
        QFile::copy(base, db);
        state.ResumeTiming();
        const MergeResult r = mergeIntoHistoryFile(db, readHistoryCsv(csv), MergePreference::Refuse);
        benchmark::DoNotOptimize(r.added);
    }
    state.counters["added"] = double(full.size() - stored);
}

void BM_MergeReal(benchmark::State& state) { mergeInto(state, bench::realInput().history, 2000); }
BENCHMARK(BM_MergeReal)->Name("merge/real")->Unit(benchmark::kMillisecond);

void BM_MergeSynthetic(benchmark::State& state) { mergeInto(state, bench::syntheticInput().history, 30000); }
BENCHMARK(BM_MergeSynthetic)->Name("merge/synthetic32767")->Unit(benchmark::kMillisecond);

}  // namespace
