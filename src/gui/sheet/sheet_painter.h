#pragma once
// The one way a sheet's cells are painted, on screen and on paper: the
// backgrounds, then the texts (fitted to their cells, or spilling over empty
// neighbours), then the borders on top. The caller says which columns and
// rows go where; the grid passes the cells in view, a printed page the cells
// of that page. Everything is painted in grid pixels (96 to the inch) through
// the painter's transformation, as vector text, lines and fills.

#include "core/sheet/sheet.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <map>
#include <utility>
#include <vector>

class QPainter;

namespace mirkano {

class SheetPainter {
public:
    struct Span {
        int index;  // column or row, from 1
        int pos;    // left or top in grid pixels
        int size;
    };
    // How a text that does not fit its room at full size is drawn: at a
    // smaller font (never below kSmallestTextPixels), if need be a little
    // narrower, or on two lines; `fits` false when none of these fits.
    struct TextFit {
        bool fits = false;
        QFont font;
        double scaleX = 1.0;
        QString secondLine;  // not empty when the text is drawn on two lines
        QString firstLine;
    };

    // The smallest legible text: no text is drawn smaller, whether by its
    // font size or by narrowing it.
    static constexpr int kSmallestTextPixels = 9;

    explicit SheetPainter(const QFont& font);

    // On paper: white backgrounds are the paper's own, and runs of equal
    // fills and lines are painted as one, so that a page of a printer or a
    // PDF holds a few long lines instead of one per cell side. On screen each
    // cell is painted on its own (only the cells in view are painted).
    void setForPaper(bool on) { m_forPaper = on; }

    // Forgets what was measured for the texts of an earlier sheet.
    void clearCache();

    // Paints the given columns x rows of the sheet.
    void paint(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols, const std::vector<Span>& rows) const;

    // Where the texts of one row go: each text's clip box (its cell and the
    // empty neighbours it spills over), where it stands at full size and its
    // ink (the text without leading and trailing spaces) then, and, when it
    // is not whole there, how it is fitted into textBox instead.
    struct TextPlacement {
        int column = 0;
        Cell cell;
        QRect box;
        QRect fullSize;
        int inkLeft = 0, inkRight = 0;
        QRect textBox;
        TextFit fit;
    };
    std::vector<TextPlacement> layoutTexts(const Sheet& sheet, const std::vector<Span>& cols, const Span& row) const;

    // How a text fits a box of width x height pixels.
    TextFit fitText(const QString& text, int width, int height) const;
    std::pair<const QStaticText*, QPointF> placePlainText(const QRect& box, const Cell& cell) const;
    // The width of a text in the sheet font.
    int textWidth(const QString& text) const;
    const QFont& font() const { return m_font; }

private:
    void drawPlainText(QPainter& p, const QRect& box, const Cell& cell) const;
    void drawText(QPainter& p, const TextPlacement& t) const;
    void paintBackgrounds(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                          const std::vector<Span>& rows) const;
    void paintBorders(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                      const std::vector<Span>& rows) const;
    void paintBorderRuns(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                         const std::vector<Span>& rows) const;

    QFont m_font;
    bool m_forPaper = false;
    mutable std::map<std::tuple<QString, int, int>, TextFit> m_fits;
    mutable QHash<QString, int> m_widths;
    mutable QHash<QString, QStaticText> m_laidOut;
};

}  // namespace mirkano
