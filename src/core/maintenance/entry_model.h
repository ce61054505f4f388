#pragma once
// The rows of the winning-data entry window as an editable table model over
// the history file itself. The model keeps what the screen shows; a change is
// written through the store as one transaction as soon as it is valid, so a
// crash loses at most the row being typed, and nothing invalid is ever stored:
//
// - 回数 (column 0) is fixed for stored draws; a row added in the window gets
//   an editable 回数 and becomes a record once it holds a whole number
//   1 … 32767 that no other row uses. Any other 回数 text is refused (the cell
//   keeps its old text) and `refused` names the cause.
// - A row added in the window proposes the next 回数 (one past the highest in
//   use); it is stored with the first number typed into the row.
// - The columns are those of the history file's game: 回数, its main numbers
//   第1数字 …, then its bonus numbers (ボーナス数字; Loto 7: ボーナス数字1,
//   ボーナス数字2).
// - A number cell keeps whatever was typed, so that it can be marked at once
//   (its tool tip names the rule it breaks, see numberProblem()) and the check
//   on closing can point at it; the stored row takes each number that is
//   empty or 1 … the game's pool and keeps its last valid value for the others.
// - Deleting a row deletes its record.
//
// A failed write (file locked, disk full) is reported through `refused` too;
// the stored row then keeps its last values.

#include "core/history/draw_rule.h"
#include "core/history/history_store.h"

#include <QAbstractTableModel>

#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

namespace mirkano {

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kDrawNoColumn = 0;

    // Shows the rows the editor reads now, in ascending 回数.
    explicit HistoryTableModel(HistoryEditor& editor, QObject* parent = nullptr);

    // The game of the history file.
    GameId game() const { return m_game; }
    // The column of the first bonus number (after the main numbers).
    int firstBonusColumn() const { return 1 + mirkano::game(m_game).mains; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Adds an empty row directly after `row` (-1: at the top) and returns its
    // row number. The row is not a record until its 回数 is valid.
    int insertEmptyRowAfter(int row);
    // Removes the row and its record; false (and `refused`) when the record
    // cannot be deleted, the row then stays.
    bool removeRowAt(int row);

    // The check on closing: the first number cell, row by row and left to
    // right, that breaks a rule of numberProblem().
    std::optional<QModelIndex> firstWrongNumber() const;
    // What is wrong with a number cell as it reads now (None for 回数).
    NumberProblem problemAt(const QModelIndex& index) const;
    // The draw of a row for a message: "第2138回", or "7行目" for a row
    // without a 回数; placeOf() adds the column: "第2138回 ボーナス数字".
    QString rowName(int row) const;
    QString placeOf(const QModelIndex& index) const;
    // The 回数 cell of the first row that has numbers typed in but no valid
    // 回数, so that nothing of it is stored.
    std::optional<QModelIndex> firstRowWithoutDrawNo() const;

    // The row as stored, or nullopt when the row is not a record (yet).
    std::optional<DrawRecord> storedRow(int row) const;
    bool isAddedRow(int row) const;

signals:
    // A change that could not be stored, with the cause for the user.
    void refused(const QString& message);

private:
    struct Row {
        std::array<QString, kMaxNumbersPerDraw + 1> shown;  // 回数, then the numbers
        std::optional<DrawRecord> stored;
        bool added = false;  // inserted in this window: its 回数 may be typed
    };

    // The number texts of a row as shown (第1数字 … the last bonus).
    std::span<const QString> numberTextsOf(const Row& row) const;
    std::span<const QString> numberTexts(int row) const;
    int fieldCount() const { return 1 + mirkano::game(m_game).numbersPerDraw(); }
    // Writes what is valid of the row's shown texts; the message on failure.
    QString store(Row& row);

    HistoryEditor& m_editor;
    GameId m_game;
    std::vector<Row> m_rows;
    std::unordered_set<int> m_usedDrawNos;  // 回数 of every record
};

}  // namespace mirkano
