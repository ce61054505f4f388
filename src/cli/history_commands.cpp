// Commands on the history file itself: import a CSV, export it, print the
// start-up tables.

#include "cli/cli.h"

#include "core/error.h"
#include "core/shell/file_kind.h"
#include "core/shell/history_csv.h"
#include "core/shell/history_store.h"
#include "core/shell/startup_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <sys/stat.h>

namespace mirkano::cli {

namespace {

// Whether two paths name one file, also through a symbolic or hard link.
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

int runImport(const Args& a, Streams&)
{
    a.noPositional();
    const QString csv = a.required("csv");
    const QString db = a.required("db");
    // The history would be written over the CSV it is read from.
    if (sameFile(csv, db))
        throw UsageError{QStringLiteral("--csv と --db が同じファイル「%1」を指しています").arg(db)};
    saveHistory(db, readHistoryCsv(csv));
    return kDone;
}

int runExport(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    // Standard output sent into the history itself ("export --db F >> F") or
    // into another history file would spoil it with text.
    const QString out = QStringLiteral("/proc/self/fd/1");
    if (const QString cause = historyOverwriteFault(out, db); !cause.isEmpty())
        throw Error(QStringLiteral("CSV を「%1」に書き出せません：%2")
                        .arg(QDir::toNativeSeparators(QFileInfo(out).symLinkTarget()), cause));
    writeBytes(s.out, historyToCsv(loadHistory(db)));
    return kDone;
}

int runTables(const Args& a, Streams& s)
{
    a.noPositional();
    const StartupTables t = buildStartupTables(loadHistory(a.required("db")));
    QJsonObject counts;
    for (int n = 1; n <= kMaxNumber; ++n)
        counts.insert(QString::number(n), t.numberCount[std::size_t(n)]);
    QJsonArray groups;
    for (const QString& g : t.countGroups)
        groups.append(g);
    const QJsonObject out{{QStringLiteral("NumberCount"), counts},
                          {QStringLiteral("MaxCount"), t.maxCount},
                          {QStringLiteral("CountGroups"), groups},
                          {QStringLiteral("CountGroupRows"), t.countGroupRows},
                          {QStringLiteral("LatestDrawNo"), t.latestDrawNo}};
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
