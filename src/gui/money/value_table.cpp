// The rows of the window 期待値's table as text, newest draw first.

#include "gui/money/value_table.h"

#include <algorithm>

namespace mirkano {

namespace {

const QString kHeaders[] = {
    QStringLiteral("回数"),       QStringLiteral("払戻し"),  QStringLiteral("無作為な1口の価値"),
    QStringLiteral("比"),         QStringLiteral("口数とその求め方"), QStringLiteral("キャリーオーバー"),
};

// "1,234,567": digits in groups of three, as amounts of yen are written.
QString grouped(long long n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return n < 0 ? QStringLiteral("-") + digits : digits;
}

}  // namespace

QString yenText(long long yen) { return grouped(yen) + QStringLiteral("円"); }

QString yenPerTicketText(double yen) { return QString::number(yen, 'f', 1) + QStringLiteral("円"); }

void ValueTableModel::setDraws(std::vector<DrawValue> draws, bool carryOver)
{
    beginResetModel();
    m_draws = std::move(draws);
    std::reverse(m_draws.begin(), m_draws.end());
    m_carryOver = carryOver;
    endResetModel();
}

int ValueTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_draws.size()); }

int ValueTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QString ValueTableModel::text(int row, int column) const
{
    const DrawValue& v = m_draws[std::size_t(row)];
    switch (column) {
    case 0:
        return QString::number(v.drawNo);
    case 1:
        return yenPerTicketText(v.paidOut);
    case 2:
        return yenPerTicketText(v.random);
    case 3:
        return v.ratio ? QString::number(*v.ratio, 'f', 2) : QStringLiteral("－");
    case 4:
        return grouped(v.tickets) + QStringLiteral("口（")
               + QString::fromUtf8(ticketsFromWord(v.ticketsFrom)) + QStringLiteral("）");
    case 5:
        if (!m_carryOver)
            return QStringLiteral("－");
        return v.carryOut > 0 ? yenText(v.carryOut) : QStringLiteral("なし");
    default:
        return {};
    }
}

QVariant ValueTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(index.column() == 4 ? Qt::AlignLeft | Qt::AlignVCenter
                                                                     : Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant ValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 6)
        return {};
    return kHeaders[section];
}

}  // namespace mirkano
