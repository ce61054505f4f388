#include "analysis/appearance/appearance.h"

namespace mirkano {

Sheet buildFrequencySheet(const History&, const StartupTables&)
{
    return Sheet();  // not built yet
}

}  // namespace mirkano
