// Reading and checking what a wheel is asked for; every refusal is a
// Japanese message saying which entry is wrong and why.

#include "core/wheel/wheel_input.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace mirkano {

namespace {

QString folded(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            out += QChar(u - 0xFF10 + '0');
        else if (u == 0xFF0C || u == 0x3001)
            out += u',';
        else if (u == 0xFF0F)
            out += u'/';
        else if (u == 0x3000)
            out += u' ';
        else
            out += c;
    }
    return out;
}

QString grouped(std::uint64_t n) { return QLocale(QLocale::English).toString(qulonglong(n)); }

}  // namespace

std::vector<int> parseWheelNumbers(const QString& text, const QString& what)
{
    std::vector<int> numbers;
    const QStringList parts = folded(text).split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        bool ok = part.size() <= 3 && std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
        const int n = ok ? part.toInt(&ok) : 0;
        if (!ok)
            throw WheelError(QStringLiteral("%1の「%2」は数字ではありません").arg(what, echoed(part, 20)));
        numbers.push_back(n);
    }
    return numbers;
}

void parseGuarantee(const QString& text, int& match, int& drawn)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d)\\s*/\\s*(\\d)\\s*$"));
    const QRegularExpressionMatch m = form.match(folded(text));
    if (!m.hasMatch())
        throw WheelError(QStringLiteral("保証「%1」は「一致数/当選数」の形で指定してください（例：3/4）").arg(echoed(text, 20)));
    match = m.captured(1).toInt();
    drawn = m.captured(2).toInt();
}

WheelInput checkedWheelInput(WheelInput in)
{
    const Game& g = game(in.game);
    const QString range = QStringLiteral("%1の範囲（1～%2）").arg(g.name.toString()).arg(g.pool);
    auto checkList = [&](std::vector<int>& list, const QString& what) {
        for (int n : list)
            if (n < 1 || n > g.pool)
                throw WheelError(QStringLiteral("%1 %2 は%3の外です").arg(what).arg(n).arg(range));
        std::vector<int> sorted = list;
        std::sort(sorted.begin(), sorted.end());
        if (auto d = std::adjacent_find(sorted.begin(), sorted.end()); d != sorted.end())
            throw WheelError(QStringLiteral("%1 %2 が 2 回以上あります").arg(what).arg(*d));
        list = sorted;
    };
    checkList(in.numbers, QStringLiteral("選んだ数字"));
    checkList(in.keys, QStringLiteral("キー数字"));
    const int v = int(in.numbers.size());
    const int k = g.mains;
    if (v < k)
        throw WheelError(QStringLiteral("選んだ数字が %1 個です。%2の券は %3 個の数字なので、%3 個以上選んでください")
                             .arg(v).arg(g.name.toString()).arg(k));
    for (int key : in.keys)
        if (!std::binary_search(in.numbers.begin(), in.numbers.end(), key))
            throw WheelError(QStringLiteral("キー数字 %1 が選んだ数字にありません").arg(key));
    const int keys = int(in.keys.size());
    if (keys >= k)
        throw WheelError(QStringLiteral("キー数字が %1 個あります。%2の券は %3 個の数字なので、キー数字は %4 個までです")
                             .arg(keys).arg(g.name.toString()).arg(k).arg(k - 1));
    const int t = in.match, m = in.drawn;
    const int free = v - keys, places = k - keys;
    if (t < 1)
        throw WheelError(QStringLiteral("一致数は 1 以上にしてください"));
    if (t > m)
        throw WheelError(QStringLiteral("一致数 %1 が当選数 %2 を超えています（保証は「当選数のうち一致数が券に入る」です）").arg(t).arg(m));
    if (m > k)
        throw WheelError(QStringLiteral("当選数 %1 が%2の本数字の数 %3 を超えています").arg(m).arg(g.name.toString()).arg(k));
    if (m > free)
        throw WheelError(QStringLiteral("キー数字以外の数字が %1 個なので、当選数は %1 までです").arg(free));
    if (t > places)
        throw WheelError(QStringLiteral("キー数字が %1 個あり券の残りは %2 個なので、一致数は %2 までです").arg(keys).arg(places));
    if (choose(free, m) > kMaxWheelTargets)
        throw WheelError(QStringLiteral("キー数字以外の数字 %1 個から当選数 %2 の組合せは %3 通りあり、%4 通りまでしか扱えません。数字を減らしてください")
                             .arg(free).arg(m).arg(grouped(choose(free, m)), grouped(kMaxWheelTargets)));
    if (t == places && m == places && choose(free, places) > kMaxWheelTickets)
        throw WheelError(QStringLiteral("この保証には券が %1 枚要ります。%2 枚までにしてください")
                             .arg(grouped(choose(free, places)), grouped(kMaxWheelTickets)));
    return in;
}

int fullWheelMatch(const WheelInput& input)
{
    return game(input.game).mains - int(input.keys.size());
}

}  // namespace mirkano
