#include "core/predict/reflect_settings.h"

#include "core/shell/history_store.h"
#include "core/shell/system_cause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <optional>

namespace mirkano {

namespace {

// The code page the file is kept in.
constexpr const char* kEncoding = "Shift_JIS";

[[noreturn]] void failRead(const QString& path, const QString& cause)
{
    throw SettingsError(QStringLiteral("設定ファイル「%1」を読み込めません：%2")
                            .arg(QDir::toNativeSeparators(path), cause));
}

[[noreturn]] void failWrite(const QString& path, const QString& cause)
{
    throw SettingsError(QStringLiteral("設定ファイル「%1」を保存できません：%2")
                            .arg(QDir::toNativeSeparators(path), cause));
}

// True or False in any letter case, or a number: 0 is off, anything else on.
std::optional<bool> toFlag(const QString& value)
{
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d != 0;
}

}  // namespace

QString settingsPathIn(const QString& folder)
{
    return QDir(folder).filePath(kSettingsFileName);
}

QString defaultSettingsPath()
{
    return settingsPathIn(QFileInfo(defaultHistoryPath()).absolutePath());
}

ReflectFlags readReflectFlags(const QString& path, ReflectFlags start)
{
    const QFileInfo info(path);
    if (!info.exists())
        return start;
    if (info.isDir())
        failRead(path, QStringLiteral("ファイルではなくフォルダーです"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failRead(path, QStringLiteral("読み取れません（%1）").arg(fileErrorCause(file)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failRead(path, QStringLiteral("読み取れません（%1）").arg(fileErrorCause(file)));

    QStringDecoder decode(kEncoding);
    if (!decode.isValid())
        failRead(path, QStringLiteral("Shift_JIS の文字を読めません"));
    const QString text = decode(bytes);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    ReflectFlags flags = start;
    for (const QString& line : text.split(lineEnd)) {
        const QStringList pieces = line.split(QLatin1Char('='));
        if (pieces.size() < 2)
            continue;
        for (int i = 0; i < kReflectOptionCount; ++i) {
            if (pieces[0] != kReflectOptions[std::size_t(i)].key)
                continue;
            if (const auto on = toFlag(pieces[1]))
                flags.on[std::size_t(i)] = *on;
            break;
        }
    }
    return flags;
}

QByteArray reflectFlagsFileContent(const ReflectFlags& flags)
{
    QString text;
    for (int i = 0; i < kReflectOptionCount; ++i) {
        text += kReflectOptions[std::size_t(i)].key;
        text += flags.on[std::size_t(i)] ? QStringLiteral("=True\r\n") : QStringLiteral("=False\r\n");
    }
    // Empty when Shift_JIS cannot be written here; the writer refuses it.
    QStringEncoder encode(kEncoding);
    return encode.isValid() ? QByteArray(encode(text)) : QByteArray();
}

void writeReflectFlags(const QString& path, const ReflectFlags& flags)
{
    if (QFileInfo(path).isDir())
        failWrite(path, QStringLiteral("同じ名前のフォルダーがあります"));
    // QSaveFile writes a new file beside the target and renames it over the
    // target on commit; without a commit the new file is removed again.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failWrite(path, QStringLiteral("作業ファイルを作れません（%1）").arg(fileErrorCause(file)));
    const QByteArray content = reflectFlagsFileContent(flags);
    if (content.isEmpty())
        failWrite(path, QStringLiteral("Shift_JIS の文字を書けません"));
    if (file.write(content) != content.size())
        failWrite(path, QStringLiteral("書き込めません（%1）").arg(fileErrorCause(file)));
    if (!file.commit())
        failWrite(path, QStringLiteral("置き換えられません（%1）").arg(fileErrorCause(file)));
}

}  // namespace mirkano
