#include "gui/help/version_window.h"

#include "core/version.h"

#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace mirkano {

namespace {

const QString kProductFace = QStringLiteral("HGS明朝E");

// Seven lottery balls on a gentle arc: six blue main numbers and one pink
// bonus number, in the colours the analysis windows use for their marks.
class BallsPicture : public QWidget {
public:
    explicit BallsPicture(QWidget* parent = nullptr) : QWidget(parent)
    {
        setFixedSize(150, 120);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);

        // a soft card behind the balls
        QLinearGradient card(0, 0, 0, height());
        card.setColorAt(0, QColor(238, 246, 255));
        card.setColorAt(1, QColor(214, 229, 250));
        p.setPen(QPen(QColor(136, 196, 255), 1.5));
        p.setBrush(card);
        p.drawRoundedRect(QRectF(1, 1, width() - 2, height() - 2), 10, 10);

        struct Ball {
            int number;
            bool bonus;
        };
        const Ball balls[] = {{3, false}, {11, false}, {17, false}, {24, false},
                              {32, false}, {41, false}, {7, true}};
        const double r = 15;
        QFont f = font();
        f.setPixelSize(13);
        f.setBold(true);
        p.setFont(f);
        for (int i = 0; i < 7; ++i) {
            // four on the upper arc, three below
            const bool upper = i < 4;
            const int k = upper ? i : i - 4;
            const double x = upper ? 24 + k * 34 : 41 + k * 34;
            const double y = upper ? 36 + std::abs(k - 1.5) * 4 : 84 - std::abs(k - 1) * 3;
            const QColor base = balls[i].bonus ? QColor(255, 128, 192) : QColor(62, 128, 255);
            QRadialGradient g(QPointF(x - r * 0.4, y - r * 0.45), r * 1.6);
            g.setColorAt(0, Qt::white);
            g.setColorAt(0.25, base.lighter(125));
            g.setColorAt(1, base.darker(150));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 40));
            p.drawEllipse(QPointF(x + 2, y + 3), r, r * 0.95);
            p.setBrush(g);
            p.drawEllipse(QPointF(x, y), r, r);
            // a white face for the number
            p.setBrush(QColor(255, 255, 255, 230));
            p.drawEllipse(QPointF(x, y), r * 0.58, r * 0.58);
            p.setPen(base.darker(170));
            p.drawText(QRectF(x - r, y - r, 2 * r, 2 * r), Qt::AlignCenter,
                       QString::number(balls[i].number));
        }
    }
};

}  // namespace

QFont VersionWindow::productFont(int pixelSize)
{
    QFont::insertSubstitutions(kProductFace, {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                                              QStringLiteral("Noto Serif CJK JP")});
    QFont f(kProductFace);
    f.setFamilies({kProductFace, QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                   QStringLiteral("Noto Serif CJK JP")});
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pixelSize);
    f.setWeight(QFont::Black);
    return f;
}

QPoint VersionWindow::placement(const QRect& mainFrame)
{
    // The arithmetic is done in twips, as the window positions are kept; a
    // third of a twips difference is then turned back into whole pixels.
    const double topTwips =
        (double(mainFrame.height()) * kTwipsPerPixel - double(mainFrame.top()) * kTwipsPerPixel) / 3.0;
    const double leftTwips =
        (double(mainFrame.width()) * kTwipsPerPixel - double(mainFrame.left()) * kTwipsPerPixel) / 3.0;
    return QPoint(int(std::lround(leftTwips / kTwipsPerPixel)),
                  int(std::lround(topTwips / kTwipsPerPixel)));
}

VersionWindow::VersionWindow(QWidget* mainWindow)
    // A dialog-type window: the window manager keeps it above the main window.
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                              | Qt::WindowSystemMenuHint),
      mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("versionWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowModality(Qt::NonModal);

    auto* picture = new BallsPicture;
    picture->setObjectName(QStringLiteral("pictureBox"));

    auto* product = new QLabel(QStringLiteral("ミルカノ"));
    product->setObjectName(QStringLiteral("productLabel"));
    product->setFont(productFont(36));
    QPalette pal = product->palette();
    pal.setColor(QPalette::WindowText, QColor(31, 78, 156));
    product->setPalette(pal);

    auto* slogan = new QLabel(QStringLiteral("数字の流れを読み解いて、次の一回へ。"));
    slogan->setObjectName(QStringLiteral("sloganLabel"));

    auto* version = new QLabel(QLatin1Char(' ') + QString::fromUtf16(kVersionText));
    version->setObjectName(QStringLiteral("versionLabel"));

    auto* close = new QPushButton(QStringLiteral("閉じる"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(slogan);
    texts->addSpacing(6);
    texts->addWidget(version);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(430, 190)));
}

void VersionWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!mainWindow_)
        return;
    QPoint pos = placement(mainWindow_->frameGeometry());
    // A main window placed low on the screen would put the window above
    // the top edge; keep it where its title bar can still be reached.
    if (QScreen* screen = mainWindow_->screen()) {
        const QRect avail = screen->availableGeometry();
        const QSize outer = frameGeometry().size();
        pos.setX(qBound(avail.left(), pos.x(), qMax(avail.left(), avail.right() + 1 - outer.width())));
        pos.setY(qBound(avail.top(), pos.y(), qMax(avail.top(), avail.bottom() + 1 - outer.height())));
    }
    // The outer frame, title bar included, stands at the computed corner.
    // Until the window manager has framed the window its frame is unknown and
    // the window stands there with its client area; it moves into place as
    // soon as the frame is known.
    target_ = pos;
    placePending_ = true;
    move(pos);
}

bool VersionWindow::event(QEvent* event)
{
    // The window manager frames the window before it is first painted; the
    // frame's size is known from then on.
    if (event->type() == QEvent::Paint && placePending_ && frameGeometry() != geometry()) {
        placePending_ = false;
        if (frameGeometry().topLeft() != target_)
            move(target_);
    }
    return QWidget::event(event);
}

}  // namespace mirkano
