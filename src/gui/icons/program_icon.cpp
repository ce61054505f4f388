#include "gui/icons/program_icon.h"

// The resources live in the static GUI library, so they are registered by
// hand the first time the icon is asked for.
static void initIconResources() { Q_INIT_RESOURCE(mirkano); }

namespace mirkano {

QIcon programIcon()
{
    static const QIcon icon = [] {
        initIconResources();
        QIcon i;
        for (int size : {16, 32, 48, 64, 128, 256})
            i.addFile(QStringLiteral(":/icons/mirkano-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}

}  // namespace mirkano
