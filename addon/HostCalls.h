// Thin wrappers that call the host's services by entry number, passing the add-on token.
#ifndef KSV_HOST_CALLS_H
#define KSV_HOST_CALLS_H

#include "ACAPI.h"
#include "Module.h"

#include <cstdint>

namespace KSV {

// Calls entry number entry of the host's table; APIERR_GENERAL before the table has arrived.
// Inline: the export calls some services once per item.
inline GSErrCode callHost(int entry, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr,
                          void* par4 = nullptr)
{
    const ModuleState& state = module();
    if (!state.ready || entry < 0 || entry >= kACServiceCount || state.table[entry] == nullptr) {
        return APIERR_GENERAL;
    }
    return state.table[entry](state.token, par1, par2, par3, par4);
}

inline void* asParameter(intptr_t value) { return reinterpret_cast<void*>(value); }

inline GSErrCode ACAPI_Register_FileType(const API_FileTypeRecord& record)
{
    return callHost(kACRegisterFileType, const_cast<API_FileTypeRecord*>(&record));
}
inline GSErrCode ACAPI_Install_FileTypeHandler3D(int32_t refCon, APIIO3DCommandProc handler)
{
    return callHost(kACInstallFileTypeHandler3D, asParameter(refCon), reinterpret_cast<void*>(handler));
}
inline GSErrCode ACAPI_SetPreferences(int32_t version, int32_t size, const void* data)
{
    return callHost(kACSetPreferences, asParameter(version), asParameter(size), const_cast<void*>(data));
}
// *size is the capacity of data on entry; version and size of the stored record on return.
inline GSErrCode ACAPI_GetPreferences(int32_t* version, int32_t* size, void* data)
{
    return callHost(kACGetPreferences, version, size, data);
}
inline GSErrCode ACAPI_Environment(GSType selector, void* par2 = nullptr, void* par3 = nullptr)
{
    return callHost(kACEnvironment, asParameter(static_cast<intptr_t>(selector)), par2, par3);
}
inline GSErrCode ACAPI_3DSettings(GSType selector, void* par2, void* par3 = nullptr)
{
    return callHost(kAC3DSettings, asParameter(static_cast<intptr_t>(selector)), par2, par3);
}
inline GSErrCode ACAPI_ProgressWindow(GSType selector, void* par2 = nullptr, void* par3 = nullptr)
{
    return callHost(kACProgressWindow, asParameter(static_cast<intptr_t>(selector)), par2, par3);
}
inline GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute)
{
    return callHost(kACAttributeByIndex, attribute);
}
inline GSErrCode ACAPI_Element_GetElemList(int32_t type, int32_t* count, API_Guid* guids)
{
    return callHost(kACElementList, asParameter(type), count, guids);
}
inline GSErrCode ACAPI_Element_Get(API_Element* element)
{
    return callHost(kACElementByIndex, element);
}
inline GSErrCode ACAPI_3D_GetNum(int32_t type, int32_t* count)
{
    return callHost(kAC3DComponentCount, asParameter(type), count);
}
inline GSErrCode ACAPI_3D_GetComponent(API_Component3D* component)
{
    return callHost(kAC3DComponent, component);
}

}  // namespace KSV

#endif
