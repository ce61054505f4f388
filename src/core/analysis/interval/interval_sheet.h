#pragma once
// The layout shared by the two interval sheets (出現間隔分析 and 数字間隔分析):
// the draw number, then each of the game's numbers (mains, then bonuses) with
// its figure to its right — Loto 6: 15 columns — one row per history row, and
// the two-row header at the top and again, mirrored, at the bottom.

#include "core/game/game.h"
#include "core/sheet/sheet.h"

#include <QString>

#include <vector>

namespace mirkano::interval {

inline constexpr int kFirstDataRow = 3;

// Column of the k-th number (k = 0 … numbersPerDraw − 1) and of its figure.
constexpr int numberColumn(int k) { return 2 * k + 2; }
constexpr int figureColumn(int k) { return 2 * k + 3; }
// The sheet's columns, and the column of the first bonus (Loto 6: 15 and 14).
inline int columnCount(const Game& g) { return 2 * g.numbersPerDraw() + 1; }
inline int bonusColumn(const Game& g) { return numberColumn(g.mains); }

struct HeaderTexts {
    QString mainTitle;   // over the main numbers, written in column mains + 1 (Loto 6: 7)
    QString bonusTitle;  // over the bonus numbers, written in the first bonus column
    QString figureName;  // name of every figure column
    bool framedTitles;   // the title row reads as two framed blocks
};

// The sheet of the game for a history whose last complete draw is
// latestDrawNo, with both headers drawn.
Sheet makeIntervalSheet(const Game& game, int latestDrawNo, const HeaderTexts& texts);

// The texts of the figures (intervals, differences), each made once and
// shared by every cell of the sheet that shows it rather than made again per
// cell: a long history repeats the same few hundred figures hundreds of
// thousands of times. Figures are ≥ −offset.
class FigureTexts {
public:
    FigureTexts(Sheet& sheet, int offset, QString (*make)(int)) : m_sheet(sheet), m_offset(offset), m_make(make) {}
    void set(int col, int row, int figure)
    {
        const std::size_t i = std::size_t(figure + m_offset);
        if (i >= m_texts.size())
            m_texts.resize(i + 1, kNone);
        if (m_texts[i] == kNone)
            m_texts[i] = m_sheet.addSharedText(m_make(figure));
        m_sheet.setSharedText(col, row, m_texts[i]);
    }

private:
    static constexpr std::uint32_t kNone = 0;
    Sheet& m_sheet;
    int m_offset;
    QString (*m_make)(int);
    std::vector<std::uint32_t> m_texts;
};

}  // namespace mirkano::interval
