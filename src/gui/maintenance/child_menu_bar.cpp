#include "gui/maintenance/child_menu_bar.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace mirkano {

ChildMenuBar::ChildMenuBar(QMenuBar* bar, QMdiArea* area) : QObject(bar), m_bar(bar), m_area(area)
{
    connect(area, &QMdiArea::subWindowActivated, this, &ChildMenuBar::follow);
}

void ChildMenuBar::setChild(QMdiSubWindow* child, const QList<QMenu*>& menus)
{
    showFrameMenus();
    m_child = child;
    m_menus.clear();
    for (QMenu* m : menus)
        m_menus << m;
    // Only the current child's deletion brings the frame's menus back; an
    // earlier child deleted late changes nothing.
    disconnect(m_childGone);
    if (child) {
        m_childGone = connect(child, &QObject::destroyed, this, [this] { showFrameMenus(); });
        follow(m_area->activeSubWindow());
    }
}

void ChildMenuBar::follow(QMdiSubWindow* active)
{
    // The frame losing the focus to another program deactivates every child
    // for the time being; the menus stay as they are then.
    if (!active && m_bar->window() && !m_bar->window()->isActiveWindow() && m_child && m_child->isVisible())
        return;
    if (active && active == m_child)
        showChildMenus();
    else
        showFrameMenus();
}

void ChildMenuBar::showChildMenus()
{
    if (m_swapped)
        return;
    m_swapped = true;
    m_hidden.clear();
    for (QAction* a : m_bar->actions()) {
        if (a->isVisible()) {
            m_hidden << a;
            a->setVisible(false);
        }
    }
    for (QMenu* m : m_menus)
        if (m)
            m_bar->addAction(m->menuAction());
}

void ChildMenuBar::showFrameMenus()
{
    if (!m_swapped)
        return;
    m_swapped = false;
    for (QMenu* m : m_menus)
        if (m)
            m_bar->removeAction(m->menuAction());
    for (QAction* a : m_hidden)
        if (a)
            a->setVisible(true);
    m_hidden.clear();
}

}  // namespace mirkano
