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
