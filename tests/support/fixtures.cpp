#include "support/fixtures.h"

#include "core/history/history_csv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>

namespace mirkano::test {

History sampleHistory()
{
    static const History h = readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV));
    return h;
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
