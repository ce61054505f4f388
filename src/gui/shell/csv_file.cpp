#include "gui/shell/csv_file.h"

#include "core/error.h"
#include "core/files/file_kind.h"
#include "core/files/file_write.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace mirkano {

namespace {

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QString suggestedCsvPath(const QString& fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(fileName);
}

QString chooseCsvSaveFile(QWidget* parent, const QString& title, const QString& suggestedPath)
{
    // The dialog's own question about an existing file may come in the
    // desktop's language and knows nothing of history files; the program asks
    // its own (mayWriteCsv).
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, QStringLiteral("CSV ファイル (*.csv)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool mayWriteCsv(const QString& path, const QString& historyPath, const std::function<void(const QString&)>& refuse,
                 const std::function<bool(const QString&)>& confirm)
{
    if (isMissing(path))
        return true;
    QString cause = historyOverwriteFault(path, historyPath);
    if (cause.isEmpty())
        cause = regularFileFault(path);
    if (!cause.isEmpty()) {
        refuse(QStringLiteral("CSV「%1」を書き出せません：%2。\n別のファイル名を指定してください。")
                   .arg(shownPath(path), cause));
        return false;
    }
    return confirm(QStringLiteral("「%1」は既にあります。\n上書きしますか？").arg(shownPath(path)));
}

void writeCsvFile(const QString& path, const QByteArray& text)
{
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    const QByteArray csv = text.startsWith(kUtf8Bom) ? text : kUtf8Bom + text;
    if (const QString cause = writeFileWhole(path, csv); !cause.isEmpty())
        throw Error(QStringLiteral("CSV「%1」を書き込めません：%2").arg(QDir::toNativeSeparators(path), cause));
}

QString csvWrittenText(const QString& path)
{
    return QStringLiteral("CSVファイルを書き出しました。\n%1").arg(shownPath(path));
}

}  // namespace mirkano
