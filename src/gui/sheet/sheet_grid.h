#pragma once
// The grid that shows a result sheet: frozen leading rows and columns stay in
// place while the rest scrolls cell by cell; only the cells in view are
// painted, so very long sheets open and scroll at once. The grid's own column
// letters and row numbers are never shown. Static cells cannot be edited: the
// user may click, move the active cell and scroll.

#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_painter.h"
#include "core/sheet/sheet.h"

#include <QAbstractScrollArea>

#include <vector>

namespace mirkano {

class SheetGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SheetGrid(QWidget* parent = nullptr);

    void setSheet(Sheet sheet);
    const Sheet& sheet() const { return m_sheet; }
    const GridUnits& units() const { return m_units; }

    // Pixel size of one column / row of the current sheet.
    int columnPixels(int col) const;
    int rowPixels(int row) const;

    // The grid's own size for its visible columns x rows (scroll bars and
    // frame included when the content does not fit).
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {40, 40}; }
    // The grid's size in a room it is to fill: the room, but never wider or
    // taller than the whole sheet with the bars it then needs, so no empty
    // area lies between the last column or row and a scroll bar.
    QSize fittedSize(QSize room) const;

    // First scrolled (non-frozen) column / row now in view.
    int firstScrolledColumn() const;
    int firstScrolledRow() const;
    // Viewport rectangle of a cell, or an empty rectangle when it is out of view.
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point, {0, 0} when none.
    QPoint cellAt(QPoint pos) const;

    // When the grid is given less room than its own size, both scroll bars
    // become available (each still shown only when needed), so that no cell
    // is out of reach.
    void setCut(bool cut);

    void setActiveCell(int col, int row);
    int activeColumn() const { return m_sheet.activeColumn(); }
    int activeRow() const { return m_sheet.activeRow(); }
    // The last row with any text (the newest draw in a sheet by draws), 0
    // when every cell is empty.
    int lastDataRow() const;
    // "最新の回へ": the active cell moves to the last row with data, in its
    // own column, scrolled into view.
    void goToLatest();

signals:
    void activeCellChanged(int col, int row);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void scrollContentsBy(int, int) override { viewport()->update(); }

private:
    using Span = SheetPainter::Span;
    std::vector<Span> visibleColumns() const;
    std::vector<Span> visibleRows() const;
    void updateScrollBars();
    void applyScrollBarPolicy();
    void ensureVisible(int col, int row);
    // Scrolled rows wholly in view: the step of PageUp/PageDown.
    int rowsPerPage() const;
    int frozenWidth() const;
    int frozenHeight() const;
    // Smallest scroll offset at which the last column / row is fully in view.
    int lastColumnOffset(int viewportWidth) const;
    int lastRowOffset(int viewportHeight) const;

    Sheet m_sheet;
    GridUnits m_units;
    bool m_cut = false;
    std::vector<int> m_colPx, m_rowPx;
    // Paints the cells, remembering how the sheet's texts are laid out.
    SheetPainter m_painter;
};

}  // namespace mirkano
