#include "core/history/history.h"

namespace mirkano {

std::optional<int> HistoryRecordset::field(int index) const
{
    const DrawRecord& row = current();
    if (index == 0)
        return row.drawNo;
    if (index < 1 || index > row.numberCount())
        throw std::out_of_range("field index out of range");
    const int n = row.numbers[std::size_t(index - 1)];
    return n == 0 ? std::nullopt : std::optional<int>(n);
}

std::optional<int> HistoryRecordset::field(const QString& name) const
{
    const std::span<const QStringView> names = historyFieldNames(current().gameId);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return field(int(i));
    throw std::out_of_range("unknown field name");
}

}  // namespace mirkano
