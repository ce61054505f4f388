#pragma once
// A child window's own menu bar in the frame: while that child is the active
// child window, the frame's menu bar shows only the child's menus; when
// another child or none is active, or the child goes away, the frame's own
// menus come back.

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace mirkano {

class ChildMenuBar : public QObject {
    Q_OBJECT
public:
    ChildMenuBar(QMenuBar* bar, QMdiArea* area);

    // The child whose menus replace the frame's while it is active.
    void setChild(QMdiSubWindow* child, const QList<QMenu*>& menus);
    bool showsChildMenus() const { return m_swapped; }

private:
    void follow(QMdiSubWindow* active);
    void showChildMenus();
    void showFrameMenus();

    QMenuBar* m_bar;
    QMdiArea* m_area;
    QPointer<QMdiSubWindow> m_child;
    QMetaObject::Connection m_childGone;
    QList<QPointer<QMenu>> m_menus;
    QList<QPointer<QAction>> m_hidden;  // the frame's menus, hidden while swapped
    bool m_swapped = false;
};

}  // namespace mirkano
