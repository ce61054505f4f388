#include "gui/sheet/analysis_window.h"

#include "gui/shell/busy_pointer.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/phrase_wrap.h"
#include "gui/sheet/sheet_print.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QScrollBar>

namespace mirkano {

namespace {

// Where the grid's top-left corner sits in the window's client area.
constexpr int kGridLeftTwips = 120;
constexpr int kGridTopTwips = 600;

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QPixmap legendBall(int pixels, Rgb color)
{
    QPixmap pm(pixels, pixels);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = toColor(color);
    QRadialGradient g(QPointF(pixels * 0.35, pixels * 0.35), pixels * 0.65);
    g.setColorAt(0, base.lighter(170));
    g.setColorAt(0.5, base);
    g.setColorAt(1, base.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, pixels - 1, pixels - 1));
    return pm;
}

AnalysisWindow::AnalysisWindow(const Analysis& analysis, QWidget* parent)
    : ChildWindow(parent), m_analysis(analysis)
{
    const WindowFacts& facts = analysis.facts;
    setWindowTitle(facts.caption);
    setObjectName(QString::fromLatin1(analysis.id));

    m_body = new QWidget(this);
    m_body->setFont(uiFont());
    m_description = new QLabel(facts.description, m_body);
    m_description->setObjectName(QStringLiteral("Label1"));
    m_description->setWordWrap(true);

    m_topBox = new QWidget(m_body);
    m_topLayout = new QVBoxLayout(m_topBox);
    m_topLayout->setContentsMargins(0, 0, 0, 0);
    m_topLayout->setSpacing(4);
    m_controlsBox = new QWidget(m_topBox);
    m_controls = new QHBoxLayout(m_controlsBox);
    m_controls->setContentsMargins(0, 0, 0, 0);
    m_controls->setSpacing(6);
    m_topLayout->addWidget(m_controlsBox);
    QHBoxLayout* top = m_controls;
    top->addStretch(0);

    const Legend& legend = facts.legend;
    const bool withBalls = legend.kind == Legend::Kind::Balls || legend.kind == Legend::Kind::BallsAndSwatch;
    const bool withSwatch = legend.kind == Legend::Kind::Swatch || legend.kind == Legend::Kind::BallsAndSwatch;
    if (withBalls) {
        const Rgb colors[2] = {legend.mainColor, legend.bonusColor};
        const QString texts[2] = {QStringLiteral("：本数字"), QStringLiteral("：ボーナス数字")};
        for (int i = 0; i < 2; ++i) {
            auto* ball = new QLabel(m_body);
            ball->setObjectName(QStringLiteral("Picture1"));
            ball->setPixmap(legendBall(legend.ballPixels, colors[i]));
            auto* text = new QLabel(texts[i], m_body);
            text->setObjectName(i == 0 ? QStringLiteral("Label2") : QStringLiteral("Label3"));
            ball->setParent(m_controlsBox);
            text->setParent(m_controlsBox);
            top->addWidget(ball);
            top->addWidget(text);
        }
    }
    if (withSwatch) {
        // Beside the balls the swatch and its text are the window's fourth
        // and fifth labels; alone they are its second and third.
        auto* sample = new QLabel(m_body);
        sample->setObjectName(withBalls ? QStringLiteral("Label5") : QStringLiteral("Label2"));
        sample->setFixedSize(25, 15);
        sample->setFrameShape(QFrame::Box);
        sample->setAutoFillBackground(true);
        QPalette pal = sample->palette();
        pal.setColor(QPalette::Window, toColor(legend.swatchColor));
        sample->setPalette(pal);
        auto* text = new QLabel(legend.swatchText, m_body);
        text->setObjectName(withBalls ? QStringLiteral("Label4") : QStringLiteral("Label3"));
        sample->setParent(m_controlsBox);
        text->setParent(m_controlsBox);
        top->addWidget(sample);
        top->addWidget(text);
    }

    if (facts.hasPrint) {
        // A print preview of the sheet, in every window that has the button.
        m_print = new QPushButton(QStringLiteral("印刷"), m_controlsBox);
        m_print->setObjectName(QStringLiteral("Command2"));
        top->addWidget(m_print);
    }
    m_close = new QPushButton(QStringLiteral("閉じる"), m_controlsBox);
    m_close->setObjectName(QStringLiteral("Command1"));
    top->addWidget(m_close);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);

    for (QPushButton* b : {m_print, m_close})
        if (b)
            b->setFixedSize(64, 24);

    m_controlsWidth = m_controls->sizeHint().width();

