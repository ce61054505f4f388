#include "gui/shell/child_window.h"

#include <QCloseEvent>

namespace mirkano {

ChildWindow::ChildWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
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
