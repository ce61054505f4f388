#include "core/shell/draw_rule.h"

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

bool isStorableRow(const DrawRecord& row)
{
    if (!isDrawNo(row.drawNo))
        return false;
    for (int n : row.numbers)
        if (n != 0 && !isNumber(n))
            return false;
    return true;
}

}  // namespace mirkano
