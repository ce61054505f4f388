#pragma once
// Names of a draw's bonus columns, shared by the analysis sheets. A Loto 6
// sheet keeps the title its layout gives its one bonus column ("ボ数字",
// "ボ数", "ボーナス数字"). The other games name a bonus column by its width
// alone, so that columns of one width read alike in every window: "ボ数" in
// a narrow column (under 7 character widths), "ボ数字" in a middle one (under
// 9), "ボーナス数字" in a wide one; numbered 1 and 2 where the game draws two
// bonus numbers.

#include "core/game/game.h"

#include <QString>

namespace mirkano {

inline QString bonusColumnName(const Game& game, int j, const QString& loto6Title, double width)
{
    if (game.id == GameId::Loto6)
        return loto6Title;
    const QString name = width < 7   ? QStringLiteral("ボ数")
                         : width < 9 ? QStringLiteral("ボ数字")
                                     : QStringLiteral("ボーナス数字");
    return game.bonuses == 1 ? name : name + QString::number(j + 1);
}

}  // namespace mirkano
