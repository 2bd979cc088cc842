// The module-wide state of the add-on: one instance per loaded module.
#ifndef KSV_MODULE_H
#define KSV_MODULE_H

#include "ACAPI.h"

#include <cstdint>

namespace KSV {

struct ModuleState {
    void* instance = nullptr;            // the module's load address
    char path[260] = {};                 // the module file; empty when it cannot be obtained
    GSResModule resModule = -1;          // the host's number for this module's resources
    ACServiceProc table[kACServiceCount] = {};
    bool ready = false;                  // the service table has arrived
    uint32_t token = 0;                  // 0 when not initialised
    API_EnvirParams envir = {};          // the last environment record, as received
    char language[4] = {};               // the host's language code at the environment check
    void (*termHook)() = nullptr;        // run when the module is unloaded without release
};

// The one module state; constant-initialised, so that the per-item host calls read it directly.
extern ModuleState gModuleState;
inline ModuleState& module() { return gModuleState; }

// The 3D file-type handler that initialisation installs.
GSErrCode StartSCNExport(const API_IOParams* params, Modeler::Sight* sight);

}  // namespace KSV

#endif
