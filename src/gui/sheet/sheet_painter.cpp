#include "gui/sheet/sheet_painter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace mirkano {

namespace {

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

constexpr int kTextPadding = 1;

Qt::Alignment toAlignment(const Cell& c)
{
    Qt::Alignment a;
    switch (c.hAlign) {
    case HAlign::Left: a |= Qt::AlignLeft; break;
    case HAlign::Center: a |= Qt::AlignHCenter; break;
    case HAlign::Right: a |= Qt::AlignRight; break;
    }
    switch (c.vAlign) {
    case VAlign::Top: a |= Qt::AlignTop; break;
    case VAlign::Center: a |= Qt::AlignVCenter; break;
    case VAlign::Bottom: a |= Qt::AlignBottom; break;
    }
    return a;
}

}  // namespace

SheetPainter::SheetPainter(const QFont& font) : m_font(font) {}

void SheetPainter::clearCache()
{
    m_fits.clear();
    m_widths.clear();
    m_laidOut.clear();
}

SheetPainter::TextFit SheetPainter::fitText(const QString& text, int width, int height) const
{
    const auto key = std::make_tuple(text, width, height);
    if (auto it = m_fits.find(key); it != m_fits.end())
        return it->second;
    TextFit fit;
    QFont f = m_font;
    const int full = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    // A smaller font first, down to the smallest legible size.
    for (int px = full - 1; px >= kSmallestTextPixels && !fit.fits; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).horizontalAdvance(text) <= width)
            fit = {true, f, 1.0, {}, {}};
    }
    // Then a slightly larger font drawn narrower, never narrower than the
    // smallest legible size would be.
    for (int px = full - 1; px > kSmallestTextPixels && !fit.fits; --px) {
        f.setPixelSize(px);
        const int advance = QFontMetrics(f).horizontalAdvance(text);
        if (advance * kSmallestTextPixels <= width * px)
            fit = {true, f, double(width) / advance, {}, {}};
    }
    // Then two lines, split where the longer half is shortest, when the
    // box is tall enough for them.
    const QString ink = text.trimmed();
    for (int px = full; px >= kSmallestTextPixels && !fit.fits && ink.size() > 1; --px) {
        f.setPixelSize(px);
        const QFontMetrics fm(f);
        if (2 * fm.height() > height + 2)
            continue;
        int best = -1, bestWidth = 0;
        for (int at = 1; at < ink.size(); ++at) {
            if (ink[at - 1].isLowSurrogate() || ink[at].isLowSurrogate())
                continue;
            const int w = std::max(fm.horizontalAdvance(ink.left(at).trimmed()),
                                   fm.horizontalAdvance(ink.mid(at).trimmed()));
            if (best < 0 || w < bestWidth) {
                best = at;
                bestWidth = w;
            }
        }
        if (best > 0 && bestWidth <= width)
            fit = {true, f, 1.0, ink.mid(best).trimmed(), ink.left(best).trimmed()};
    }
    m_fits.emplace(key, fit);
    return fit;
}

int SheetPainter::textWidth(const QString& text) const
{
    if (auto it = m_widths.constFind(text); it != m_widths.cend())
        return *it;
    const int width = QFontMetrics(m_font).horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

// Where a text in the sheet font stands when aligned in the box as drawText()
// would align a single line there, and its laid-out form.
std::pair<const QStaticText*, QPointF> SheetPainter::placePlainText(const QRect& box, const Cell& cell) const
{
    auto it = m_laidOut.find(cell.text);
    if (it == m_laidOut.end()) {
        QStaticText laidOut(cell.text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), m_font);
        it = m_laidOut.insert(cell.text, laidOut);
    }
    const QSizeF size = it->size();
    qreal x = box.x(), y = box.y();
    switch (cell.hAlign) {
    case HAlign::Left: break;
    case HAlign::Center: x += (box.width() - size.width()) / 2; break;
    case HAlign::Right: x += box.width() - size.width(); break;
    }
    switch (cell.vAlign) {
    case VAlign::Top: break;
    case VAlign::Center: y += (box.height() - size.height()) / 2; break;
    case VAlign::Bottom: y += box.height() - size.height(); break;
    }
    return {&*it, QPointF(x, y)};
}

