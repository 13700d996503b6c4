#include "foundation/globals.h"

ModuleValues &mv()
{
    static ModuleValues values;
    return values;
}
