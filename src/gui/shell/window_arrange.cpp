#include "gui/shell/window_arrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace mirkano {

namespace {

// Splits `length` into n parts, the first ones a pixel longer when it does
// not divide evenly, so that the parts fill it exactly.
std::vector<std::pair<int, int>> split(int start, int length, int n)
{
    std::vector<std::pair<int, int>> parts;
    const int base = length / n, extra = length % n;
    int pos = start;
    for (int i = 0; i < n; ++i) {
        const int size = base + (i < extra ? 1 : 0);
        parts.emplace_back(pos, size);
        pos += size;
    }
    return parts;
}

}  // namespace

std::vector<QRect> tileHorizontally(const QRect& area, int n)
{
    std::vector<QRect> rects;
    if (n <= 0)
        return rects;
    for (auto [top, height] : split(area.top(), area.height(), n))
        rects.emplace_back(area.left(), top, area.width(), height);
    return rects;
}

std::vector<QRect> tileVertically(const QRect& area, int n)
{
    std::vector<QRect> rects;
    if (n <= 0)
        return rects;
    for (auto [left, width] : split(area.left(), area.width(), n))
        rects.emplace_back(left, area.top(), width, area.height());
    return rects;
}

std::vector<QRect> iconRow(const QRect& area, const std::vector<QSize>& sizes)
{
    std::vector<QRect> rects;
    int x = area.left();
    int lineBottom = area.bottom() + 1;
    int lineHeight = 0;
    for (const QSize& s : sizes) {
        if (x > area.left() && x + s.width() > area.right() + 1) {
            x = area.left();
            lineBottom -= lineHeight;
            lineHeight = 0;
        }
        rects.emplace_back(x, lineBottom - s.height(), s.width(), s.height());
        x += s.width();
        lineHeight = std::max(lineHeight, s.height());
    }
    return rects;
}

void arrange(QMdiArea* area, Arrangement how)
{
    if (how == Arrangement::Cascade) {
        area->cascadeSubWindows();
        return;
    }
    // Most recently active first.
    QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    std::reverse(windows.begin(), windows.end());
    const QRect client = area->viewport()->rect();

    std::vector<QMdiSubWindow*> chosen;
    for (QMdiSubWindow* w : windows)
        if (w->isVisible() && w->isMinimized() == (how == Arrangement::ArrangeIcons))
            chosen.push_back(w);
    if (chosen.empty())
        return;

    std::vector<QRect> rects;
    if (how == Arrangement::ArrangeIcons) {
        std::vector<QSize> sizes;
        for (QMdiSubWindow* w : chosen)
            sizes.push_back(w->size());
        rects = iconRow(client, sizes);
    } else {
        for (QMdiSubWindow* w : chosen)
            if (w->isMaximized())
                w->showNormal();
        rects = how == Arrangement::TileHorizontal ? tileHorizontally(client, int(chosen.size()))
                                                   : tileVertically(client, int(chosen.size()));
    }
    for (std::size_t i = 0; i < chosen.size(); ++i)
        chosen[i]->setGeometry(rects[i]);
}

}  // namespace mirkano
