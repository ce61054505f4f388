#pragma once
// The draw history: the rows of the history query held in memory for the run.

#include "core/error.h"
#include "core/game/game.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirkano {

inline constexpr int kMaxDrawNo = 32767;                     // 回数 is a 16-bit signed value

namespace detail {
// Constant-initialised, so it is safe to read from other static initialisers.
inline constexpr QStringView kLoto6FieldNames[] = {
    u"回数", u"第1数字", u"第2数字", u"第3数字", u"第4数字", u"第5数字", u"第6数字", u"ボーナス数字",
};
inline constexpr QStringView kLoto7FieldNames[] = {
    u"回数", u"第1数字", u"第2数字", u"第3数字", u"第4数字", u"第5数字", u"第6数字", u"第7数字",
    u"ボーナス数字1", u"ボーナス数字2",
};
inline constexpr QStringView kMiniLotoFieldNames[] = {
    u"回数", u"第1数字", u"第2数字", u"第3数字", u"第4数字", u"第5数字", u"ボーナス数字",
};
}  // namespace detail

// Field names of one history row of a game, in field order: 回数, the main
// numbers 第1数字 …, then the bonus ボーナス数字 (Loto 7: ボーナス数字1,
// ボーナス数字2). The history file, its CSV and the entry window name the
// fields so.
inline std::span<const QStringView> historyFieldNames(GameId id)
{
    switch (id) {
    case GameId::Loto7:
        return detail::kLoto7FieldNames;
    case GameId::MiniLoto:
        return detail::kMiniLotoFieldNames;
    case GameId::Loto6:
        break;
    }
    return detail::kLoto6FieldNames;
}
// The name of number field i (0 = 第1数字, …, mains + bonuses − 1 = the last bonus).
inline QStringView numberFieldName(GameId id, int i) { return historyFieldNames(id)[std::size_t(i + 1)]; }

// One row of the history query of a game. A number field that is empty (or
// holds something that is not a lottery number) reads as 0. The numbers stand
// main numbers first, then the bonus numbers; slots past the game's count
// stay 0.
struct DrawRecord {
    int drawNo = 0;                                   // 回数
    std::array<int, kMaxNumbersPerDraw> numbers{};    // 第1数字 …, then ボーナス数字 …
    GameId gameId = GameId::Loto6;
    friend bool operator==(const DrawRecord&, const DrawRecord&) = default;

    const Game& facts() const { return game(gameId); }
    int mainCount() const { return facts().mains; }
    int bonusCount() const { return facts().bonuses; }
    int numberCount() const { return facts().numbersPerDraw(); }
    int main(int i) const { return numbers[std::size_t(i)]; }  // i = 0 … mainCount() − 1
    int bonus(int j = 0) const { return numbers[std::size_t(mainCount() + j)]; }
    // The game's numbers of this draw: mains then bonuses; the mains; the bonuses.
    std::span<const int> all() const { return {numbers.data(), std::size_t(numberCount())}; }
    std::span<int> all() { return {numbers.data(), std::size_t(numberCount())}; }
    std::span<const int> mains() const { return {numbers.data(), std::size_t(mainCount())}; }
    std::span<const int> bonuses() const
    {
        return {numbers.data() + mainCount(), std::size_t(bonusCount())};
    }
    // A complete draw has all its game's numbers, each 1 … pool; every reader
    // skips other rows, so readers may index tables by these numbers directly.
    bool complete() const
    {
        const Game& g = facts();
        for (int i = 0; i < g.numbersPerDraw(); ++i)
            if (numbers[std::size_t(i)] < 1 || numbers[std::size_t(i)] > g.pool)
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
    // Field by position (0 = 回数, then the main numbers and the bonus
    // numbers of the row's game: Loto 6 1 … 6 and 7); empty reads as nullopt.
    std::optional<int> field(int index) const;
    // Field by name (historyFieldNames of the row's game); throws
    // std::out_of_range for an unknown name.
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
