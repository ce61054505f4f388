// The winning-data entry window's rows: opening them over a history file of
// the longest history the draw numbers allow, and storing one edited row
// (one transaction). Opening should grow linearly with the number of draws.

#include "core/maintenance/entry_model.h"
#include "core/history/history_store.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

using namespace mirkano;

namespace {

History rowsOf(int count)
{
    History h;
    for (int drawNo = 1; drawNo <= count; ++drawNo)
        h.push_back(DrawRecord{drawNo, {1 + drawNo % 37, 2 + drawNo % 37, 3 + drawNo % 37, 4 + drawNo % 37,
                                        5 + drawNo % 37, 6 + drawNo % 37, 7 + drawNo % 37}});
    return h;
}

void BM_OpenEntryRows(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, rowsOf(int(state.range(0))));
    for (auto _ : state) {
        HistoryEditor editor(path);
        HistoryTableModel model(editor);
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_OpenEntryRows)->Arg(2137)->Arg(kMaxDrawNo)->Unit(benchmark::kMillisecond);

void BM_StoreOneEditedRow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, rowsOf(kMaxDrawNo));
    HistoryEditor editor(path);
    HistoryTableModel model(editor);
    int n = 0;
    for (auto _ : state)
        model.setData(model.index(kMaxDrawNo / 2, 1), QString::number(1 + (n++ % 43)));
}
BENCHMARK(BM_StoreOneEditedRow)->Unit(benchmark::kMillisecond);

}  // namespace