void SheetPainter::drawPlainText(QPainter& p, const QRect& box, const Cell& cell) const
{
    const auto [text, at] = placePlainText(box, cell);
    p.drawStaticText(at, *text);
}

void SheetPainter::paintBackgrounds(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                                    const std::vector<Span>& rows) const
{
    for (const Span& r : rows) {
        // Runs of one colour within the row, each filled at once; on paper
        // white is left to the paper.
        std::size_t i = 0;
        while (i < cols.size()) {
            const Rgb bg = sheet.style(cols[i].index, r.index).bg;
            std::size_t j = i + 1;
            while (j < cols.size() && cols[j].pos == cols[j - 1].pos + cols[j - 1].size
                   && sheet.style(cols[j].index, r.index).bg == bg)
                ++j;
            const QColor colour = toColor(bg);
            if (!m_forPaper || colour != Qt::white)
                p.fillRect(cols[i].pos, r.pos, cols[j - 1].pos + cols[j - 1].size - cols[i].pos, r.size, colour);
            i = j;
        }
    }
}

void SheetPainter::paintBorders(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                                const std::vector<Span>& rows) const
{
    for (const Span& r : rows) {
        for (const Span& c : cols) {
            const CellStyle& cell = sheet.style(c.index, r.index);
            // A cell's right and bottom lines are its last pixel column and
            // row; its left and top lines coincide with its neighbours' lines.
            const int x1 = std::max(cols.front().pos, c.pos - 1), x2 = c.pos + c.size - 1;
            const int y1 = std::max(rows.front().pos, r.pos - 1), y2 = r.pos + r.size - 1;
            if (cell.left.on)
                p.fillRect(x1, y1, 1, y2 - y1 + 1, toColor(cell.left.color));
            if (cell.right.on)
                p.fillRect(x2, y1, 1, y2 - y1 + 1, toColor(cell.right.color));
            if (cell.top.on)
                p.fillRect(x1, y1, x2 - x1 + 1, 1, toColor(cell.top.color));
            if (cell.bottom.on)
                p.fillRect(x1, y2, x2 - x1 + 1, 1, toColor(cell.bottom.color));
        }
    }
}

void SheetPainter::paintBorderRuns(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                                   const std::vector<Span>& rows) const
{
    // The same lines as paintBorders(), each run of one colour along a row
    // or down a column painted as one.
    const int left0 = cols.front().pos, top0 = rows.front().pos;
    enum Side { Left, Right, Top, Bottom };
    auto border = [&](const Span& c, const Span& r, Side side) -> const Border& {
        const CellStyle& st = sheet.style(c.index, r.index);
        return side == Left ? st.left : side == Right ? st.right : side == Top ? st.top : st.bottom;
    };
    for (const Span& r : rows)
        for (Side side : {Top, Bottom}) {
            const int y = side == Top ? std::max(top0, r.pos - 1) : r.pos + r.size - 1;
            std::size_t i = 0;
            while (i < cols.size()) {
                const Border& b = border(cols[i], r, side);
                std::size_t j = i + 1;
                if (b.on)
                    while (j < cols.size() && cols[j].pos == cols[j - 1].pos + cols[j - 1].size
                           && border(cols[j], r, side) == b)
                        ++j;
                if (b.on) {
                    const int x1 = std::max(left0, cols[i].pos - 1), x2 = cols[j - 1].pos + cols[j - 1].size - 1;
                    p.fillRect(x1, y, x2 - x1 + 1, 1, toColor(b.color));
                }
                i = j;
            }
        }
    for (const Span& c : cols)
        for (Side side : {Left, Right}) {
            const int x = side == Left ? std::max(left0, c.pos - 1) : c.pos + c.size - 1;
            std::size_t i = 0;
            while (i < rows.size()) {
                const Border& b = border(c, rows[i], side);
                std::size_t j = i + 1;
                if (b.on)
                    while (j < rows.size() && rows[j].pos == rows[j - 1].pos + rows[j - 1].size
                           && border(c, rows[j], side) == b)
                        ++j;
                if (b.on) {
                    const int y1 = std::max(top0, rows[i].pos - 1), y2 = rows[j - 1].pos + rows[j - 1].size - 1;
                    p.fillRect(x, y1, 1, y2 - y1 + 1, toColor(b.color));
                }
                i = j;
            }
        }
}

