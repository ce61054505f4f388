#pragma once
// The real histories with their prize data bundled with the project
// (data/loto6-prizes.csv, loto7-prizes.csv, miniloto-prizes.csv), beside the
// plain CSVs of the sample histories; and hand-made prize data of a draw.

#include "core/game/game.h"
#include "core/history/draw_prizes.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace mirkano::test {

inline QString samplePrizesCsvPath(GameId game)
{
    const QDir data = QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).dir();
    return data.filePath(mirkano::game(game).cliName.toString() + QStringLiteral("-prizes.csv"));
}

// A Loto 6 draw's prize data: 口数 and 賞金 of 1等 … 5等, the carry-over
// into the next draw and the sales.
inline DrawPrizes loto6Draw(int drawNo, std::array<std::int64_t, 5> winners, std::array<Yen, 5> prize,
                            std::optional<Yen> carry, std::optional<Yen> sales = std::nullopt)
{
    DrawPrizes p;
    p.drawNo = drawNo;
    for (std::size_t c = 0; c < 5; ++c) {
        p.winners[c] = winners[c];
        p.prize[c] = prize[c];
    }
    p.carryOver = carry;
    p.sales = sales;
    return p;
}

}  // namespace mirkano::test
