#pragma once
// The real histories of the three games for tests: data/loto6.csv (read
// through the store's CSV reader), data/loto7.csv and data/miniloto.csv
// (回数,日付, the main numbers, the bonus numbers), as rows of their game.

#include "core/game/game.h"
#include "core/history/history.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <stdexcept>

namespace mirkano::test {

inline History readGameCsv(GameId id)
{
    const Game& g = game(id);
    const QString path =
        QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).dir().filePath(g.cliName.toString() + QStringLiteral(".csv"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + path.toStdString());
    History h;
    f.readLine();  // the header
    while (!f.atEnd()) {
        const QList<QByteArray> fields = f.readLine().trimmed().split(',');
        if (fields.size() != 2 + g.numbersPerDraw())
            continue;
        DrawRecord d{fields[0].toInt(), {}, id};
        for (int i = 0; i < g.numbersPerDraw(); ++i)
            d.numbers[std::size_t(i)] = fields[2 + i].toInt();
        h.push_back(d);
    }
    return h;
}

// The real history of a game, read once.
inline const History& gameSample(GameId id)
{
    static const History loto6 = sampleHistory();
    static const History loto7 = readGameCsv(GameId::Loto7);
    static const History mini = readGameCsv(GameId::MiniLoto);
    switch (id) {
    case GameId::Loto7: return loto7;
    case GameId::MiniLoto: return mini;
    case GameId::Loto6: break;
    }
    return loto6;
}

}  // namespace mirkano::test

#include "core/history/history_store.h"

namespace mirkano::test {

// Saves the rows as a history file of their game; false while the store
// cannot keep that game's file (its draws and its record of the game) yet.
inline bool saveGameFile(const QString& path, const History& rows, GameId id)
{
    try {
        saveHistory(path, rows, id);
        return historyFileGame(path) == id && loadHistory(path) == rows;
    } catch (const HistoryError&) {
        return false;
    }
}

}  // namespace mirkano::test