std::vector<SheetPainter::TextPlacement> SheetPainter::layoutTexts(const Sheet& sheet, const std::vector<Span>& cols,
                                                                   const Span& r) const
{
    std::vector<TextPlacement> out;
    // Right edge of the text placed last in this row: a text never spills
    // over a cell another text already runs across.
    int claimed = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < cols.size(); ++i) {
        if (sheet.text(cols[i].index, r.index).isEmpty())
            continue;
        TextPlacement t;
        t.column = cols[i].index;
        t.cell = sheet.cell(cols[i].index, r.index);
        const Cell& cell = t.cell;
        int left = cols[i].pos, right = cols[i].pos + cols[i].size;
        const int textWidth = this->textWidth(cell.text);
        // Where the text may go within [left, right): a pixel off each side
        // and clear of the right line. A centred text stays centred on its
        // own cell, so it has as much room on either side as the nearer end
        // leaves it.
        const bool centred = cell.hAlign == HAlign::Center;
        const int centre = cols[i].pos + cols[i].size / 2;
        auto room = [&](int padding) {
            const int from = left + padding, to = right - padding - 1;
            if (!centred)
                return QRect(from, r.pos, std::max(0, to - from), r.size);
            const int half = std::max(0, std::min(centre - from, to - centre));
            return QRect(centre - half, r.pos, 2 * half, r.size);
        };
        if (sheet.allowOverflow() && textWidth > room(kTextPadding).width()) {
            auto emptyAt = [&](std::size_t k) { return sheet.text(cols[k].index, r.index).isEmpty(); };
            std::size_t lo = i, hi = i;
            // Left-aligned text spills to the right, right-aligned text to
            // the left, centred text to both sides evenly.
            const bool goRight = cell.hAlign != HAlign::Right;
            const bool goLeft = cell.hAlign != HAlign::Left;
            bool grew = true;
            while (textWidth > room(kTextPadding).width() && grew) {
                grew = false;
                if (goRight && hi + 1 < cols.size() && emptyAt(hi + 1)
                    && cols[hi + 1].pos == cols[hi].pos + cols[hi].size) {
                    ++hi;
                    right += cols[hi].size;
                    grew = true;
                }
                if (textWidth <= room(kTextPadding).width())
                    break;
                if (goLeft && lo > 0 && emptyAt(lo - 1) && cols[lo - 1].pos >= claimed
                    && cols[lo - 1].pos + cols[lo - 1].size == cols[lo].pos) {
                    --lo;
                    left -= cols[lo].size;
                    grew = true;
                }
            }
        }
        t.box = QRect(left, r.pos, right - left, r.size);
        claimed = right;
        // Where the text would stand at full size, and where its ink (the
        // text without leading and trailing spaces) would then be.
        QRect textBox = room(kTextPadding);
        int x0 = centred ? centre - textWidth / 2
                 : cell.hAlign == HAlign::Right ? textBox.right() + 1 - textWidth
                                                : textBox.left();
        const QString ink = cell.text.trimmed();
        int inkLeft = x0, inkRight = x0 + textWidth;
        if (ink.size() != cell.text.size()) {
            const int lead = ink.isEmpty() ? 0 : this->textWidth(cell.text.left(cell.text.indexOf(ink)));
            inkLeft = x0 + lead;
            inkRight = inkLeft + this->textWidth(ink);
            // Spaces on both sides of a text that is wider than all the room
            // it got only place a title over the cells it spans; their width
            // differs from font to font, so the title is centred on that
            // room instead.
            const bool padded = !ink.isEmpty() && cell.text.front().isSpace() && cell.text.back().isSpace();
            if (padded && textWidth > textBox.width()) {
                const int inkWidth = inkRight - inkLeft;
                inkLeft = textBox.left() + (textBox.width() - inkWidth) / 2;
                inkRight = inkLeft + inkWidth;
                x0 = inkLeft - lead;
            }
        }
        t.inkLeft = inkLeft;
        t.inkRight = inkRight;
        t.fullSize = QRect(x0, r.pos, textWidth, r.size);
        const bool whole = inkLeft >= left + kTextPadding && inkRight <= right - kTextPadding - 1;
        if (!whole) {
            // A text wider than its room, such as a header that fills its
            // cell, is drawn a little smaller (narrower, or on two lines) so
            // that it stays whole; it may then use the cell up to its lines.
            t.textBox = room(0);
            t.fit = fitText(cell.text, t.textBox.width(), t.textBox.height());
        }
        out.push_back(std::move(t));
    }
    return out;
}

