#pragma once
// The program's own icon, a shaded ball in the blue of the main-number marks,
// for every window. The same picture lies beside this file as a scalable SVG
// and as PNGs of the usual icon sizes, for a desktop entry.

#include <QIcon>

namespace mirkano {

QIcon programIcon();

}  // namespace mirkano
