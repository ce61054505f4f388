#pragma once
// The table of the window 期待値: one row per draw with prize data, newest
// first: 回数, 払戻し, 無作為な1口の価値, 比, 口数とその求め方, キャリーオーバー.
// A model over the report's draws, so that thousands of rows cost nothing
// until they are shown.

#include "core/money/ticket_value.h"

#include <QAbstractTableModel>

#include <vector>

namespace mirkano {

class ValueTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ValueTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setDraws(std::vector<DrawValue> draws, bool carryOver);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell as shown.
    QString text(int row, int column) const;

private:
    std::vector<DrawValue> m_draws;  // newest first
    bool m_carryOver = true;         // the game carries money over
};

// Yen as the window writes them: "1,234,567円"; per ticket with one decimal: "97.6円".
QString yenText(long long yen);
QString yenPerTicketText(double yen);

}  // namespace mirkano
