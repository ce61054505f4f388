#include "core/history/draw_rule.h"

namespace mirkano {

std::optional<long long> parseWholeNumber(QStringView text)
{
    QStringView s = text.trimmed();
    const bool negative = s.startsWith(u'-');
    if (negative || s.startsWith(u'+'))
        s = s.mid(1);
    if (s.isEmpty())
        return std::nullopt;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const long long magnitude = s.size() > 12 ? 1'000'000'000'000LL : s.toLongLong();
    return negative ? -magnitude : magnitude;
}

namespace {

FieldReading read(QStringView text, bool (*inRange)(long long))
{
    if (text.trimmed().isEmpty())
        return {FieldReading::Empty, 0};
    const std::optional<long long> v = parseWholeNumber(text);
    if (!v)
        return {FieldReading::NotWhole, 0};
    if (!inRange(*v))
        return {FieldReading::OutOfRange, 0};
    return {FieldReading::Valid, int(*v)};
}

bool numberInRange(long long v) { return isNumber(v); }
bool drawNoInRange(long long v) { return isDrawNo(v); }

}  // namespace

FieldReading readNumberText(QStringView text) { return read(text, numberInRange); }
FieldReading readDrawNoText(QStringView text) { return read(text, drawNoInRange); }

NumberProblem numberProblem(const std::array<QString, kNumbersPerDraw>& texts, int index)
{
    const FieldReading own = readNumberText(texts[std::size_t(index)]);
    switch (own.kind) {
    case FieldReading::Empty:
        return NumberProblem::None;
    case FieldReading::NotWhole:
        return NumberProblem::NotWhole;
    case FieldReading::OutOfRange:
        return NumberProblem::OutOfRange;
    case FieldReading::Valid:
        break;
    }
    constexpr int kBonus = kNumbersPerDraw - 1;
    for (int i = 0; i < kBonus; ++i) {
        if (i == index)
            continue;
        const FieldReading other = readNumberText(texts[std::size_t(i)]);
        if (other.kind == FieldReading::Valid && other.value == own.value)
            return index == kBonus ? NumberProblem::BonusEqualsMain : NumberProblem::Repeated;
    }
    return NumberProblem::None;
}

QString numberProblemText(NumberProblem problem)
{
    switch (problem) {
    case NumberProblem::None:
        break;
    case NumberProblem::NotWhole:
        return QStringLiteral("小数や文字は入力できません。1～%1 の整数を入力してください").arg(kMaxNumber);
    case NumberProblem::OutOfRange:
        return QStringLiteral("1～%1 の数字を入力してください").arg(kMaxNumber);
    case NumberProblem::Repeated:
        return QStringLiteral("同じ回の本数字に同じ数字は入力できません。別の数字を入力してください");
    case NumberProblem::BonusEqualsMain:
        return QStringLiteral("ボーナス数字には本数字と異なる数字を入力してください");
    }
    return {};
}

bool hasRepeatedNumber(const DrawRecord& row)
{
    for (std::size_t i = 0; i < row.all().size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (row.numbers[i] != 0 && row.numbers[i] == row.numbers[j])
                return true;
    return false;
}

bool isStorableRow(const DrawRecord& row)
{
    if (!isDrawNo(row.drawNo))
        return false;
    for (int n : row.all())
        if (n != 0 && !isNumber(n))
            return false;
    return true;
}

}  // namespace mirkano
