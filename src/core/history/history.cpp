#include "core/history/history.h"

namespace mirkano {

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
