#pragma once
// Every analysis is a pure builder (history and start-up tables in, sheet
// out) plus the facts of the window that shows it. The desktop program and
// the command-line tool both find analyses here by their fixed IDs.

#include "core/sheet/sheet.h"
#include "core/history/history.h"
#include "core/history/startup_tables.h"

#include <QString>

#include <string_view>
#include <vector>

namespace mirkano {

// The colour legend shown above a window's grid.
struct Legend {
    enum class Kind { None, Balls, Swatch, BallsAndSwatch };
    Kind kind = Kind::None;
    // Balls: a shaded ball of ballPixels x ballPixels in each colour, before
    // "：本数字" and "：ボーナス数字".
    int ballPixels = 13;
    Rgb mainColor{};
    Rgb bonusColor{};
    // Swatch: a bordered colour sample followed by swatchText.
    // BallsAndSwatch: the two balls, then the swatch.
    Rgb swatchColor{};
    QString swatchText;
};

struct WindowFacts {
    QString caption;
    int heightTwips = 0;
    int widthTwips = 0;
    QString description;  // the one-line description above the grid
    Legend legend;
    bool hasPrint = true;        // shows the "印刷" button
    bool printGreyed = false;    // the button was once shown disabled here; it now prints like every other
    bool followsResize = false;  // grid fills the window and follows resizing
};

using SheetBuilder = Sheet (*)(const History&, const StartupTables&);

struct Analysis {
    const char* id;  // fixed ID used by the command-line tool
    WindowFacts facts;
    SheetBuilder build;
};

// The analyses of a game, in menu order. Their windows differ between games
// in size (a column per number or per drawn position) and where a
// description names the game's facts; the builders read the game from the
// start-up tables they are given.
const std::vector<Analysis>& analyses(GameId game);
// The analysis of the game with this ID, or nullptr.
const Analysis* findAnalysis(GameId game, std::string_view id);
// Loto 6's.
inline const std::vector<Analysis>& analyses() { return analyses(GameId::Loto6); }
inline const Analysis* findAnalysis(std::string_view id) { return findAnalysis(GameId::Loto6, id); }

}  // namespace mirkano
