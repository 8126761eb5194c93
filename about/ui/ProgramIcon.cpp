#include "about/ui/ProgramIcon.h"

// The resources live in a static library: a linker keeps their object file
// only when something refers to it, so register them explicitly (this also
// serves every other user of ":/farsend98.svg" in the program).
static void registerResources() { Q_INIT_RESOURCE(farsend); }

namespace farsend {

QIcon programIcon() {
    static const bool registered = (registerResources(), true);
    (void)registered;
    return QIcon(":/farsend98.svg");
}

}  // namespace farsend
