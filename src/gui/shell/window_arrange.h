#pragma once
// Geometry of the "ウィンドウ" commands, computed here because the MDI area
// itself only tiles in a grid and cascades windows at their size hints.

#include <QRect>
#include <QSize>

#include <vector>

class QMdiArea;

namespace mirkano {

// n windows stacked top to bottom, each the full width of the area. No
// window is made lower or narrower than `minimum`: when the area is too low
// for n such windows, the stack goes on in a further column to the right
// (the columns sharing the width, columns of equal counts as far as n
// allows), and when even the columns do not fit across, each keeps the
// minimum width and they reach past the right edge, where the frame scrolls.
// The order runs down the first column, then down the next.
std::vector<QRect> tileHorizontally(const QRect& area, int n, QSize minimum = {});
// n windows side by side, each the full height of the area; the same with
// rows for columns: a further row below, reaching past the bottom edge when
// the rows do not fit. The order runs along the first row, then the next.
std::vector<QRect> tileVertically(const QRect& area, int n, QSize minimum = {});
// The smallest tile the tilings make for children in this area: room for
// the caption, a window's line of description and buttons, and some rows of
// its grid, in the area's font.
QSize smallestTile(const QMdiArea* area);
// Minimised windows of the given sizes lined up left to right along the
// bottom of the area, a new line above when a line is full.
std::vector<QRect> iconRow(const QRect& area, const std::vector<QSize>& sizes);
// The part of the area above the icons (the whole area when there are none).
QRect aboveIcons(const QRect& area, const std::vector<QRect>& icons);
// Windows of the given sizes stepped down and to the right by `step` from the
// top-left corner, each keeping its own size as far as the area reaches below
// and to the right of its corner. A window that would be left smaller than
// half the area there (and smaller than its own size) starts the steps again
// at the corner.
std::vector<QRect> cascade(const QRect& area, const std::vector<QSize>& sizes, int step);

enum class Arrangement { TileHorizontal, TileVertical, Cascade, ArrangeIcons };

// Arranges the children of the area: the tilings and the cascade use the
// windows that are not minimised, the icon row the minimised ones. The tilings
// put the active window first and line up the icons too, tiling the area above
// them, each tile at least smallestTile(); the cascade keeps the stacking
// order, the window at the back at the corner and the front one last. The
// area is scrolled back to its top-left corner first, so that the windows
// are placed from there.
void arrange(QMdiArea* area, Arrangement how);

}  // namespace mirkano
