#include "core/maintenance/entry_model.h"

#include "core/history/draw_rule.h"

namespace mirkano {

namespace {

QString shownNumber(int n) { return n == 0 ? QString() : QString::number(n); }

}  // namespace

HistoryTableModel::HistoryTableModel(HistoryEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), m_editor(editor), m_game(editor.game())
{
    const History rows = editor.rows();
    m_rows.reserve(rows.size());
    m_usedDrawNos.reserve(rows.size());
    for (const DrawRecord& r : rows) {
        Row row;
        row.shown[0] = QString::number(r.drawNo);
        for (int i = 0; i < r.numberCount(); ++i)
            row.shown[std::size_t(i + 1)] = shownNumber(r.numbers[std::size_t(i)]);
        row.stored = r;
        m_rows.push_back(std::move(row));
        m_usedDrawNos.insert(r.drawNo);
    }
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : fieldCount(); }

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::ToolTipRole) {
        const QString rule = numberProblemText(problemAt(index), m_game);
        return rule.isEmpty() ? QVariant() : QVariant(rule);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return m_rows[std::size_t(index.row())].shown[std::size_t(index.column())];
}

std::span<const QString> HistoryTableModel::numberTexts(int row) const
{
    return numberTextsOf(m_rows[std::size_t(row)]);
}

std::span<const QString> HistoryTableModel::numberTextsOf(const Row& row) const
{
    return std::span<const QString>(row.shown).subspan(1, std::size_t(fieldCount() - 1));
}

NumberProblem HistoryTableModel::problemAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() == kDrawNoColumn || index.row() >= rowCount())
        return NumberProblem::None;
    return numberProblem(numberTexts(index.row()), index.column() - 1, m_game);
}

QString HistoryTableModel::rowName(int row) const
{
    const FieldReading drawNo = readDrawNoText(m_rows.at(std::size_t(row)).shown[0]);
    return drawNo.kind == FieldReading::Valid ? QStringLiteral("第%1回").arg(drawNo.value)
                                              : QStringLiteral("%1行目").arg(row + 1);
}

QString HistoryTableModel::placeOf(const QModelIndex& index) const
{
    return rowName(index.row()) + u' ' + historyFieldNames(m_game)[std::size_t(index.column())].toString();
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < fieldCount() ? historyFieldNames(m_game)[std::size_t(section)].toString()
                                                      : QVariant();
    return section + 1;
}

Qt::ItemFlags HistoryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != kDrawNoColumn || m_rows[std::size_t(index.row())].added)
        f |= Qt::ItemIsEditable;
    return f;
}

QString HistoryTableModel::store(Row& row)
{
    const FieldReading drawNo = readDrawNoText(row.shown[0]);
    if (drawNo.kind != FieldReading::Valid)
        return {};  // not a record yet
    DrawRecord next;
    next.drawNo = drawNo.value;
    next.gameId = m_game;
    // A cell that breaks the rule on its own or repeats another number of the
    // draw keeps what is stored (nothing, in a new row).
    const std::span<const QString> texts = numberTextsOf(row);
    for (int i = 0; i < int(texts.size()); ++i) {
        if (numberProblem(texts, i, m_game) == NumberProblem::None)
            next.numbers[std::size_t(i)] = readNumberText(texts[std::size_t(i)], m_game).value;
        else if (row.stored)
            next.numbers[std::size_t(i)] = row.stored->numbers[std::size_t(i)];
    }
    // Stored values of marked cells may still meet a new number of the draw:
    // the file then keeps the draw as it was until the marks are cleared.
    if (hasRepeatedNumber(next))
        return {};
    if (row.stored == next)
        return {};
    if ((!row.stored || row.stored->drawNo != next.drawNo) && m_usedDrawNos.count(next.drawNo))
        return QStringLiteral("回数 %1 はすでに履歴にあります。").arg(next.drawNo);
    try {
        if (row.stored)
            m_editor.updateRow(row.stored->drawNo, next);
        else
            m_editor.insertRow(next);
    } catch (const Error& e) {
        return e.message();
    }
    if (row.stored)
        m_usedDrawNos.erase(row.stored->drawNo);
    m_usedDrawNos.insert(next.drawNo);
    row.stored = next;
    return {};
}

