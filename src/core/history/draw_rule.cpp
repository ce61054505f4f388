#include "core/history/draw_rule.h"

#include <algorithm>

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

FieldReading read(QStringView text, long long last)
{
    if (text.trimmed().isEmpty())
        return {FieldReading::Empty, 0};
    const std::optional<long long> v = parseWholeNumber(text);
    if (!v)
        return {FieldReading::NotWhole, 0};
    if (*v < 1 || *v > last)
        return {FieldReading::OutOfRange, 0};
    return {FieldReading::Valid, int(*v)};
}

}  // namespace

FieldReading readNumberText(QStringView text, GameId g) { return read(text, game(g).pool); }
FieldReading readDrawNoText(QStringView text) { return read(text, kMaxDrawNo); }

NumberProblem numberProblem(std::span<const QString> texts, int index, GameId g)
{
    const Game& facts = game(g);
    const int count = std::min(int(texts.size()), facts.numbersPerDraw());
    if (index < 0 || index >= count)
        return NumberProblem::None;
    const FieldReading own = readNumberText(texts[std::size_t(index)], g);
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
    const auto holds = [&](int i) {
        const FieldReading other = readNumberText(texts[std::size_t(i)], g);
        return i != index && other.kind == FieldReading::Valid && other.value == own.value;
    };
    const bool bonus = index >= facts.mains;
    for (int i = 0; i < facts.mains; ++i)
        if (holds(i))
            return bonus ? NumberProblem::BonusEqualsMain : NumberProblem::Repeated;
    if (bonus)
        for (int i = facts.mains; i < count; ++i)
            if (holds(i))
                return NumberProblem::BonusRepeated;
    return NumberProblem::None;
}

QString numberProblemText(NumberProblem problem, GameId g)
{
    const int pool = game(g).pool;
    switch (problem) {
    case NumberProblem::None:
        break;
    case NumberProblem::NotWhole:
        return QStringLiteral("小数や文字は入力できません。1～%1 の整数を入力してください").arg(pool);
    case NumberProblem::OutOfRange:
        return QStringLiteral("1～%1 の数字を入力してください").arg(pool);
    case NumberProblem::Repeated:
        return QStringLiteral("同じ回の本数字に同じ数字は入力できません。別の数字を入力してください");
    case NumberProblem::BonusEqualsMain:
        return QStringLiteral("ボーナス数字には本数字と異なる数字を入力してください");
    case NumberProblem::BonusRepeated:
        return QStringLiteral("ボーナス数字1とボーナス数字2には異なる数字を入力してください");
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
        if (n != 0 && !isNumber(n, row.gameId))
            return false;
    return true;
}

}  // namespace mirkano
