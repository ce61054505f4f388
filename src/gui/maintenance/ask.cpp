#include "gui/maintenance/ask.h"

#include "gui/sheet/grid_units.h"

namespace mirkano {

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent && parent->isVisible() ? parent : nullptr);
    box.setFont(uiFont());
    box.setDefaultButton(defaultButton);
    if (buttons.testFlag(QMessageBox::No))
        box.setEscapeButton(QMessageBox::No);
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace mirkano
