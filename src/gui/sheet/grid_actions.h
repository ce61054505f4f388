#pragma once
// What every grid offers beyond showing its sheet: a block selection made by
// dragging or with Shift, and a context menu with "コピー" (the selection, or
// the whole sheet when none, as tab-separated text; Ctrl+C too),
// "最新の回へ" (the last row of data), "CSVで保存…" (the whole sheet) and "印刷…" (a print preview of the sheet).
// It attaches itself to a grid and leaves the grid's own painting and keys
// alone: the selection is drawn by a transparent layer over the cells.

#include "core/sheet/sheet.h"
#include "gui/sheet/sheet_print.h"

#include <QObject>
#include <QPageLayout>
#include <QPointer>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QPagedPaintDevice;
class QWidget;

namespace mirkano {

class SheetGrid;

// The print preview every window uses ("印刷プレビュー"): the pages are
// painted by `paint` for the printer's page size and orientation, and again
// whenever the user changes them in the preview.
void showPrintPreview(QWidget* parent, const QString& docName, QPageLayout::Orientation orientation,
                      const std::function<void(QPagedPaintDevice&)>& paint);

class GridActions : public QObject {
    Q_OBJECT
public:
    // Becomes a child of the grid and lives as long as it.
    explicit GridActions(SheetGrid* grid);

    // The grid's actions, or nullptr when none are attached.
    static GridActions* of(const SheetGrid* grid);

    // The block from the anchor to the active cell once the user dragged or
    // extended with Shift; nullopt while only a single cell is active.
    std::optional<Block> selection() const { return m_selection; }
    void setSelection(std::optional<Block> block);

    // The text "コピー" puts on the clipboard.
    QString copyText() const;
    void copy();
    // Asks for a file name and writes the sheet as CSV; false when the user
    // cancelled or the file could not be written (a message says why).
    bool saveCsv();
    // Writes the sheet as CSV to the path, whole or not at all. Throws an
    // Error with a message naming the file on failure.
    void writeCsv(const QString& path) const;
    // The print preview of the sheet, captioned with the window's title (or
    // what printHandler shows instead).
    void print();
    // Title of the window that shows the grid.
    QString caption() const;
    // The page header of a print: the caption and the window's print source.
    PageHeader pageHeader() const;

    QMenu* buildMenu(QWidget* parent);
    QAction* copyAction() const { return m_copy; }

    // Replaceable in tests: the file dialog and the message boxes (a failure,
    // the question whether to write over a file, and the note of where a file
    // was written).
    std::function<QString(const QString& suggested)> chooseCsvFile;
    std::function<void(const QString& text)> showError;
    std::function<bool(const QString& question)> askYesNo;
    std::function<void(const QString& text)> showNote;
    // Set by a window whose print covers more than this grid's sheet.
    std::function<void()> printHandler;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void onActiveCellChanged(int col, int row);

    SheetGrid* m_grid;
    // The grid's viewport, kept apart: while the grid is being destroyed its
    // viewport still sends events here, and the grid is no longer a grid.
    QWidget* m_viewport;
    QWidget* m_layer = nullptr;
    QAction* m_copy = nullptr;
    std::optional<Block> m_selection;
    int m_anchorCol = 0, m_anchorRow = 0;
    bool m_extending = false;
    bool m_dragging = false;
};

}  // namespace mirkano
