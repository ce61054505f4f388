// The prize columns of a CSV: which titles name them and how their fields
// read as yen or tickets.
#include "core/history/csv_prizes.h"

#include <array>

namespace mirkano {

namespace {

constexpr std::array kWinnersSuffixes = {u"等口数", u"等当選口数", u"等当せん口数"};
constexpr std::array kPrizeSuffixes = {u"等賞金", u"等当選金額", u"等当せん金額"};
constexpr std::array kCarryOverNames = {u"キャリーオーバー", u"キャリーオーバー額"};
constexpr std::array kSalesNames = {u"販売実績額", u"販売額"};

template <typename Names>
bool isOneOf(QStringView name, const Names& names)
{
    for (const char16_t* n : names)
        if (name == QStringView(n))
            return true;
    return false;
}

// The class (1 …) of a title "N" + one of the suffixes, or 0.
template <typename Suffixes>
int classOfTitle(QStringView title, const Suffixes& suffixes)
{
    if (title.size() < 2 || title[0] < u'1' || title[0] > u'9')
        return 0;
    return isOneOf(title.sliced(1), suffixes) ? title[0].unicode() - u'0' : 0;
}

}  // namespace

int prizeFieldOfTitle(QStringView title, GameId id)
{
    const int classes = game(id).prizeClassCount();
    if (const int c = classOfTitle(title, kWinnersSuffixes))
        return c <= classes ? c - 1 : -1;
    if (const int c = classOfTitle(title, kPrizeSuffixes))
        return c <= classes ? classes + c - 1 : -1;
    if (isOneOf(title, kCarryOverNames))
        return hasCarryOver(id) ? 2 * classes : -1;
    if (isOneOf(title, kSalesNames))
        return 2 * classes + (hasCarryOver(id) ? 1 : 0);
    return -1;
}

AmountReading readPrizeAmount(QStringView text, int field, GameId id)
{
    const bool tickets = field < game(id).prizeClassCount();
    if (text.isEmpty())
        return {};
    if (text == u"該当なし")
        return {AmountReading::Valid, 0, {}};
    const auto bad = [&](const QString& cause) { return AmountReading{AmountReading::Bad, 0, cause}; };
    const QString usage = tickets ? QStringLiteral("口数は 0 以上の整数で、1,234 や 12口、該当なし のように書きます")
                                  : QStringLiteral("金額は 0 以上の円単位の整数で、1,234,567 や 1234567円、該当なし のように書きます");
    QStringView digits = text;
    if (digits.endsWith(tickets ? u'口' : u'円'))
        digits.chop(1);
    if (digits.isEmpty())
        return bad(usage);
    // Thousands separators only between groups of three digits.
    Yen value = 0;
    qsizetype sinceComma = -1;  // digits since the last comma; -1 before the first
    qsizetype leading = 0;      // digits before the first comma
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        if (c == u',') {
            if ((sinceComma < 0 && (leading == 0 || leading > 3)) || (sinceComma >= 0 && sinceComma != 3))
                return bad(QStringLiteral("桁区切りのカンマの位置が正しくありません。%1").arg(usage));
            sinceComma = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return bad(usage);
        if (value > kMaxCsvAmount / 10)
            value = kMaxCsvAmount + 1;
        else
            value = value * 10 + (c.unicode() - u'0');
        (sinceComma < 0 ? leading : sinceComma) += 1;
    }
    if (sinceComma >= 0 && sinceComma != 3)
        return bad(QStringLiteral("桁区切りのカンマの位置が正しくありません。%1").arg(usage));
    if (value > kMaxCsvAmount)
        return bad(QStringLiteral("999,999,999,999,999 を超える値は使えません"));
    return {AmountReading::Valid, value, {}};
}

QString suspectAmountWarning(const QString& source, int line, int drawNo, QStringView fieldName)
{
    return QStringLiteral("CSV「%1」の%2行目（第%3回）の%4 2,147,483,647 は、32ビットで切り詰められた値の疑いがあります"
                          "（別の取得元の当選データと併合すると、その値に置き換えられます）")
        .arg(source)
        .arg(line)
        .arg(drawNo)
        .arg(fieldName);
}

}  // namespace mirkano
