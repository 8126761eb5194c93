#pragma once
// The program's icon, from the resources built into the program.

#include <QIcon>

namespace farsend {

// The icon drawn in resources/farsend98.svg.
QIcon programIcon();

}  // namespace farsend
