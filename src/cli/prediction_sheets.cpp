// The sheet command for the prediction: the four sheets of 一発ミルカノ予想
// as the window shows them right after opening with the given options on.

#include "cli/cli.h"

#include "core/predict/prediction_sheets.h"
#include "core/sheet/sheet_json.h"
#include "core/shell/history_store.h"
#include "core/shell/startup_tables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace mirkano::cli {

ReflectFlags parseReflect(const QString& list)
{
    ReflectFlags flags;
    if (list.isEmpty())
        return flags;
    for (const QString& item : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int index = item.toInt(&ok);
        const bool digits = !item.isEmpty() && std::all_of(item.begin(), item.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
        if (!ok || !digits || index >= kReflectOptionCount)
            throw UsageError{QStringLiteral("--reflect: \"%1\" is not an option index 0 to %2")
                                 .arg(item)
                                 .arg(kReflectOptionCount - 1)};
        flags.on[std::size_t(index)] = true;
    }
    return flags;
}

int runPredictionSheets(const Args& a, Streams& s)
{
    const QString db = a.required("db");
    const ReflectFlags flags = parseReflect(a.optional("reflect"));
    const History history = loadHistory(db);
    const PeriodTables tables = buildPeriodTables(history);
    const PredictionSheets sheets =
        buildPredictionSheets(tables, predict(tables, buildStartupTables(history).latestDrawNo, flags));
    QJsonArray json;
    for (const Sheet& sheet : sheets)
        json.append(sheetToJson(sheet));
    const QJsonObject out{{QStringLiteral("analysis"), QString::fromLatin1(kPredictionId)},
                          {QStringLiteral("caption"), kPredictionCaption},
                          {QStringLiteral("sheets"), json}};
    const QByteArray bytes = QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n';
    s.out.write(bytes.constData(), std::streamsize(bytes.size()));
    return kDone;
}

}  // namespace mirkano::cli
