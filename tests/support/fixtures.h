#pragma once
// Small histories for tests, written as draw number and seven numbers
// (0 stands for an empty field).

#include "core/sheet/sheet.h"
#include "core/history/history.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>

namespace mirkano::test {

struct Row {
    int drawNo;
    std::array<int, kMaxNumbersPerDraw> numbers;
};

inline History makeHistory(std::initializer_list<Row> rows)
{
    History h;
    for (const Row& r : rows) {
        DrawRecord d{r.drawNo};
        std::copy(r.numbers.begin(), r.numbers.end(), d.numbers.begin());
        h.push_back(d);
    }
    return h;
}

// A history of another game: draw number, then the game's numbers (mains,
// then bonuses; 0 for an empty field).
struct GameRow {
    int drawNo;
    std::array<int, kMaxNumbersPerDraw> numbers;
};

inline History makeGameHistory(GameId game, std::initializer_list<GameRow> rows)
{
    History h;
    for (const GameRow& r : rows)
        h.push_back(DrawRecord{r.drawNo, r.numbers, game});
    return h;
}

// Texts of one row, columns first … last (every other column with step 2).
inline QStringList rowTexts(const Sheet& s, int row, int first, int last, int step = 1)
{
    QStringList out;
    for (int c = first; c <= last; c += step)
        out << s.text(c, row);
    return out;
}

// The drawn sides of a cell as "LRTB", a dash for each side not drawn.
inline std::string borderSides(const Cell& x)
{
    return {x.left.on ? 'L' : '-', x.right.on ? 'R' : '-', x.top.on ? 'T' : '-',
            x.bottom.on ? 'B' : '-'};
}

// The real history bundled with the project (draws 1 … 2137).
History sampleHistory();
// The real history of a game bundled with the project: Loto 6 as above,
// Loto 7 draws 1 … 691 (data/loto7.csv), Mini Loto 1 … 1400 (data/miniloto.csv).
History sampleHistory(GameId game);
// The bundled CSV of a game's real history.
QString sampleCsvPath(GameId game);

// A folder that is removed when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    QString path(const QString& name) const;

private:
    QString m_path;
};

}  // namespace mirkano::test

namespace mirkano {
inline void PrintTo(const DrawRecord& r, std::ostream* os)
{
    *os << r.drawNo << ":";
    for (int n : r.all())
        *os << " " << n;
}
inline void PrintTo(const Rgb& c, std::ostream* os)
{
    *os << "RGB(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}
}  // namespace mirkano

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
