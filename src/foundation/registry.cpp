#include "foundation/windows.h"

#include "codetables/codetables.h"

// Each subsystem's registration; a subsystem adds its call here when its windows exist.
namespace windows {

void registerAll()
{
    codetables::registerWindows();
}

} // namespace windows
