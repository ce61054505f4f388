#include "analysis/interval/interval.h"

namespace mirkano {

Sheet buildAppearanceIntervalSheet(const History&, const StartupTables&)
{
    return Sheet();  // not built yet
}

}  // namespace mirkano
