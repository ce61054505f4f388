#pragma once
// Printing sheets. Pages are painted directly from the sheet by the same
// routine that paints the grid on screen (colours, borders, fitted and
// spill-over texts), as vector text, lines and fills: nothing on a page
// depends on the printer's resolution.
//
// A sheet is scaled to fill the page width (down to half size; a sheet wider
// still continues on further pages, going down before across), its frozen
// header rows and label columns repeat on every page, and each page has a
// header with the window caption and the page number.

#include "core/sheet/sheet.h"
#include "gui/sheet/sheet_painter.h"

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace mirkano {

class SheetPages {
public:
    // Height of the page header, in grid pixels.
    static constexpr int kHeaderPixels = 24;
    // The sheet is scaled to the page width within these factors.
    static constexpr double kSmallestScale = 0.5;
    static constexpr double kLargestScale = 2.0;

    // Lays the sheet out on pages whose printable area is pageSize, in grid
    // pixels (96 to the inch).
    SheetPages(const Sheet& sheet, QSizeF pageSize);

    int count() const { return int(m_pages.size()); }
    // The factor at which the sheet is printed.
    double scale() const { return m_scale; }
    // Sheet columns and rows on the page (frozen ones first).
    const std::vector<int>& columns(int page) const { return m_pages[std::size_t(page)].cols; }
    const std::vector<int>& rows(int page) const { return m_pages[std::size_t(page)].rows; }
    // Where paint() puts a cell on the page, in page pixels; empty when the
    // cell is not on that page.
    QRectF cellRect(int page, int col, int row) const;

    // Paints page `page` (from 0) with its header at the painter's origin, in
    // grid pixels (the caller scales the painter to the device).
    void paint(QPainter& painter, int page, const QString& caption) const;

private:
    struct Page {
        std::vector<int> cols, rows;
    };
    std::vector<SheetPainter::Span> spans(const std::vector<int>& items, const std::vector<int>& px) const;

    const Sheet& m_sheet;
    QSizeF m_pageSize;
    double m_scale = 1;
    std::vector<int> m_colPx, m_rowPx;
    std::vector<Page> m_pages;
    SheetPainter m_painter;
};

// Header text on the right of a page: "2 / 5 ページ".
QString pageNumberText(int page, int count);

// Landscape for a sheet that is wider than tall or too wide to be legible
// across a portrait page, portrait otherwise.
QPageLayout::Orientation preferredOrientation(const Sheet& sheet);

// The printable area of the device's page in grid pixels (96 to the inch),
// and a painter on the device made to paint in grid pixels.
QSizeF pageArea(QPagedPaintDevice& device);
void scaleToGridPixels(QPainter& painter, QPagedPaintDevice& device);

// Prints the sheet on the device (a printer or a PDF writer), one page after
// another, laid out for the device's page size and orientation.
void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const QString& caption);
// The same with a painter already on the device and painting in grid
// pixels, from the device's current page on, for a printout that goes on
// after the sheet.
void paintSheetPages(QPainter& painter, QPagedPaintDevice& device, const Sheet& sheet, const QString& caption);

// A sheet printed under its own title.
struct TitledSheet {
    QString title;
    Sheet sheet;
};

// Prints on one page: the caption, lines of text under it, then the sheets
// one below the other, each under its title, all scaled to fit the page.
void printOnOnePage(QPagedPaintDevice& device, const QString& caption, const QStringList& lines,
                    const std::vector<TitledSheet>& sheets);

}  // namespace mirkano
