#pragma once
// The draw history: the rows of the history query held in memory for the run.

#include "core/error.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirkano {

// Field names of one history row, in field order.
inline constexpr int kFieldCount = 8;
// Constant-initialised, so it is safe to read from other static initialisers.
inline constexpr std::array<QStringView, kFieldCount> kFieldNames = {
    u"回数", u"第1数字", u"第2数字", u"第3数字", u"第4数字", u"第5数字", u"第6数字", u"ボーナス数字",
};
inline constexpr int kNumbersPerDraw = 7;                   // six main numbers and the bonus
inline constexpr int kMaxNumber = 43;
inline constexpr int kMaxDrawNo = 32767;                     // 回数 is a 16-bit signed value

// One row of the history query. A number field that is empty (or holds
// something that is not a lottery number) reads as 0.
struct DrawRecord {
    int drawNo = 0;                                // 回数
    std::array<int, kNumbersPerDraw> numbers{};    // 第1数字 … 第6数字, then ボーナス数字
    friend bool operator==(const DrawRecord&, const DrawRecord&) = default;
    int main(int i) const { return numbers[std::size_t(i)]; }  // i = 0 … 5
    int bonus() const { return numbers[6]; }
    // A complete draw has all seven numbers, each 1 … 43; every reader skips
    // other rows, so readers may index tables by these numbers directly.
    bool complete() const
    {
        for (int n : numbers)
            if (n < 1 || n > kMaxNumber)
                return false;
        return true;
    }
};

using History = std::vector<DrawRecord>;

// A forward cursor over the history snapshot: first row, next row, end test,
// fields by name or by position. Reading never touches the file.
class HistoryRecordset {
public:
    HistoryRecordset() = default;
    explicit HistoryRecordset(History rows) : m_rows(std::move(rows)) {}

    int recordCount() const { return int(m_rows.size()); }
    void moveFirst() { m_pos = 0; }
    void moveNext() { if (m_pos < m_rows.size()) ++m_pos; }
    bool eof() const { return m_pos >= m_rows.size(); }
    const DrawRecord& current() const { return m_rows.at(m_pos); }
    // Field by position (0 = 回数, 1 … 6 main numbers, 7 bonus); empty reads as nullopt.
    std::optional<int> field(int index) const;
    // Field by name; throws std::out_of_range for an unknown name.
    std::optional<int> field(const QString& name) const;

    const History& rows() const { return m_rows; }

private:
    History m_rows;
    std::size_t m_pos = 0;
};

// A failure to read or write a history file; the message names the file and
// the cause, in Japanese, ready for a message box or stderr.
class HistoryError : public Error {
public:
    using Error::Error;
};

}  // namespace mirkano
