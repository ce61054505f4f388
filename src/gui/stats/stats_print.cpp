#include "gui/stats/stats_print.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>

namespace mirkano {

namespace {

bool blankRow(const Sheet& sheet, int row)
{
    for (int c = 1; c <= sheet.columns(); ++c)
        if (!sheet.text(c, row).isEmpty())
            return false;
    return true;
}

// Lays the chart out at once: a chart lays itself out only when the event
// loop gets to it, and one whose view was never shown never has.
void layOut(QChart* chart, QSizeF size)
{
    chart->resize(size);
    if (QGraphicsLayout* layout = chart->layout())
        layout->activate();
}

}  // namespace

std::vector<int> tablesAfterBlankRows(const Sheet& sheet)
{
    std::vector<int> starts;
    bool blankBefore = false;
    for (int r = 1; r <= sheet.rows(); ++r) {
        const bool blank = blankRow(sheet, r);
        if (!blank && blankBefore && r > 1)
            starts.push_back(r);
        blankBefore = blank;
    }
    return starts;
}

void paintChart(QPainter& painter, QChart* chart, const QRectF& target)
{
    QGraphicsScene* scene = chart ? chart->scene() : nullptr;
    if (!scene || target.isEmpty())
        return;
    const QSizeF own = chart->size();
    layOut(chart, target.size());
    scene->render(&painter, target, chart->mapRectToScene(chart->rect()), Qt::KeepAspectRatio);
    layOut(chart, own);
}

StatsPrintout::StatsPrintout(const Sheet& sheet, std::vector<QChart*> charts, PageHeader header, QSizeF pageSize)
    : m_sheetPages(sheet, pageSize, tablesAfterBlankRows(sheet)),
      m_charts(std::move(charts)),
      m_header(std::move(header)),
      m_pageSize(pageSize)
{
}

QRectF StatsPrintout::chartArea() const
{
    return QRectF(0, SheetPages::kHeaderPixels, m_pageSize.width(),
                  std::max(0.0, m_pageSize.height() - SheetPages::kHeaderPixels));
}

void StatsPrintout::paint(QPainter& painter, int page) const
{
    if (page < m_sheetPages.count()) {
        m_sheetPages.paint(painter, page, m_header, 1, count());
        return;
    }
    paintPageHeader(painter, m_pageSize.width(), m_header, page + 1, count());
    const auto chart = std::size_t(page - m_sheetPages.count());
    if (chart < m_charts.size())
        paintChart(painter, m_charts[chart], chartArea());
}

void printStats(QPagedPaintDevice& device, const Sheet& sheet, const std::vector<QChart*>& charts,
                const PageHeader& header)
{
    const StatsPrintout printout(sheet, charts, header, pageArea(device));
    QPainter painter(&device);
    scaleToGridPixels(painter, device);
    for (int i = 0; i < printout.count(); ++i) {
        if (i > 0)
            device.newPage();
        printout.paint(painter, i);
    }
}

}  // namespace mirkano
