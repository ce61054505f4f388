#pragma once
// The child window every analysis uses: a one-line description, an optional
// colour legend, "閉じる", "印刷" (a print preview of the sheet), and the
// result grid. It computes its sheet once, in load(), and shows it until it
// is closed.
//
// load() reports `opened` (the main window clears its end flag) and every way
// of closing — "閉じる", the title bar, the main window's shutdown — reports
// `unloaded` once (the main window sets the flag again).

#include "core/analysis/analysis.h"
#include "gui/sheet/sheet_grid.h"

#include "gui/shell/child_window.h"

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QPushButton;

namespace mirkano {

class AnalysisWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit AnalysisWindow(const Analysis& analysis, QWidget* parent = nullptr);

    const Analysis& analysis() const { return m_analysis; }
    SheetGrid* grid() const { return m_grid; }
    // The description label; on a line of its own its text holds line
    // feeds between phrases (see phrase_wrap.h).
    QLabel* description() const { return m_description; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* printButton() const { return m_print; }  // nullptr when the window has none

    // Busy pointer, `opened`, placed at the top-left of the frame's client area
    // and sized to the window's twips, sheet built and shown, pointer back.
    // Where the window's fixed size leaves less room than the grid's visible
    // size (a description on two lines, a longer sheet), the window grows so
    // that the whole grid shows.
    void load(const History& history, const StartupTables& tables);
    // The sheet built again from a new history, in place: the window keeps
    // its place and size and the grid its scroll position, as far as the new
    // sheet reaches.
    void recompute(const History& history, const StartupTables& tables);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void placeGrid();
    void growToShowGrid();

    const Analysis& m_analysis;
    QWidget* m_body = nullptr;
    QWidget* m_topBox = nullptr;       // description above or beside the controls
    QVBoxLayout* m_topLayout = nullptr;
    QWidget* m_controlsBox = nullptr;  // legend and buttons
    QHBoxLayout* m_controls = nullptr;
    int m_controlsWidth = 0;
    int m_wide = -1;  // description beside the controls (1) or above them (0)
    QLabel* m_description = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_print = nullptr;
    SheetGrid* m_grid = nullptr;
    bool m_growOnShow = false;
};

// A shaded ball of the given size and colour, as drawn in the legends.
QPixmap legendBall(int pixels, Rgb color);

}  // namespace mirkano
