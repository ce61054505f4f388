#include "gui/shell/window_list_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace mirkano {

WindowListMenu::WindowListMenu(QMenu* menu, QMdiArea* area, std::function<void(QMdiSubWindow*)> bringToFront)
    : QObject(menu), m_menu(menu), m_area(area), m_bringToFront(std::move(bringToFront))
{
    connect(menu, &QMenu::aboutToShow, this, &WindowListMenu::refresh);
}

QString WindowListMenu::itemText(int index, const QString& caption)
{
    QString text = caption;
    text.replace(u'&', QStringLiteral("&&"));
    return index < 9 ? QStringLiteral("&%1 ").arg(index + 1) + text : text;
}

void WindowListMenu::refresh()
{
    for (const QPointer<QAction>& a : std::as_const(m_added))
        if (a) {
            m_menu->removeAction(a);
            a->deleteLater();
        }
    m_added.clear();

    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* w : m_area->subWindowList(QMdiArea::CreationOrder))
        if (!w->isHidden())
            open << w;
    if (open.isEmpty())
        return;
    m_added << m_menu->addSeparator();
    QMdiSubWindow* active = m_area->activeSubWindow();
    for (int i = 0; i < open.size(); ++i) {
        QMdiSubWindow* w = open[i];
        auto* a = new QAction(itemText(i, w->windowTitle()), m_menu);
        a->setObjectName(QStringLiteral("mnuWindowList%1").arg(i + 1));
        a->setCheckable(true);
        a->setChecked(w == active);
        const QPointer<QMdiSubWindow> target = w;
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                m_bringToFront(target);
        });
        m_menu->addAction(a);
        m_added << a;
    }
}

QList<QAction*> WindowListMenu::items() const
{
    QList<QAction*> list;
    for (const QPointer<QAction>& a : m_added)
        if (a && !a->isSeparator())
            list << a;
    return list;
}

}  // namespace mirkano
