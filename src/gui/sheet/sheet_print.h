#pragma once
// Printing a sheet as the grid shows it: the sheet is cut into pages, each
// page painted by a grid of its own (colours, borders, spill-over texts and
// marks exactly as on screen), the frozen header rows and label columns
// repeated on every page, and a page header with the window caption and the
// page number. Columns are shrunk to the page width down to half size; a
// sheet wider still continues on further pages, going down before across.

#include "core/sheet/sheet.h"

#include <QSizeF>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace mirkano {

class SheetPages {
public:
    // Height of the page header, in grid pixels.
    static constexpr int kHeaderPixels = 24;

    // Lays the sheet out on pages whose printable area is pageSize, in grid
    // pixels at full size (96 to the inch).
    SheetPages(const Sheet& sheet, QSizeF pageSize);

    int count() const { return int(m_pages.size()); }
    // The factor at which the grid is printed (1 full size, at least 0.5).
    double shrink() const { return m_shrink; }
    // Sheet columns and rows on the page (frozen ones first).
    const std::vector<int>& columns(int page) const { return m_pages[std::size_t(page)].cols; }
    const std::vector<int>& rows(int page) const { return m_pages[std::size_t(page)].rows; }
    // The page's part of the sheet, a sheet of its own.
    Sheet pageSheet(int page) const;

    // Paints page `page` (from 0) with its header at the painter's origin, in
    // grid pixels (the caller scales the painter to the device).
    void paint(QPainter& painter, int page, const QString& caption) const;

private:
    struct Page {
        std::vector<int> cols, rows;
    };
    const Sheet& m_sheet;
    QSizeF m_pageSize;
    double m_shrink = 1;
    int m_frozenCols = 0, m_frozenRows = 0;
    std::vector<Page> m_pages;
};

// Header text on the right of a page: "2 / 5 ページ".
QString pageNumberText(int page, int count);

// Prints the sheet on the device (a printer or a PDF writer), one page after
// another.
void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const QString& caption);

}  // namespace mirkano
