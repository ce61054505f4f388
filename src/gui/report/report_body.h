#pragma once
// The body the report-style windows (当選確認, 予想の検証, 統計的検定)
// share: a column in the program's font with their margins, a wrapped
// description at the top, 印刷 and 閉じる of one button size (閉じる closes
// the window, 印刷 runs the window's printing), a summary under them and a
// result grid whose 印刷… presses 印刷. Each window places the description
// and the buttons in its own arrangement and adds what is its own (the
// ticket's entries, the charts' tabs).

#include <QString>
#include <Qt>

#include <functional>
#include <initializer_list>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace mirkano {

class ChildWindow;
class SheetGrid;

class ReportBody {
public:
    // The body of window with its description and the two buttons made but
    // not yet placed; 印刷 calls print. The window places the rows and then
    // takes widget() as its body.
    ReportBody(ChildWindow* window, const QString& description, std::function<void()> print);

    QWidget* widget() const { return m_body; }
    QVBoxLayout* layout() const { return m_layout; }
    QLabel* description() const { return m_description; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }

    // A button of the report's button size.
    QPushButton* button(const QString& text, const QString& objectName) const;
    // The description alone as the body's next row.
    void addDescription();
    // The description with room to grow at the left and the buttons given
    // at its right, top-aligned, side by side (Qt::Horizontal) or one under
    // the other (Qt::Vertical) in the order given, as the body's next row.
    void addDescriptionBeside(Qt::Orientation direction, std::initializer_list<QPushButton*> buttons);
    // The summary as the body's next row: wrapped or on one line.
    QLabel* addSummary(const QString& objectName, bool wrap);
    // The result grid, parented to parent (the body when null); its 印刷…
    // presses 印刷. Not placed.
    SheetGrid* makeGrid(QWidget* parent = nullptr) const;
    // The grid as the body's next row at its own size, at the top left,
    // and the room below it left empty.
    void addGridAtOwnSize(SheetGrid* grid);

private:
    QWidget* m_body;
    QVBoxLayout* m_layout;
    QLabel* m_description;
    QPushButton* m_print;
    QPushButton* m_close;
};

}  // namespace mirkano
