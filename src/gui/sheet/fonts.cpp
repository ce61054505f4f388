#include "gui/sheet/grid_units.h"

#include <QStringList>

namespace mirkano {

namespace {

// A 12-pixel Japanese sans-serif face, the first of the given families that
// is installed.
QFont japaneseFont(const QStringList& families)
{
    QFont f(families.first());
    f.setFamilies(families);
    f.setPixelSize(12);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

}  // namespace

QFont sheetFont()
{
    return japaneseFont({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                         QStringLiteral("Noto Sans CJK JP")});
}

QFont uiFont()
{
    return japaneseFont({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                         QStringLiteral("Noto Sans CJK JP")});
}

}  // namespace mirkano
