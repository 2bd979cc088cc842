// Loading an add-on module as the host does, and unloading it.
#include "CADHost.h"
#include "HostState.h"

#include <cstring>
#include <dlfcn.h>

namespace cadhost {
namespace {

std::string moduleName(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    if (name.compare(0, 3, "lib") == 0) {
        name.erase(0, 3);
    }
    const std::size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string fieldText(const char16_t* field, std::size_t capacity)
{
    std::size_t length = 0;
    while (length < capacity && field[length] != 0) {
        ++length;
    }
    return GS::Utf16ToUtf8(std::u16string(field, length));
}

template <typename Proc>
Proc entryAt(uintptr_t base, uint32_t offset)
{
    return offset == 0 ? nullptr : reinterpret_cast<Proc>(base + offset);
}

}  // namespace

AddOn::~AddOn() { unload(); }

bool AddOn::load(const std::string& path, Stage upTo)
{
    unload();
    mPath = path;
    mError.clear();
    const std::string name = moduleName(path);
    auto fail = [&](const std::string& problem) {
        mError = "cannot load the add-on \"" + path + "\": " + problem;
        unload(token != 0);
        return false;
    };
    mHandle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mHandle == nullptr) {
        const char* reason = ::dlerror();
        mError = "cannot load the add-on \"" + path + "\": " + (reason != nullptr ? reason : "unknown reason");
        return false;
    }
    host().loadingName = name;
    resources = RSAddModule(path.c_str());
    if (resources != InvalidResModule) {
        host().addOnModules[name] = resources;
        const ResourceSet* set = resourcesOf(resources);
        const auto id = set->identifiers.find(32500);
        if (id != set->identifiers.end() && id->second.size() == 2) {
            identifier[0] = id->second[0];
            identifier[1] = id->second[1];
        }
    }
    getExported = reinterpret_cast<APIGetExportedFuncAddrsProc>(::dlsym(mHandle, "GetExportedFuncAddrs"));
    setImported = reinterpret_cast<APISetImportedFuncAddrsProc>(::dlsym(mHandle, "SetImportedFuncAddrs"));
    if (getExported == nullptr || setImported == nullptr) {
        return fail("it does not export GetExportedFuncAddrs and SetImportedFuncAddrs");
    }
    if (upTo == Opened) {
        return true;
    }
    const GSErrCode imported = setImported(serviceTable());
    if (imported != NoError) {
        return fail("SetImportedFuncAddrs answered " + std::to_string(imported));
    }
    if (upTo == TableHanded) {
        return true;
    }
    std::memset(&exported, 0, sizeof exported);
    getExported(&exported);
    Dl_info info;
    if (exported.words[0] != 0x000E0001u || exported.words[5] != 14000u ||
        ::dladdr(reinterpret_cast<void*>(getExported), &info) == 0) {
        return fail("its description is not for this host version");
    }
    const auto base = reinterpret_cast<uintptr_t>(info.dli_fbase);
    checkEnvironment = entryAt<APICheckEnvironmentProc>(base, exported.words[1]);
    registerInterface = entryAt<APIRegisterInterfaceProc>(base, exported.words[2]);
    initialize = entryAt<APIInitializeProc>(base, exported.words[3]);
    freeData = entryAt<APIFreeDataProc>(base, exported.words[4]);
    if (checkEnvironment == nullptr || registerInterface == nullptr || initialize == nullptr ||
        freeData == nullptr) {
        return fail("its description lacks an entry function");
    }
    if (upTo == Described) {
        return true;
    }
    std::memset(&environment, 0, sizeof environment);
    environment.serverKind = 0;
    environment.serverVersion = 14;
    environment.serverBuild = 3080;
    checkResult = checkEnvironment(&environment);
    if (checkResult == 0) {
        return fail("it refused the host's environment");
    }
    if (upTo == Checked) {
        return true;
    }
    registerResult = registerInterface();
    if (registerResult != NoError) {
        return fail("its interface registration answered " + std::to_string(registerResult));
    }
    if (upTo == Registered) {
        return true;
    }
    token = host().nextToken++;
    host().tokens[token] = name;
    initializeResult = initialize(token);
    host().loadingName.clear();
    if (initializeResult != NoError) {
        return fail("its initialisation answered " + std::to_string(initializeResult));
    }
    return true;
}

void AddOn::unload(bool release)
{
    if (mHandle == nullptr) {
        return;
    }
    const std::string name = moduleName(mPath);
    if (release && token != 0 && freeData != nullptr) {
        freeData();
    }
    host().tokens.erase(token);
    if (host().recentToken == token) {
        host().recentToken = 0;
    }
    ::dlclose(mHandle);
    mHandle = nullptr;
    if (host().loadingName == name) {
        host().loadingName.clear();
    }
    RSRemoveModule(resources);
    host().addOnModules.erase(name);
    resources = InvalidResModule;
    for (auto it = host().handlers3D.begin(); it != host().handlers3D.end();) {
        it = it->second.addOn == name ? host().handlers3D.erase(it) : std::next(it);
    }
    auto& types = host().fileTypes;
    for (auto it = types.begin(); it != types.end();) {
        it = it->addOn == name ? types.erase(it) : std::next(it);
    }
    token = 0;
    getExported = nullptr;
    setImported = nullptr;
    checkEnvironment = nullptr;
    registerInterface = nullptr;
    initialize = nullptr;
    freeData = nullptr;
}

std::string AddOn::name() const { return fieldText(environment.addOnName, 256); }

std::string AddOn::description() const { return fieldText(environment.addOnDescription, 256); }

SaveRequest::SaveRequest(const std::string& target, int32_t method, int32_t noDialog)
    : location(target.c_str()), name(target.substr(target.rfind('/') + 1).c_str())
{
    params.method = method;
    params.refCon = 1;
    params.fileLoc = &location;
    params.fileName = &name;
    params.noDialog = noDialog;
}

GSErrCode AddOn::save3D(int32_t refCon, const API_IOParams& params, Modeler::Sight* sight)
{
    const APIIO3DCommandProc handler = installedHandler3D(refCon);
    return handler == nullptr ? APIERR_GENERAL : handler(&params, sight);
}

}  // namespace cadhost
