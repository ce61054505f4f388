#pragma once
// The list of open child windows at the end of the ウィンドウ menu: one
// checkable item per child, in the order they were opened, the active one
// checked, the first nine with the access keys 1 to 9. Choosing an item
// brings that window to the front (restored when it was minimised). The list
// is built afresh each time the menu opens.

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace mirkano {

class WindowListMenu : public QObject {
    Q_OBJECT
public:
    // bringToFront shows the chosen child as the frame's own commands do.
    WindowListMenu(QMenu* menu, QMdiArea* area, std::function<void(QMdiSubWindow*)> bringToFront);

    // Replaces the listed items with the children open now.
    void refresh();
    // The items of the list as they stand (the separator before them left out).
    QList<QAction*> items() const;

    // An item's caption: "&1 出現頻度分析" for the first nine, the bare
    // caption after them; an "&" of the caption is kept as text.
    static QString itemText(int index, const QString& caption);

private:
    QMenu* m_menu;
    QMdiArea* m_area;
    std::function<void(QMdiSubWindow*)> m_bringToFront;
    QList<QPointer<QAction>> m_added;  // the separator and the items
};

}  // namespace mirkano
