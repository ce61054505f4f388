// The text of a CSV file: its encoding and the refusals of what is no text
// the reader takes.
#include "core/history/csv_text.h"

#include "core/files/file_kind.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace mirkano::csv {

[[noreturn]] void failFile(const QString& source, const QString& cause)
{
    throw HistoryError(QStringLiteral("CSV「%1」を読み取れません：%2").arg(source, cause));
}

[[noreturn]] void failLine(const QString& source, int line, const QString& cause)
{
    throw HistoryError(QStringLiteral("CSV「%1」の%2行目：%3").arg(source).arg(line).arg(cause));
}


namespace {

// Decodes with the given decoder; nullopt when the bytes are not valid in it,
// also when they end inside a character.
std::optional<QString> decodeStrict(QStringDecoder decoder, QByteArrayView bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

constexpr auto kStrict = QStringConverter::Flag::Stateless;

// The encoding bytes holding NULs are in when they are text the reader does
// not take: UTF-32 (two NULs in the same half of every four bytes) or UTF-16
// without a byte-order mark (NULs on one side of the byte pairs, a quarter of
// the bytes or more); empty for a stray NUL, which the fields report.
QString causeOfNuls(QByteArrayView bytes, const QString& readable)
{
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 4096) & ~qsizetype(3));
    bool little = !head.isEmpty(), big = !head.isEmpty();
    qsizetype even = 0, odd = 0;
    for (qsizetype i = 0; i < head.size(); ++i) {
        if (head[i] == 0)
            ++(i % 2 ? odd : even);
        if (i % 4 == 0) {
            little = little && head[i + 2] == 0 && head[i + 3] == 0;
            big = big && head[i] == 0 && head[i + 1] == 0;
        }
    }
    if (little || big)
        return QStringLiteral("文字コードが UTF-32 のようです。%1").arg(readable);
    if ((even == 0 || odd == 0) && (even + odd) * 4 >= head.size())
        return QStringLiteral("文字コードがバイト順マークのない UTF-16 のようです。%1").arg(readable);
    return {};
}

}  // namespace

QString decodeCsv(const QByteArray& bytes, const QString& source)
{
    const QByteArrayView all(bytes);
    const QString readable = QStringLiteral("UTF-8、バイト順マーク付きの UTF-16、シフトJIS のどれかで保存してください");
    if (all.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)) || all.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        failFile(source, QStringLiteral("文字コードが UTF-32 です。%1").arg(readable));
    if (looksLikeDatabase(all, all.size()))
        failFile(source, QStringLiteral("CSV ではなく履歴ファイル（データベース）です。履歴ファイルの当選データを"
                                        "取り込むには、mirkano-cli export --db そのファイル > 当選データ.csv で "
                                        "CSV に書き出し、その CSV を取り込んでください"));
    std::optional<QString> text;
    if (all.startsWith("\xEF\xBB\xBF")) {
        text = decodeStrict(QStringDecoder(QStringDecoder::Utf8, kStrict), all.sliced(3));
        if (!text)
            failFile(source, QStringLiteral("UTF-8 として読めない文字があります"));
    } else if (all.startsWith("\xFF\xFE") || all.startsWith("\xFE\xFF")) {
        const bool little = all.startsWith("\xFF\xFE");
        if (all.size() % 2 != 0)
            failFile(source, QStringLiteral("UTF-16 のファイルが途中で切れています（大きさ %1 バイトが奇数です）")
                                 .arg(all.size()));
        text = decodeStrict(QStringDecoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, kStrict),
                            all.sliced(2));
        if (!text)
            failFile(source, QStringLiteral("UTF-16 として読めない文字があります"));
    } else {
        if (all.contains('\0'))
            if (const QString cause = causeOfNuls(all, readable); !cause.isEmpty())
                failFile(source, cause);
        text = decodeStrict(QStringDecoder(QStringDecoder::Utf8, kStrict), all);
        if (!text) {
            text = decodeStrict(QStringDecoder("Shift_JIS", kStrict), all);
            if (text && text->contains(QChar(QChar::ReplacementCharacter)))
                text.reset();
        }
        if (!text)
            failFile(source, QStringLiteral("文字コードが UTF-8、UTF-16、シフトJIS のいずれでもありません"));
    }
    return *std::move(text);
}

}  // namespace mirkano::csv
