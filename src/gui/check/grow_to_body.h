#pragma once
// Growing a child window whose contents depend on its game (as many entries
// as the game's main numbers, a grid with a column per number) so that all
// of them show without scroll bars, for the ticket-check and the
// prediction-test windows.

#include "gui/shell/child_window.h"

#include <QLayout>
#include <QScrollArea>

#include <algorithm>

namespace mirkano {

// Grows the window by what the room of its body lacks: the width of the
// widest row of controls and, at that width, the height of all of them. A
// window with room enough keeps its size; a hidden, maximised or minimised
// one is left alone (a hidden one grows as it is shown).
inline void growToShowBody(ChildWindow* w)
{
    QWidget* body = w->body();
    auto* scroll = qobject_cast<QScrollArea*>(w->widget());
    if (!body || !scroll || !w->isVisible() || w->isMaximized() || w->isMinimized())
        return;
    QLayout* layout = body->layout();
    if (!layout)
        return;
    layout->activate();
    const QSize room = scroll->size();
    const int needW = layout->totalMinimumSize().width();
    const int width = std::max(needW, room.width());
    const int needH = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                  : layout->totalSizeHint().height();
    const QSize missing(std::max(0, needW - room.width()), std::max(0, needH - room.height()));
    if (missing.width() > 0 || missing.height() > 0)
        w->resize(w->size() + missing);
}

}  // namespace mirkano
