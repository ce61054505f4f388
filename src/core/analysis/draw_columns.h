#pragma once
// Names of a draw's bonus columns, shared by the analysis sheets: the name a
// Loto 6 sheet gives its one bonus column ("ボ数字", "ボ数", "ボーナス数字"),
// numbered 1 and 2 where the game draws two bonus numbers.

#include "core/game/game.h"

#include <QString>

namespace mirkano {

inline QString bonusColumnName(const Game& game, int j, const QString& name)
{
    return game.bonuses == 1 ? name : name + QString::number(j + 1);
}

}  // namespace mirkano
