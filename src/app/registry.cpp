#include "app/registry.h"

#include "foundation/windows.h"

#include "codetables/codetables.h"
#include "contracts/contracts.h"
#include "maintenance/maintenance.h"
#include "owners/owners.h"
#include "parcels/parcels.h"
#include "payments/payments.h"
#include "settlement/windows.h"

// Each subsystem's registration; a subsystem adds its call here when its windows exist.
namespace windows {

void registerAll()
{
    codetables::registerWindows();
    owners::registerWindows();
    parcels::registerWindows();
    contracts::registerWindows();
    payments::registerWindows();
    settlement::registerWindows();
    maintenance::registerWindows();
}

} // namespace windows
