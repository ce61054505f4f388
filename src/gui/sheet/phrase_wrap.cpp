#include "gui/sheet/phrase_wrap.h"

#include <QStringList>

namespace mirkano {

namespace {

bool isHiragana(QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x309F; }

bool opens(QChar c) { return QStringView(u"（(「『［【〈《").contains(c); }
bool closes(QChar c) { return QStringView(u"）)」』］】〉》、。，．").contains(c); }

}  // namespace

std::vector<int> phraseBreaks(const QString& text)
{
    std::vector<int> breaks;
    for (int i = 1; i < text.size(); ++i) {
        const QChar before = text[i - 1], after = text[i];
        // Never before a closing mark, never after an opening one.
        if (closes(after) || opens(before))
            continue;
        if (closes(before) || opens(after) || (isHiragana(before) && !isHiragana(after)))
            breaks.push_back(i);
    }
    return breaks;
}

QString phraseWrapped(const QString& text, const QFontMetrics& fm, int width)
{
    if (width <= 0 || fm.horizontalAdvance(text) <= width)
        return text;
    std::vector<int> breaks = phraseBreaks(text);
    breaks.push_back(int(text.size()));
    QStringList lines;
    int start = 0;
    while (start < text.size()) {
        // The longest run of whole phrases from `start` that fits.
        int end = start;
        for (int b : breaks)
            if (b > start && fm.horizontalAdvance(text.mid(start, b - start)) <= width)
                end = b;
        if (end == start) {
            // One phrase is wider than the line: as many characters as fit.
            end = start + 1;
            while (end < text.size() && fm.horizontalAdvance(text.mid(start, end + 1 - start)) <= width)
                ++end;
        }
        lines << text.mid(start, end - start);
        start = end;
    }
    return lines.join(u'\n');
}

}  // namespace mirkano
