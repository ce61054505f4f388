#include "support/fixtures.h"

#include "core/history/history_csv.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

namespace mirkano::test {

History sampleHistory()
{
    static const History h = readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV));
    return h;
}

QString sampleCsvPath(GameId game)
{
    // The CSVs lie side by side in the project's data folder.
    const QDir data = QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).dir();
    switch (game) {
    case GameId::Loto7:
        return data.filePath(QStringLiteral("loto7.csv"));
    case GameId::MiniLoto:
        return data.filePath(QStringLiteral("miniloto.csv"));
    case GameId::Loto6:
        break;
    }
    return QStringLiteral(MIRKANO_SAMPLE_CSV);
}

History sampleHistory(GameId game)
{
    if (game == GameId::Loto6)
        return sampleHistory();
    static const History loto7 = readHistoryCsv(sampleCsvPath(GameId::Loto7), GameId::Loto7);
    static const History mini = readHistoryCsv(sampleCsvPath(GameId::MiniLoto), GameId::MiniLoto);
    return game == GameId::Loto7 ? loto7 : mini;
}

TempDir::TempDir()
{
    m_path = QDir::temp().filePath(QStringLiteral("mirkano-test-") +
                                   QUuid::createUuid().toString(QUuid::WithoutBraces));
    QDir().mkpath(m_path);
}

TempDir::~TempDir() { QDir(m_path).removeRecursively(); }

QString TempDir::path(const QString& name) const { return QDir(m_path).filePath(name); }

}  // namespace mirkano::test
