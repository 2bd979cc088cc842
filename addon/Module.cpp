// The module's life: load, the two exported functions, the four entry functions, unload.
#include "Errors.h"
#include "HostCalls.h"
#include "Module.h"

#include <Scn.h>

#include <cstring>
#include <dlfcn.h>

#define KSV_EXPORT extern "C" __attribute__((visibility("default")))

namespace KSV {

namespace {

void copyField(char16_t (&field)[256], const GS::UniString& text)
{
    const std::u16string& units = text.Utf16();
    const std::size_t length = units.size() < 255 ? units.size() : 255;
    std::memcpy(field, units.data(), length * sizeof(char16_t));
    field[length] = 0;
}

int32_t CheckEnvironment(API_EnvirParams* envir)
{
    ModuleState& state = module();
    if (!state.ready || envir == nullptr || (envir->serverKind != 0 && envir->serverKind != 1)) {
        return 0;
    }
    try {
        std::memcpy(&state.envir, envir, sizeof state.envir);
        const std::string code = languageCode().ToCStr();
        std::snprintf(state.language, sizeof state.language, "%s", code.c_str());
        const GSResID list = 131 + 100 * languageIndexOf(code.c_str());
        GS::UniString name = getResString(list, 3);
        name += GS::UniString(" (7.06)");
        copyField(envir->addOnName, name);
        copyField(envir->addOnDescription, getResString(list, 4));
        return 1;
    } catch (...) {
        return 0;
    }
}

GSErrCode RegisterInterface()
{
    if (!module().ready) {
        return APIERR_GENERAL;
    }
    const NvScn::CScnFileType* const* types = NvScn::CScnMgr::getFileTypeList();
    if (types == nullptr || types[0] == nullptr || types[0]->extension == nullptr) {
        return APIERR_GENERAL;
    }
    const NvScn::CScnFileType& first = *types[0];
    API_FileTypeRecord record = {};
    record.refCon = 1;
    record.fileType = first.fileType;
    record.creator = first.creator;
    record.extension = first.extension[0] == '.' ? first.extension + 1 : first.extension;
    record.iconId = 0;
    record.descriptionListId = 131;
    record.descriptionItem = 1;
    record.flags = 48;
    return ACAPI_Register_FileType(record);
}

GSErrCode Initialize(uint32_t token)
{
    if (!module().ready) {
        return APIERR_GENERAL;
    }
    module().token = token;
    const GSErrCode result = ACAPI_Install_FileTypeHandler3D(1, StartSCNExport);
    if (result != NoError) {
        DBPrintf("Kestrovin_Out:: Initialize() ACAPI_Install_FileTypeHandler3D failed\n");
        return result;
    }
    return NoError;
}

GSErrCode FreeData()
{
    if (!module().ready) {
        return APIERR_GENERAL;
    }
    module().token = 0;
    return NoError;
}

uint32_t offsetOf(const void* function)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(function) -
                                 reinterpret_cast<uintptr_t>(module().instance));
}

// Module load: the module's path and its resources.
__attribute__((constructor)) void moduleLoaded()
{
    ModuleState& state = module();
    Dl_info info;
    if (::dladdr(reinterpret_cast<void*>(&moduleLoaded), &info) != 0) {
        state.instance = info.dli_fbase;
        if (info.dli_fname != nullptr && std::strlen(info.dli_fname) < sizeof state.path) {
            std::strcpy(state.path, info.dli_fname);
        }
    }
    const GSResModule previous = RSGetActiveModule();
    state.resModule = RSAddModule(state.path);
    RSSetActiveModule(previous);
}

// Module unload: the resources go; a token still set means the host never released the add-on.
__attribute__((destructor)) void moduleUnloaded()
{
    ModuleState& state = module();
    if (state.resModule != -1) {
        RSRemoveModule(state.resModule);
        state.resModule = -1;
    }
    if (state.token != 0) {
        DBPrintf("Abnormal add-on termination (\"%s\")", state.path);
        if (state.termHook != nullptr) {
            DBPrintf(", calling custom DllTermHookProc\n");
            state.termHook();
        } else {
            DBPrintf("\n");
        }
        state.token = 0;
    }
}

}  // namespace
}  // namespace KSV

KSV_EXPORT void GetExportedFuncAddrs(API_ExportedFuncs* record)
{
    if (record == nullptr) {
        return;
    }
    std::memset(record, 0, sizeof *record);
    record->words[0] = 0x000E0001u;
    record->words[1] = KSV::offsetOf(reinterpret_cast<const void*>(&KSV::CheckEnvironment));
    record->words[2] = KSV::offsetOf(reinterpret_cast<const void*>(&KSV::RegisterInterface));
    record->words[3] = KSV::offsetOf(reinterpret_cast<const void*>(&KSV::Initialize));
    record->words[4] = KSV::offsetOf(reinterpret_cast<const void*>(&KSV::FreeData));
    record->words[5] = 14000u;
}

KSV_EXPORT GSErrCode SetImportedFuncAddrs(const ACServiceProc* table)
{
    if (table == nullptr) {
        return APIERR_BADPARS;
    }
    std::memcpy(KSV::module().table, table, sizeof KSV::module().table);
    KSV::module().ready = true;
    return NoError;
}
