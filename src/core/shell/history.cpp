#include "shell/history.h"

namespace mirkano {

const std::array<QString, kFieldCount> kFieldNames = {
    QStringLiteral("回数"),     QStringLiteral("第1数字"), QStringLiteral("第2数字"),
    QStringLiteral("第3数字"), QStringLiteral("第4数字"), QStringLiteral("第5数字"),
    QStringLiteral("第6数字"), QStringLiteral("ボーナス数字"),
};

std::optional<int> HistoryRecordset::field(int index) const
{
    const DrawRecord& row = current();
    if (index == 0)
        return row.drawNo;
    if (index < 1 || index > kNumbersPerDraw)
        throw std::out_of_range("field index out of range");
    const int n = row.numbers[std::size_t(index - 1)];
    return n == 0 ? std::nullopt : std::optional<int>(n);
}

std::optional<int> HistoryRecordset::field(const QString& name) const
{
    for (int i = 0; i < kFieldCount; ++i)
        if (kFieldNames[std::size_t(i)] == name)
            return field(i);
    throw std::out_of_range("unknown field name");
}

}  // namespace mirkano
