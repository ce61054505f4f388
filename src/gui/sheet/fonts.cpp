#include "sheet/grid_units.h"

#include <QStringList>

namespace mirkano {

QFont sheetFont()
{
    QFont f(QStringLiteral("IPAGothic"));
    f.setFamilies(QStringList{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                   QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(12);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont uiFont()
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setFamilies(QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                   QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(12);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

}  // namespace mirkano
