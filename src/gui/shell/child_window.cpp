#include "gui/shell/child_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QScrollArea>

namespace mirkano {

ChildWindow::ChildWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+F4 belongs to the frame's "閉じる" of the ウィンドウ menu, which
    // closes whichever child is active; the same key here as well would make
    // it ambiguous, and then neither would close.
    if (QMenu* menu = systemMenu())
        for (QAction* a : menu->actions()) {
            QList<QKeySequence> keys = a->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0)
                a->setShortcuts(keys);
        }
}

void ChildWindow::setBody(QWidget* body)
{
    m_body = body;
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("bodyScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body);
    setWidget(scroll);
}

void ChildWindow::fitBodyMinimumToControls()
{
    if (!m_body)
        return;
    // The controls' own geometry, shown or not yet shown; only a control
    // hidden on purpose is left out.
    QRect extent;
    for (QWidget* w : m_body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && !(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide)))
            extent |= w->geometry();
    if (extent.isValid())
        m_body->setMinimumSize(extent.right() + 1, extent.bottom() + 1);
}

void ChildWindow::closeEvent(QCloseEvent* e)
{
    QMdiSubWindow::closeEvent(e);
    if (!e->isAccepted() || m_unloaded)
        return;
    m_unloaded = true;
    unload();
    emit unloaded();
}

}  // namespace mirkano