    m_grid = new SheetGrid(m_body);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    if (m_print)
        connect(m_print, &QPushButton::clicked, GridActions::of(m_grid), &GridActions::print);
    // Never narrower than the controls' line, nor lower than their line and
    // a few rows of the grid: a smaller window scrolls.
    m_body->setMinimumSize(m_controlsWidth + 2 * twipsToPixels(kGridLeftTwips), twipsToPixels(kGridTopTwips) + 40);
    setBody(m_body);
    m_body->installEventFilter(this);
    resize(twipsToPixels(facts.widthTwips), twipsToPixels(facts.heightTwips));
}

void AnalysisWindow::load(const History& history, const StartupTables& tables)
{
    BusyPointer busy;
    emit opened();
    move(0, 0);
    resize(twipsToPixels(m_analysis.facts.widthTwips), twipsToPixels(m_analysis.facts.heightTwips));
    m_grid->setSheet(m_analysis.build(history, tables));
    setPrintSource(historySourceText(tables.gameId, tables.latestDrawNo));
    placeGrid();
    // The frame's sizes are settled once the window is shown; a window shown
    // already grows at once.
    m_growOnShow = !isVisible();
    if (isVisible())
        growToShowGrid();
}

void AnalysisWindow::recompute(const History& history, const StartupTables& tables)
{
    BusyPointer busy;
    const int across = m_grid->horizontalScrollBar()->value(), down = m_grid->verticalScrollBar()->value();
    m_grid->setSheet(m_analysis.build(history, tables));
    setPrintSource(historySourceText(tables.gameId, tables.latestDrawNo));
    placeGrid();
    m_grid->horizontalScrollBar()->setValue(across);
    m_grid->verticalScrollBar()->setValue(down);
}

void AnalysisWindow::growToShowGrid()
{
    // The grid shows its whole visible size: where the description takes more
    // lines than the window leaves room for (or the sheet needs a scroll bar
    // more), the window grows by what is missing plus a margin as wide as the
    // one at the left. A window with room enough keeps its size.
    if (isMaximized() || isMinimized())
        return;
    const int margin = twipsToPixels(kGridLeftTwips);
    for (int round = 0; round < 3; ++round) {
        const QRect g = m_grid->geometry();
        const QSize own = m_grid->sizeHint();
        const int missingW = g.x() + own.width() - m_body->width();
        const int missingH = g.y() + own.height() - m_body->height();
        if (missingW <= 0 && missingH <= 0)
            return;
        resize(size() + QSize(missingW > 0 ? missingW + margin : 0, missingH > 0 ? missingH + margin : 0));
        placeGrid();
    }
}

void AnalysisWindow::showEvent(QShowEvent* e)
{
    QMdiSubWindow::showEvent(e);
    if (m_growOnShow) {
        m_growOnShow = false;
        growToShowGrid();
    }
}

void AnalysisWindow::placeGrid()
{
    // The grid's corner sits at (120, 600) twips of the client area; above it
    // the description, legend and buttons share one line. In a window too
    // narrow for that line the description takes its own line above the
    // others. A window that follows resizing gives the grid all the room to
    // the right and below, up to the whole sheet; the others give it its own
    // size, cut to the room there is (scroll bars then reach the rest).
    const int left = twipsToPixels(kGridLeftTwips);
    const int bodyW = m_body->width(), bodyH = m_body->height();
    const int width = std::max(0, bodyW - 2 * left);

    const QString& description = m_analysis.facts.description;
    const bool wide = m_controlsWidth + 6 + m_description->fontMetrics().horizontalAdvance(description) <= width;
    // On its own line the description wraps between phrases only.
    const QString shown = wide ? description : phraseWrapped(description, m_description->fontMetrics(), width);
    if (m_description->text() != shown)
        m_description->setText(shown);
    if (int(wide) != m_wide) {
        m_wide = int(wide);
        m_topLayout->removeWidget(m_description);
        m_controls->removeWidget(m_description);
        if (wide)
            m_controls->insertWidget(0, m_description, 1);
        else
            m_topLayout->insertWidget(0, m_description);
        m_description->show();
    }
    const int topH = m_topBox->hasHeightForWidth() ? m_topBox->heightForWidth(width) : m_topBox->sizeHint().height();
    m_topBox->setGeometry(left, 6, width, topH);
    const int top = std::max(twipsToPixels(kGridTopTwips), topH + 12);

    const QSize room(std::max(0, bodyW - left), std::max(0, bodyH - top));
    const QSize own = m_grid->sizeHint();
    const QSize size = m_analysis.facts.followsResize ? m_grid->fittedSize(room) : own.boundedTo(room);
    m_grid->setCut(size.width() < own.width() || size.height() < own.height());
    m_grid->setGeometry(left, top, size.width(), size.height());
}

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_body && e->type() == QEvent::Resize)
        placeGrid();
    return QMdiSubWindow::eventFilter(watched, e);
}

}  // namespace mirkano
