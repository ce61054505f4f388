#include "gui/shell/window_arrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

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

QRect transposed(const QRect& r) { return QRect(r.y(), r.x(), r.height(), r.width()); }

}  // namespace

std::vector<QRect> tileHorizontally(const QRect& area, int n, QSize minimum)
{
    std::vector<QRect> rects;
    if (n <= 0)
        return rects;
    // As many windows to a column as the minimum height allows, then as few
    // columns as hold them all, the windows shared out evenly among them.
    const int perColumn = minimum.height() > 0 ? std::clamp(area.height() / minimum.height(), 1, n) : n;
    const int columns = (n + perColumn - 1) / perColumn;
    const int height = std::max(area.height(), minimum.height());
    const int width = std::max(area.width(), columns * std::max(0, minimum.width()));
    const auto columnParts = split(area.left(), width, columns);
    const auto counts = split(0, n, columns);
    for (int c = 0; c < columns; ++c) {
        const auto [left, columnWidth] = columnParts[std::size_t(c)];
        for (auto [top, rowHeight] : split(area.top(), height, counts[std::size_t(c)].second))
            rects.emplace_back(left, top, columnWidth, rowHeight);
    }
    return rects;
}

std::vector<QRect> tileVertically(const QRect& area, int n, QSize minimum)
{
    std::vector<QRect> rects = tileHorizontally(transposed(area), n, minimum.transposed());
    for (QRect& r : rects)
        r = transposed(r);
    return rects;
}

QSize smallestTile(const QMdiArea* area)
{
    // A caption, the line of description and buttons above a grid and about
    // six rows of it; as wide as the buttons' line of most windows.
    const QFontMetrics fm = area->fontMetrics();
    return {fm.horizontalAdvance(QString(20, QChar(0x6570))), fm.height() * 13};
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
    // Windows placed beyond the viewport earlier (a tiling of many windows)
    // have scrolled the area: back to the corner, so that the viewport shows
    // the area from its origin again.
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->minimum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->minimum());
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
    const QSize minimum = smallestTile(area);
    const std::vector<QRect> rects = how == Arrangement::TileHorizontal ? tileHorizontally(rest, n, minimum)
                                                                        : tileVertically(rest, n, minimum);
    for (std::size_t i = 0; i < others.size(); ++i)
        others[i]->setGeometry(rects[i]);
}

}  // namespace mirkano
