#include "analysis/interval/interval.h"

namespace mirkano {

Sheet buildDispersionSheet(const History&, const StartupTables&)
{
    return Sheet();  // not built yet
}

}  // namespace mirkano