void SheetPainter::drawText(QPainter& p, const TextPlacement& t) const
{
    const Cell& cell = t.cell;
    const TextFit& fit = t.fit;
    if (!fit.fits) {
        // A text at full size that lies wholly inside its room, as most
        // numbers and marks do, needs no clip and no saved painter state:
        // only its colour. (The grid draws thousands of them.)
        const auto [text, at] = placePlainText(t.fullSize, cell);
        if (QRectF(t.box).contains(QRectF(at, text->size()))) {
            const QColor colour = toColor(cell.fg);
            if (p.pen().color() != colour || p.pen().style() != Qt::SolidLine)
                p.setPen(colour);
            p.drawStaticText(at, *text);
            return;
        }
    }
    p.save();
    p.setClipRect(t.box);
    p.setPen(toColor(cell.fg));
    QRect textBox = t.textBox;
    if (fit.fits && !fit.secondLine.isEmpty()) {
        p.setFont(fit.font);
        const int lineHeight = QFontMetrics(fit.font).height();
        const Qt::Alignment h = toAlignment(cell) & Qt::AlignHorizontal_Mask;
        const int top = textBox.top() + (textBox.height() - 2 * lineHeight) / 2;
        p.drawText(QRect(textBox.left(), top, textBox.width(), lineHeight),
                   int(h | Qt::AlignVCenter) | Qt::TextSingleLine, fit.firstLine);
        p.drawText(QRect(textBox.left(), top + lineHeight, textBox.width(), lineHeight),
                   int(h | Qt::AlignVCenter) | Qt::TextSingleLine, fit.secondLine);
    } else if (fit.fits) {
        p.setFont(fit.font);
        if (fit.scaleX < 1.0) {
            p.translate(textBox.left(), 0);
            p.scale(fit.scaleX, 1.0);
            textBox = QRect(0, textBox.top(), int(std::ceil(textBox.width() / fit.scaleX)), textBox.height());
        }
        p.drawText(textBox, int(toAlignment(cell)) | Qt::TextSingleLine, cell.text);
    } else {
        // At full size where it stands; what lies beyond the room it got is
        // cut off. The text's laid-out form is kept, so that the many repeats
        // of a number are shaped only once.
        drawPlainText(p, t.fullSize, cell);
    }
    p.restore();
}

void SheetPainter::paint(QPainter& p, const Sheet& sheet, const std::vector<Span>& cols,
                         const std::vector<Span>& rows) const
{
    if (cols.empty() || rows.empty())
        return;
    p.save();
    p.setFont(m_font);

    // Backgrounds first, then texts (which may spill over empty neighbours),
    // then borders on top.
    paintBackgrounds(p, sheet, cols, rows);

    for (const Span& r : rows)
        for (const TextPlacement& t : layoutTexts(sheet, cols, r))
            drawText(p, t);

    if (m_forPaper)
        paintBorderRuns(p, sheet, cols, rows);
    else
        paintBorders(p, sheet, cols, rows);
    p.restore();
}

}  // namespace mirkano
