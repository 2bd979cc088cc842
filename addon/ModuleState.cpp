// The module-wide state.
#include "Module.h"

namespace KSV {

ModuleState gModuleState;

}  // namespace KSV