bool HistoryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    Row& row = m_rows[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    const std::size_t col = std::size_t(index.column());
    if (row.shown[col] == text)
        return true;

    if (index.column() == kDrawNoColumn) {
        // The 回数 of an added row: refused unless it can be stored.
        const FieldReading drawNo = readDrawNoText(text);
        if (drawNo.kind == FieldReading::Empty && !row.stored) {
            row.shown[col] = text;
        } else if (drawNo.kind != FieldReading::Valid) {
            emit refused(QStringLiteral("回数は 1～%1 の整数で入力してください。").arg(kMaxDrawNo));
            return false;
        } else if ((!row.stored || row.stored->drawNo != drawNo.value) && m_usedDrawNos.count(drawNo.value)) {
            emit refused(QStringLiteral("回数 %1 はすでに履歴にあります。").arg(drawNo.value));
            return false;
        } else {
            const QString before = row.shown[col];
            row.shown[col] = QString::number(drawNo.value);
            if (const QString failure = store(row); !failure.isEmpty()) {
                row.shown[col] = before;
                emit refused(failure);
                return false;
            }
        }
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        return true;
    }

    // A number keeps its text on screen even when it cannot be stored. Its
    // neighbours are shown again too: a repeat marks or clears both cells.
    row.shown[col] = text;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit dataChanged(this->index(index.row(), 1), this->index(index.row(), fieldCount() - 1),
                     {Qt::BackgroundRole, Qt::ToolTipRole});
    if (const QString failure = store(row); !failure.isEmpty())
        emit refused(failure);
    return true;
}

int HistoryTableModel::insertEmptyRowAfter(int row)
{
    const int at = std::clamp(row + 1, 0, rowCount());
    beginInsertRows({}, at, at);
    Row added;
    added.added = true;
    // The next 回数: one past the highest stored or proposed so far.
    int highest = 0;
    for (const Row& r : m_rows) {
        const FieldReading n = readDrawNoText(r.shown[0]);
        if (n.kind == FieldReading::Valid)
            highest = std::max(highest, n.value);
    }
    if (isDrawNo(highest + 1))
        added.shown[0] = QString::number(highest + 1);
    m_rows.insert(m_rows.begin() + at, std::move(added));
    endInsertRows();
    return at;
}

bool HistoryTableModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    const Row& r = m_rows[std::size_t(row)];
    if (r.stored) {
        try {
            m_editor.deleteRow(r.stored->drawNo);
        } catch (const Error& e) {
            emit refused(e.message());
            return false;
        }
        m_usedDrawNos.erase(r.stored->drawNo);
    }
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

std::optional<QModelIndex> HistoryTableModel::firstWrongNumber() const
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 1; c < fieldCount(); ++c)
            if (problemAt(index(r, c)) != NumberProblem::None)
                return index(r, c);
    return std::nullopt;
}

std::optional<QModelIndex> HistoryTableModel::firstRowWithoutDrawNo() const
{
    for (int r = 0; r < rowCount(); ++r) {
        const Row& row = m_rows[std::size_t(r)];
        if (row.stored)
            continue;
        for (int c = 1; c < fieldCount(); ++c)
            if (!row.shown[std::size_t(c)].isEmpty())
                return index(r, kDrawNoColumn);
    }
    return std::nullopt;
}

std::optional<DrawRecord> HistoryTableModel::storedRow(int row) const { return m_rows.at(std::size_t(row)).stored; }

bool HistoryTableModel::isAddedRow(int row) const { return m_rows.at(std::size_t(row)).added; }

}  // namespace mirkano
