#include "gui/shell/child_window.h"

#include <QCloseEvent>
#include <QScrollArea>

namespace mirkano {

ChildWindow::ChildWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
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
