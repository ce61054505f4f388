#pragma once
// Geometry of the "ウィンドウ" commands, computed here because the MDI area
// itself only cascades and tiles in a grid.

#include <QRect>
#include <QSize>

#include <vector>

class QMdiArea;

namespace mirkano {

// n windows stacked top to bottom, each the full width of the area.
std::vector<QRect> tileHorizontally(const QRect& area, int n);
// n windows side by side, each the full height of the area.
std::vector<QRect> tileVertically(const QRect& area, int n);
// Minimised windows of the given sizes lined up left to right along the
// bottom of the area, a new line above when a line is full.
std::vector<QRect> iconRow(const QRect& area, const std::vector<QSize>& sizes);

enum class Arrangement { TileHorizontal, TileVertical, Cascade, ArrangeIcons };

// Arranges the children of the area: the tilings use the windows that are not
// minimised (the active one first), the icon row uses the minimised ones.
void arrange(QMdiArea* area, Arrangement how);

}  // namespace mirkano
