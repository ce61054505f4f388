#include "core/predict/reflect_settings.h"

#include "core/files/file_kind.h"
#include "core/files/file_write.h"
#include "core/history/history_store.h"
#include "core/files/system_cause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <optional>

namespace mirkano {

namespace {

// The code page the file is kept in.
constexpr const char* kEncoding = "Shift_JIS";
// The file the program writes is some 300 bytes; anything much larger is not
// a settings file and is not read into memory.
constexpr qint64 kMaxSettingsBytes = 16 * 1024;

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

QString settingsPathIn(const QString& folder, GameId game)
{
    return QDir(folder).filePath(mirkano::game(game).settingsFile.toString());
}

QString defaultSettingsPath()
{
    return settingsPathIn(QFileInfo(defaultHistoryPath()).absolutePath());
}

QString defaultSettingsPath(GameId game)
{
    return settingsPathIn(QFileInfo(defaultHistoryPath()).absolutePath(), game);
}

ReflectFlags readReflectFlags(const QString& path, ReflectFlags start)
{
    // Only a regular file is read: a named pipe would hang the start, and a
    // link to /dev/zero would fill the memory.
    QFile file;
    if (const QString cause = openRegularFile(file, path); !cause.isEmpty()) {
        if (isMissing(path))
            return start;
        failRead(path, cause);
    }
    const QString tooLarge =
        QStringLiteral("%1 KB を超える大きさで、設定ファイルではありません").arg(kMaxSettingsBytes / 1024);
    if (file.size() > kMaxSettingsBytes)
        failRead(path, tooLarge);
    const QByteArray bytes = file.read(kMaxSettingsBytes + 1);
    if (file.error() != QFileDevice::NoError)
        failRead(path, QStringLiteral("読み取れません（%1）").arg(fileErrorCause(file)));
    if (bytes.size() > kMaxSettingsBytes)
        failRead(path, tooLarge);

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
    const QByteArray content = reflectFlagsFileContent(flags);
    if (content.isEmpty())
        failWrite(path, QStringLiteral("Shift_JIS の文字を書けません"));
    // Replaced whole only once every byte is on the disk: on a full disk the
    // old file stays as it was.
    if (const QString cause = writeFileWhole(path, content); !cause.isEmpty())
        failWrite(path, cause);
}

}  // namespace mirkano
