#include "analysis/appearance/appearance.h"

namespace mirkano {

Sheet buildAppearanceCountSheet(const History&, const StartupTables&)
{
    return Sheet();  // not built yet
}

}  // namespace mirkano
