#pragma once
// The one place where the sheet's own units and the windows' twips become
// pixels.
//
// - Twips: 15 twips to a pixel (1440 twips an inch at 96 dots per inch).
// - Column width: a width of w is w character widths of the sheet font, one
//   character being the advance of "0" plus two pixels of cell padding. With
//   the 12-pixel sheet font that is 8 pixels, so 2 → 16, 5 → 40, 9 → 72,
//   20 → 160: a full-width character fits 2, six fit 9.
// - Row height: a height of h is h × 1.6 pixels, so 10 → 16, 12 → 19 and
//   15 → 24 pixels. At this scale each window's grid of its visible rows
//   fills the window's fixed height as designed (for example 52 rows of the
//   interval windows in 13920 twips).

#include <QFont>
#include <QFontMetrics>

#include <cmath>

namespace mirkano {

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// Japanese-capable typefaces, chosen by name so that the text renders the same
// on every Linux desktop that has the IPA fonts.
QFont sheetFont();
QFont uiFont();

class GridUnits {
public:
    explicit GridUnits(const QFont& font)
        : m_charWidth(QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) + 2)
    {
    }
    double charWidth() const { return m_charWidth; }
    int columnPixels(double width) const { return int(std::lround(width * m_charWidth)); }
    static int rowPixels(double height) { return int(std::lround(height * 1.6)); }

private:
    double m_charWidth;
};

}  // namespace mirkano
