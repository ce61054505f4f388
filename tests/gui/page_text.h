#pragma once
// A paint device that keeps the texts painted on it, in order: what a page
// of a printout says, read back from the printing code's own painting; and
// the number of pages of a PDF file.

#include <QFile>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRegularExpression>
#include <QStringList>

namespace mirkano::test {

class PageText : public QPaintDevice {
public:
    explicit PageText(QSize size) : m_size(size), m_engine(this) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QStringList& texts() const { return m_texts; }
    QString joined() const { return m_texts.join(u'|'); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return m_size.width() * 254 / 960;
        case PdmHeightMM: return m_size.height() * 254 / 960;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return 1 << 24;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(PageText* page) : QPaintEngine(AllFeatures), m_page(page) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { m_page->m_texts << item.text(); }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        Type type() const override { return User; }

    private:
        PageText* m_page;
    };

    QSize m_size;
    mutable Engine m_engine;
    QStringList m_texts;
};

inline int pdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace mirkano::test
