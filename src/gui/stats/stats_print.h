#pragma once
// Printing the window 統計的検定: the sheet of the tests on its pages, each
// of its tables under its own header, then each chart on a page of its own,
// drawn as vectors across the page's width whether or not its tab was ever
// shown. Every page's header names the game and the last draw and numbers
// the page among all of them.

#include "core/sheet/sheet.h"
#include "gui/sheet/sheet_print.h"

#include <QRectF>
#include <QSizeF>

#include <vector>

class QChart;
class QPagedPaintDevice;
class QPainter;

namespace mirkano {

// The first row of each table of the sheet after the first one: a row with
// text right after a row without any. The tables of the tests' sheet stand
// one under the other, a blank row between them.
std::vector<int> tablesAfterBlankRows(const Sheet& sheet);

// Draws the chart into `target` (in the painter's units) laid out at that
// size, whatever size it has on screen or whether it was ever shown; it
// goes back to its own size afterwards.
void paintChart(QPainter& painter, QChart* chart, const QRectF& target);

class StatsPrintout {
public:
    // Lays the printout out on pages whose printable area is pageSize, in
    // grid pixels (96 to the inch).
    StatsPrintout(const Sheet& sheet, std::vector<QChart*> charts, PageHeader header, QSizeF pageSize);

    // The sheet's pages and a page per chart.
    int count() const { return m_sheetPages.count() + int(m_charts.size()); }
    const SheetPages& sheetPages() const { return m_sheetPages; }
    // Where a chart page puts its chart, in page pixels.
    QRectF chartArea() const;

    // Paints page `page` (from 0) at the painter's origin, in grid pixels.
    void paint(QPainter& painter, int page) const;

private:
    SheetPages m_sheetPages;
    std::vector<QChart*> m_charts;
    PageHeader m_header;
    QSizeF m_pageSize;
};

// Prints the whole printout on the device, laid out for its page size and
// orientation.
void printStats(QPagedPaintDevice& device, const Sheet& sheet, const std::vector<QChart*>& charts,
                const PageHeader& header);

}  // namespace mirkano
