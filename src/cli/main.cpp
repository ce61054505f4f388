// mirkano-cli: the core from the command line. Imports a CSV into a history
// file, exports the history, prints the start-up tables or any analysis sheet
// as JSON. Exit codes: 0 done, 1 bad file or data, 2 wrong usage.

#include "core/analysis/analysis.h"
#include "core/sheet/sheet_json.h"
#include "core/shell/history_csv.h"
#include "core/shell/history_store.h"
#include "core/shell/startup_tables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace mirkano;

namespace {

constexpr int kDone = 0;
constexpr int kBadData = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "usage:\n"
    "  mirkano-cli import --csv FILE --db FILE\n"
    "  mirkano-cli export --db FILE\n"
    "  mirkano-cli tables --db FILE\n"
    "  mirkano-cli sheet --db FILE ANALYSIS [--reflect 0,3,...]\n";

struct UsageError {
    QString message;
};

void printErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

void printOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

// Options "--name value" and the positional arguments of one command.
struct Args {
    std::map<std::string, QString> options;
    QStringList positional;

    QString required(const std::string& name) const
    {
        auto it = options.find(name);
        if (it == options.end() || it->second.isEmpty())
            throw UsageError{QStringLiteral("--%1 FILE is required").arg(QString::fromStdString(name))};
        return it->second;
    }
};

Args parseArgs(int argc, char** argv, std::initializer_list<const char*> known)
{
    Args a;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0) {
            const std::string name = arg.substr(2);
            bool ok = false;
            for (const char* k : known)
                ok = ok || name == k;
            if (!ok)
                throw UsageError{QStringLiteral("unknown option %1").arg(QString::fromStdString(arg))};
            if (i + 1 >= argc)
                throw UsageError{QStringLiteral("%1 needs a value").arg(QString::fromStdString(arg))};
            a.options[name] = QString::fromLocal8Bit(argv[++i]);
        } else {
            a.positional << QString::fromLocal8Bit(argv[i]);
        }
    }
    return a;
}

void noPositional(const Args& a)
{
    if (!a.positional.isEmpty())
        throw UsageError{QStringLiteral("unexpected argument %1").arg(a.positional.first())};
}

int cmdImport(const Args& a)
{
    noPositional(a);
    const QString csv = a.required("csv");
    const QString db = a.required("db");
    saveHistory(db, readHistoryCsv(csv));
    return kDone;
}

int cmdExport(const Args& a)
{
    noPositional(a);
    printOut(historyToCsv(loadHistory(a.required("db"))));
    return kDone;
}

int cmdTables(const Args& a)
{
    noPositional(a);
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
    printOut(QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n');
    return kDone;
}

QString availableAnalyses()
{
    QStringList ids;
    for (const Analysis& an : analyses())
        ids << QString::fromLatin1(an.id);
    return ids.join(QStringLiteral(", "));
}

int cmdSheet(const Args& a)
{
    const QString db = a.required("db");
    if (a.positional.size() != 1)
        throw UsageError{QStringLiteral("name one analysis: ") + availableAnalyses()};
    const QByteArray id = a.positional.first().toUtf8();
    const Analysis* analysis = findAnalysis(id.toStdString());
    if (!analysis)
        throw UsageError{QStringLiteral("unknown or not yet available analysis \"%1\"; available: %2")
                             .arg(a.positional.first(), availableAnalyses())};
    const History history = loadHistory(db);
    const StartupTables tables = buildStartupTables(history);
    QJsonObject out = sheetToJson(analysis->build(history, tables));
    out.insert(QStringLiteral("analysis"), QString::fromLatin1(analysis->id));
    out.insert(QStringLiteral("caption"), analysis->facts.caption);
    printOut(QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n');
    return kDone;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    const std::string command = argv[1];
    try {
        if (command == "import")
            return cmdImport(parseArgs(argc, argv, {"csv", "db"}));
        if (command == "export")
            return cmdExport(parseArgs(argc, argv, {"db"}));
        if (command == "tables")
            return cmdTables(parseArgs(argc, argv, {"db"}));
        if (command == "sheet")
            return cmdSheet(parseArgs(argc, argv, {"db", "reflect"}));
        throw UsageError{QStringLiteral("unknown command %1").arg(QString::fromStdString(command))};
    } catch (const UsageError& e) {
        printErr(QStringLiteral("mirkano-cli: ") + e.message);
        std::fputs(kUsageText, stderr);
        return kUsage;
    } catch (const HistoryError& e) {
        printErr(QStringLiteral("mirkano-cli: ") + e.message());
        return kBadData;
    }
}
