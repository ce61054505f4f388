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

QRect aboveIcons(const QRect& area, const std::vector<QRect>& icons)
{
    QRect rest = area;
    for (const QRect& icon : icons)
        rest.setBottom(std::min(rest.bottom(), icon.top() - 1));
    return rest;
}

std::vector<QRect> cascade(const QRect& area, const std::vector<QSize>& sizes, int step)
{
    std::vector<QRect> rects;
    int offset = 0;
    for (const QSize& own : sizes) {
        auto placed = [&](int at) {
            const QPoint corner = area.topLeft() + QPoint(at, at);
            const QSize room(area.right() + 1 - corner.x(), area.bottom() + 1 - corner.y());
            return QRect(corner, own.boundedTo(room));
        };
        QRect r = placed(offset);
        const QSize enough = own.boundedTo(area.size() / 2);
        if (offset > 0 && (r.width() < enough.width() || r.height() < enough.height())) {
            offset = 0;
            r = placed(offset);
        }
        rects.push_back(r);
        offset += step;
    }
    return rects;
}

void arrange(QMdiArea* area, Arrangement how)
{
    const QRect client = area->viewport()->rect();
    auto restore = [](QMdiSubWindow* w) {
        if (w->isMaximized())
            w->showNormal();
    };

    if (how == Arrangement::Cascade) {
        // Back to front, so that every title bar stays in sight.
        std::vector<QMdiSubWindow*> chosen;
        for (QMdiSubWindow* w : area->subWindowList(QMdiArea::StackingOrder))
            if (w->isVisible() && !w->isMinimized())
                chosen.push_back(w);
        if (chosen.empty())
            return;
        std::vector<QSize> sizes;
        for (QMdiSubWindow* w : chosen) {
            restore(w);
            sizes.push_back(w->size());
        }
        // One step is the height of a title bar.
        const QWidget* content = chosen.front()->widget();
        const int step = content ? std::max(8, content->mapTo(chosen.front(), QPoint(0, 0)).y()) : 24;
        const std::vector<QRect> rects = cascade(client, sizes, step);
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            chosen[i]->setGeometry(rects[i]);
            chosen[i]->raise();
        }
        return;
    }

    // Most recently active first.
    QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    std::reverse(windows.begin(), windows.end());
    std::vector<QMdiSubWindow*> icons, others;
    for (QMdiSubWindow* w : windows)
        if (w->isVisible())
            (w->isMinimized() ? icons : others).push_back(w);

    std::vector<QSize> iconSizes;
    for (QMdiSubWindow* w : icons)
        iconSizes.push_back(w->size());
    const std::vector<QRect> iconRects = iconRow(client, iconSizes);
    for (std::size_t i = 0; i < icons.size(); ++i)
        icons[i]->setGeometry(iconRects[i]);
    if (how == Arrangement::ArrangeIcons || others.empty())
        return;

    for (QMdiSubWindow* w : others)
        restore(w);
    const QRect rest = aboveIcons(client, iconRects);
    const int n = int(others.size());
    const std::vector<QRect> rects =
        how == Arrangement::TileHorizontal ? tileHorizontally(rest, n) : tileVertically(rest, n);
    for (std::size_t i = 0; i < others.size(); ++i)
        others[i]->setGeometry(rects[i]);
}

}  // namespace mirkano
