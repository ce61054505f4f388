#pragma once
// Printing sheets. Pages are painted directly from the sheet by the same
// routine that paints the grid on screen (colours, borders, fitted and
// spill-over texts), as vector text, lines and fills: nothing on a page
// depends on the printer's resolution.
//
// A sheet is scaled to fill the page width (down to half size; a sheet wider
// still continues on further pages, going down before across), its frozen
// header rows and label columns repeat on every page (a sheet of several
// tables repeats the header of the table that goes on), and each page has a
// header with the window caption, the game and the last draw the figures
// come from, and the page number.

#include "core/history/history.h"
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

// What the header of every page of a printout names: the window's caption
// and where its figures come from ("ロト6　第2137回まで").
struct PageHeader {
    QString caption;
    QString source;
};

// The game and the last complete draw a printout was computed from:
// "ロト6　第2137回まで", or "ロト6　当選データなし" without one.
QString historySourceText(GameId game, int lastDrawNo);
// The same for a history: its last complete draw in history order.
QString historySourceText(GameId game, const History& history);

// Header text on the right of a page: "2 / 5 ページ".
QString pageNumberText(int page, int count);

// Paints a page header at the painter's origin, in grid pixels, across
// `width`: the caption and the source on the left, "number / total ページ"
// on the right (none when total is 0), a rule under them.
void paintPageHeader(QPainter& painter, double width, const PageHeader& header, int number, int total);

class SheetPages {
public:
    // Height of the page header, in grid pixels.
    static constexpr int kHeaderPixels = 24;
    // The sheet is scaled to the page width within these factors.
    static constexpr double kSmallestScale = 0.5;
    static constexpr double kLargestScale = 2.0;

    // Lays the sheet out on pages whose printable area is pageSize, in grid
    // pixels (96 to the inch).
    //
    // The sheet's frozen rows are the header of its first table. A sheet that
    // holds further tables below it names the first row of each in
    // tableStarts (ascending); each such table begins with a header as many
    // rows high as the first, and a page that goes on inside it repeats that
    // header instead of the first table's. A table's header is never left
    // alone at the foot of a page.
    //
    // The first page keeps firstPageTop pixels under its page header free
    // (for lines of text printed above the sheet).
    SheetPages(const Sheet& sheet, QSizeF pageSize, std::vector<int> tableStarts = {}, double firstPageTop = 0);

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
    // grid pixels (the caller scales the painter to the device). The header
    // numbers the page firstNumber + page of `total` (0: of count()), for a
    // printout with pages before or after the sheet's.
    void paint(QPainter& painter, int page, const PageHeader& header, int firstNumber = 1, int total = 0) const;

private:
    struct Page {
        std::vector<int> cols, rows;
    };
    std::vector<SheetPainter::Span> spans(const std::vector<int>& items, const std::vector<int>& px) const;
    // Top of the grid on the page, under the page header.
    double gridTop(int page) const;
    std::vector<std::vector<int>> rowPages(std::vector<int> tableStarts, double firstRoom, double room) const;

    const Sheet& m_sheet;
    QSizeF m_pageSize;
    double m_scale = 1;
    double m_firstPageTop = 0;
    std::vector<int> m_colPx, m_rowPx;
    std::vector<Page> m_pages;
    SheetPainter m_painter;
};

// Landscape for a sheet that is wider than tall or too wide to be legible
// across a portrait page, portrait otherwise.
QPageLayout::Orientation preferredOrientation(const Sheet& sheet);

// The printable area of the device's page in grid pixels (96 to the inch),
// and a painter on the device made to paint in grid pixels.
QSizeF pageArea(QPagedPaintDevice& device);
void scaleToGridPixels(QPainter& painter, QPagedPaintDevice& device);

// Prints the sheet on the device (a printer or a PDF writer), one page after
// another, laid out for the device's page size and orientation.
void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const PageHeader& header);
// The same under lines of text (a window's input and summary) at the top of
// the first page.
void printSheetUnderLines(QPagedPaintDevice& device, const PageHeader& header, const QStringList& lines,
                          const Sheet& sheet);

// A sheet printed under its own title.
struct TitledSheet {
    QString title;
    Sheet sheet;
};

// Prints on one page: the caption with the source beside it, lines of text
// under it, then the sheets one below the other, each under its title, all
// scaled to fit the page.
void printOnOnePage(QPagedPaintDevice& device, const PageHeader& header, const QStringList& lines,
                    const std::vector<TitledSheet>& sheets);

}  // namespace mirkano
