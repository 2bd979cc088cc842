// The module-wide state and the calls into the host's service table.
#include "HostCalls.h"
#include "Module.h"

namespace KSV {

ModuleState gModuleState;

GSErrCode callHost(int entry, void* par1, void* par2, void* par3, void* par4)
{
    const ModuleState& state = module();
    if (!state.ready || entry < 0 || entry >= kACServiceCount || state.table[entry] == nullptr) {
        return APIERR_GENERAL;
    }
    return state.table[entry](state.token, par1, par2, par3, par4);
}

}  // namespace KSV
