#pragma once
// The real history of each game for the analysis tests, read from the CSV
// files bundled beside the Loto 6 sample (data/loto6.csv, loto7.csv,
// miniloto.csv: 回数,日付, then the game's numbers, mains first), and a long
// history of a game made by repeating its real draws.

#include "core/history/history.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <stdexcept>

namespace mirkano::test {

inline QString gameCsvPath(GameId id)
{
    const QString dir = QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).absolutePath();
    return dir + u'/' + game(id).cliName.toString() + QStringLiteral(".csv");
}

inline History readGameCsv(GameId id)
{
    QFile f(gameCsvPath(id));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + f.fileName().toStdString());
    const Game& g = game(id);
    History h;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u',');
        DrawRecord d{fields.at(0).toInt(), {}, id};
        for (int k = 0; k < g.numbersPerDraw(); ++k)
            d.numbers[std::size_t(k)] = fields.at(2 + k).toInt();
        h.push_back(d);
    }
    return h;
}

// Each game's real history, read once.
inline const History& realHistory(GameId id)
{
    static const History histories[] = {readGameCsv(GameId::Loto6), readGameCsv(GameId::Loto7),
                                        readGameCsv(GameId::MiniLoto)};
    return histories[std::size_t(id)];
}

// Draws 1 … draws, the real draws of the game over and over.
inline History repeatedGameHistory(GameId id, int draws)
{
    const History& real = realHistory(id);
    History h;
    h.reserve(std::size_t(draws));
    for (int k = 1; k <= draws; ++k)
        h.push_back(DrawRecord{k, real[std::size_t(k - 1) % real.size()].numbers, id});
    return h;
}

}  // namespace mirkano::test
