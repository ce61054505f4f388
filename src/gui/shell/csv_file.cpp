#include "gui/shell/csv_file.h"

#include "core/error.h"
#include "core/shell/system_cause.h"

#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace mirkano {

QString suggestedCsvPath(const QString& fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(fileName);
}

QString chooseCsvSaveFile(QWidget* parent, const QString& title, const QString& suggestedPath)
{
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, QStringLiteral("CSV ファイル (*.csv)"));
}

void writeCsvFile(const QString& path, const QByteArray& text)
{
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    const QByteArray csv = text.startsWith(kUtf8Bom) ? text : kUtf8Bom + text;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit())
        throw Error(QStringLiteral("CSV「%1」を書き込めません：%2")
                        .arg(QDir::toNativeSeparators(path), fileErrorCause(file)));
}

QString csvWrittenText(const QString& path)
{
    return QStringLiteral("CSVファイルを書き出しました。\n%1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

}  // namespace mirkano
