#pragma once
// The real histories with their prize data bundled with the project
// (data/loto6-prizes.csv, loto7-prizes.csv, miniloto-prizes.csv), beside the
// plain CSVs of the sample histories.

#include "core/game/game.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace mirkano::test {

inline QString samplePrizesCsvPath(GameId game)
{
    const QDir data = QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).dir();
    return data.filePath(mirkano::game(game).cliName.toString() + QStringLiteral("-prizes.csv"));
}

}  // namespace mirkano::test
