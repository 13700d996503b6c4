#include "foundation/windows.h"

// Each subsystem's registration; a subsystem adds its call here when its windows exist.
namespace windows {

void registerAll() {}

} // namespace windows
