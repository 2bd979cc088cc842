// The service table of the host, its project, its scripted user and the preferences it keeps.
#include "CADHost.h"
#include "HostState.h"
#include "Model.h"
#include "Progress.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cadhost {
namespace {

int32_t integerOf(void* parameter) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(parameter)); }

// The name of the add-on that called with this token; token 0 is the add-on being loaded.
bool callerOf(uint32_t token, std::string* name)
{
    if (token == 0) {
        *name = host().loadingName;
        return !name->empty();
    }
    const auto found = host().tokens.find(token);
    if (found == host().tokens.end()) {
        return false;
    }
    *name = found->second;
    return true;
}

// Whether the token is a loaded add-on's (or 0 while one loads), for the services called per item,
// which need no name.
bool knownCaller(uint32_t token)
{
    HostState& state = host();
    if (token == 0) {
        return !state.loadingName.empty();
    }
    if (token == state.recentToken) {
        return true;
    }
    if (state.tokens.count(token) == 0) {
        return false;
    }
    state.recentToken = token;
    return true;
}

GSErrCode missingService(uint32_t, void*, void*, void*, void*) { return APIERR_MISSINGCODE; }

GSErrCode registerFileType(uint32_t token, void* par1, void*, void*, void*)
{
    std::string caller;
    const auto* record = static_cast<const API_FileTypeRecord*>(par1);
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (record == nullptr || record->extension == nullptr || *record->extension == '\0' ||
        std::strchr(record->extension, '.') != nullptr) {
        return APIERR_BADPARS;
    }
    GS::UniString description;
    const auto module = host().addOnModules.find(caller);
    if (module == host().addOnModules.end() ||
        !RSGetIndString(&description, record->descriptionListId, record->descriptionItem, module->second)) {
        return APIERR_BADPARS;
    }
    RegisteredFileType type;
    type.record = *record;
    type.extension = record->extension;
    type.record.extension = nullptr;
    type.description = description.ToCStr();
    type.token = token;
    type.addOn = caller;
    host().fileTypes.push_back(type);
    return NoError;
}

GSErrCode installHandler3D(uint32_t token, void* par1, void* par2, void*, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (par2 == nullptr) {
        return APIERR_BADPARS;
    }
    host().handlers3D[integerOf(par1)] = {reinterpret_cast<APIIO3DCommandProc>(par2), caller};
    return NoError;
}

GSErrCode removeHandler3D(uint32_t token, void* par1, void*, void*, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    return host().handlers3D.erase(integerOf(par1)) == 1 ? NoError : APIERR_BADID;
}

const char kPrefsMagic[8] = {'C', 'A', 'D', 'H', 'P', 'R', 'E', 'F'};

// Reads the stored preferences; false when there are none or the file is damaged.
bool readPreferences(const std::string& name, int32_t* version, std::string* bytes)
{
    std::string content;
    if (!readWholeFile(preferencesPath(name), &content) || content.size() < 16 ||
        std::memcmp(content.data(), kPrefsMagic, 8) != 0) {
        return false;
    }
    int32_t size = 0;
    std::memcpy(version, content.data() + 8, 4);
    std::memcpy(&size, content.data() + 12, 4);
    if (size < 0 || static_cast<std::size_t>(size) != content.size() - 16) {
        return false;
    }
    bytes->assign(content, 16, std::string::npos);
    return true;
}

GSErrCode setPreferences(uint32_t token, void* par1, void* par2, void* par3, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    const int32_t version = integerOf(par1);
    const int32_t size = integerOf(par2);
    if (size < 0 || (size > 0 && par3 == nullptr)) {
        return APIERR_BADPARS;
    }
    std::string content(kPrefsMagic, 8);
    content.append(reinterpret_cast<const char*>(&version), 4);
    content.append(reinterpret_cast<const char*>(&size), 4);
    content.append(static_cast<const char*>(par3), static_cast<std::size_t>(size));
    // Written beside and renamed over the old file, so that a failed write keeps the old options.
    const std::string path = preferencesPath(caller);
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string temporary = path + ".new";
    if (!makeFolders(folder)) {
        return APIERR_GENERAL;
    }
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return APIERR_GENERAL;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return APIERR_GENERAL;
    }
    return NoError;
}

GSErrCode getPreferences(uint32_t token, void* par1, void* par2, void* par3, void*)
{
    std::string caller;
    auto* version = static_cast<int32_t*>(par1);
    auto* size = static_cast<int32_t*>(par2);
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (version == nullptr || size == nullptr) {
        return APIERR_BADPARS;
    }
    const int32_t capacity = *size;
    std::string bytes;
    int32_t stored = 0;
    if (!readPreferences(caller, &stored, &bytes)) {
        *version = 0;
        *size = 0;
        return NoError;
    }
    *version = stored;
    *size = static_cast<int32_t>(bytes.size());
    if (par3 != nullptr && capacity > 0) {
        std::memcpy(par3, bytes.data(), std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(capacity)));
    }
    return NoError;
}

GSErrCode environment(uint32_t token, void* par1, void* par2, void*, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    Project& p = project();
    const auto selector = static_cast<GSType>(reinterpret_cast<uintptr_t>(par1));
    if (selector == kSelCDAT) {
        const int32_t database = integerOf(par2);
        if (database < 1 || database > 3) {
            return APIERR_BADID;
        }
        p.database = database;
        return NoError;
    }
    if (par2 == nullptr) {
        return APIERR_BADPARS;
    }
    if (selector == kSelGWIN) {
        *static_cast<int32_t*>(par2) = p.windowKind;
    } else if (selector == kSelGDAT) {
        *static_cast<int32_t*>(par2) = p.database;
    } else if (selector == kSelGOFS) {
        *static_cast<API_Coord*>(par2) = p.origin;
    } else {
        return APIERR_BADPARS;
    }
    return NoError;
}

GSErrCode settings3D(uint32_t token, void* par1, void* par2, void* par3, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (par2 == nullptr) {
        return APIERR_BADPARS;
    }
    Project& p = project();
    const auto selector = static_cast<GSType>(reinterpret_cast<uintptr_t>(par1));
    if (selector == kSelGREN) {
        const int32_t index = integerOf(par3);
        if (index < 0 || index > 1) {
            return APIERR_BADINDEX;
        }
        auto* record = static_cast<API_RenderingSettings*>(par2);
        *record = p.rendering[index];
        record->index = index;
        record->backgroundPicture = nullptr;
        if (!p.backgroundPicture[index].empty()) {
            host().backgroundLocation[index] = IO::Location(p.backgroundPicture[index].c_str());
            record->backgroundPicture = &host().backgroundLocation[index];
        }
    } else if (selector == kSelGP3D) {
        *static_cast<API_3DProjectionInfo*>(par2) = p.projection;
    } else if (selector == kSelGMAP) {
        *static_cast<GS::UniString*>(par2) = GS::UniString(p.mapName.c_str());
    } else if (selector == kSelGPLA) {
        *static_cast<API_PlaceInfo*>(par2) = p.place;
    } else if (selector == kSelGSUN) {
        *static_cast<API_SunInfo*>(par2) = p.sun;
    } else {
        return APIERR_BADPARS;
    }
    return NoError;
}

// The value of the progress window, which an export sets for every item it writes: the log
// keeps it for later, the bar is drawn only on a terminal.
inline void noteProgressValue(HostState& state, int32_t value)
{
    state.project.progressLog.value(value);
    if (state.progressStream != nullptr) {
        progressValue(value);
    }
}

GSErrCode progressWindowCall(uint32_t token, void* par1, void* par2, void* par3);

// An export sets a value per item it writes, so a value from the add-on that called last is
// noted here and everything else in the call below.
GSErrCode progressWindow(uint32_t token, void* par1, void* par2, void* par3, void*)
{
    HostState& state = host();
    if (static_cast<GSType>(reinterpret_cast<uintptr_t>(par1)) == kSelSPRV && token != 0 &&
        token == state.recentToken) {
        noteProgressValue(state, integerOf(par2));
        return NoError;
    }
    return progressWindowCall(token, par1, par2, par3);
}

__attribute__((noinline)) GSErrCode progressWindowCall(uint32_t token, void* par1, void* par2, void* par3)
{
    HostState& state = host();
    const auto selector = static_cast<GSType>(reinterpret_cast<uintptr_t>(par1));
    if (selector == kSelSPRV && token != 0 && knownCaller(token)) {
        noteProgressValue(state, integerOf(par2));
        return NoError;
    }
    Project& p = state.project;
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    auto text = [](void* parameter) {
        return parameter != nullptr ? static_cast<const GS::UniString*>(parameter)->ToCStr() : std::string();
    };
    if (selector == kSelIPWD) {
        p.progressLog.add("open \"" + text(par2) + "\" " + std::to_string(integerOf(par3)));
        progressOpened(text(par2), integerOf(par3));
    } else if (selector == kSelSPRP) {
        p.progressLog.add("phase \"" + text(par2) + "\" " + std::to_string(integerOf(par3)));
        progressPhase(text(par2), integerOf(par3));
    } else if (selector == kSelSPRV) {
        noteProgressValue(state, integerOf(par2));
    } else if (selector == kSelCANC) {
        if (par2 == nullptr) {
            return APIERR_BADPARS;
        }
        ++p.cancelQueries;
        const bool pressed = cancelPressed() || (p.cancelAfter > 0 && p.cancelQueries >= p.cancelAfter);
        if (pressed && p.cancelAnswer == 0) {
            p.cancelAnswer = 1;
            p.progressLog.add("cancel pressed at query " + std::to_string(p.cancelQueries));
        }
        *static_cast<int32_t*>(par2) = p.cancelAnswer;
    } else if (selector == kSelCPWD) {
        p.progressLog.add("close");
        progressClosed();
    } else {
        return APIERR_BADPARS;
    }
    return NoError;
}

GSErrCode attributeByIndex(uint32_t token, void* par1, void*, void*, void*)
{
    std::string caller;
    auto* attribute = static_cast<API_Attribute*>(par1);
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (attribute == nullptr) {
        return APIERR_BADPARS;
    }
    const Project& p = project();
    const std::vector<API_Attribute>* list = attribute->typeID == API_LayerID ? &p.layers
                                           : attribute->typeID == API_MaterialID ? &p.materials
                                           : attribute->typeID == API_CityID ? &p.cities : nullptr;
    if (list == nullptr) {
        return APIERR_BADID;
    }
    if (attribute->index < 1 || static_cast<std::size_t>(attribute->index) > list->size()) {
        return APIERR_BADINDEX;
    }
    *attribute = (*list)[static_cast<std::size_t>(attribute->index) - 1];
    return NoError;
}

const std::vector<API_Element>* elementsOf(int32_t type)
{
    const Project& p = project();
    return type == API_CameraID ? &p.cameras : type == API_CamSetID ? &p.cameraSets : nullptr;
}

bool isModelType(int32_t type) { return type >= API_WallID && type <= API_OtherElemID; }

// The element record of model element e (0-based), the n-th (1-based) of its type.
API_Element modelElement(const Model& model, std::size_t e, int32_t n)
{
    const ModelElement& source = model.elements[e];
    API_Element element = {};
    element.typeID = source.type;
    element.index = n;
    element.guid = source.guid;
    element.layer = source.layer;
    std::snprintf(element.name, sizeof element.name, "%s", source.name.c_str());
    return element;
}

GSErrCode elementList(uint32_t token, void* par1, void* par2, void* par3, void*)
{
    std::string caller;
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    const int32_t type = integerOf(par1);
    const std::vector<API_Element>* list = elementsOf(type);
    auto* count = static_cast<int32_t*>(par2);
    if ((list == nullptr && !isModelType(type)) || count == nullptr) {
        return count != nullptr ? APIERR_BADID : APIERR_BADPARS;
    }
    const int32_t capacity = par3 != nullptr ? *count : 0;
    auto* guids = static_cast<API_Guid*>(par3);
    int32_t found = 0;
    if (list != nullptr) {
        for (const API_Element& element : *list) {
            if (found < capacity) {
                guids[found] = element.guid;
            }
            ++found;
        }
    } else {
        for (const ModelElement& element : project().model->elements) {
            if (element.type == type) {
                if (found < capacity) {
                    guids[found] = element.guid;
                }
                ++found;
            }
        }
    }
    *count = found;
    return NoError;
}

GSErrCode elementByIndex(uint32_t token, void* par1, void*, void*, void*)
{
    std::string caller;
    auto* element = static_cast<API_Element*>(par1);
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (element == nullptr) {
        return APIERR_BADPARS;
    }
    for (int32_t type : {API_CameraID, API_CamSetID}) {
        const std::vector<API_Element>& list = *elementsOf(type);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const bool byGuid = element->index == 0 && std::memcmp(&list[i].guid, &element->guid, sizeof(API_Guid)) == 0;
            const bool byIndex = element->typeID == type && element->index == static_cast<int32_t>(i + 1);
            if (byGuid || byIndex) {
                *element = list[i];
                return list[i].typeID == 0 ? APIERR_DELETED : NoError;
            }
        }
    }
    const Model& model = *project().model;
    if (element->index == 0) {
        const int32_t found = model.elementOf(element->guid);
        if (found == 0) {
            return APIERR_BADID;
        }
        int32_t n = 0;
        for (int32_t i = 0; i < found; ++i) {
            n += model.elements[static_cast<std::size_t>(i)].type == model.elements[static_cast<std::size_t>(found) - 1].type;
        }
        *element = modelElement(model, static_cast<std::size_t>(found) - 1, n);
        return NoError;
    }
    if (isModelType(element->typeID)) {
        int32_t n = 0;
        for (std::size_t i = 0; i < model.elements.size(); ++i) {
            if (model.elements[i].type == element->typeID && ++n == element->index) {
                *element = modelElement(model, i, n);
                return NoError;
            }
        }
    }
    return APIERR_BADINDEX;
}

GSErrCode componentCount(uint32_t token, void* par1, void* par2, void*, void*)
{
    std::string caller;
    auto* count = static_cast<int32_t*>(par2);
    if (!callerOf(token, &caller)) {
        return APIERR_GENERAL;
    }
    if (count == nullptr) {
        return APIERR_BADPARS;
    }
    const Model& model = *project().model;
    const int32_t type = integerOf(par1);
    const std::size_t total = type == API_BodyID ? model.bodies.size()
                            : type == API_VertID ? model.vertices.size()
                            : type == API_UmatID ? model.materials.size()
                            : type == API_LghtID ? model.lights.size() : 0;
    *count = static_cast<int32_t>(std::min<std::size_t>(total, INT32_MAX));
    return NoError;
}

GSErrCode componentByIndexCall(uint32_t token, API_Component3D* wanted);

// An export asks for every vertex of every body: a vertex of the body last asked for, from the
// add-on that called last, is answered here and everything else in the call below.
GSErrCode componentByIndex(uint32_t token, void* par1, void*, void*, void*)
{
    auto* wanted = static_cast<API_Component3D*>(par1);
    HostState& state = host();
    if (wanted != nullptr && token != 0 && token == state.recentToken && wanted->typeID == API_VertID &&
        state.vertexModel == state.project.model.get() && state.vertexBody == state.project.currentBody &&
        static_cast<uint32_t>(wanted->index) - 1u < static_cast<uint32_t>(state.vertexCount)) {
        const Vec3& v = static_cast<const Vec3*>(state.vertices)[wanted->index - 1];
        wanted->vert.x = v.x;
        wanted->vert.y = v.y;
        wanted->vert.z = v.z;
        return NoError;
    }
    return componentByIndexCall(token, wanted);
}

__attribute__((noinline)) GSErrCode componentByIndexCall(uint32_t token, API_Component3D* wanted)
{
    HostState& state = host();
    if ((token == 0 || token != state.recentToken) && !knownCaller(token)) {
        return APIERR_GENERAL;
    }
    if (wanted == nullptr) {
        return APIERR_BADPARS;
    }
    Project& p = state.project;
    const Model& model = *p.model;
    const int32_t index = wanted->index;
    auto inRange = [index](std::size_t size) { return index >= 1 && static_cast<std::size_t>(index) <= size; };
    switch (wanted->typeID) {
    case API_BodyID: {
        if (!inRange(model.bodies.size())) {
            return APIERR_BADINDEX;
        }
        const ModelBody& body = model.bodies[static_cast<std::size_t>(index) - 1];
        wanted->body.nVert = body.vertexCount;
        wanted->body.nPgon = body.polygonCount;
        static const Matrix identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
        const Matrix& m = body.matrix < 0 ? identity : model.matrices[static_cast<std::size_t>(body.matrix)];
        std::copy(m.begin(), m.end(), wanted->body.tranmat);
        p.currentBody = index;
        state.vertexModel = &model;
        state.vertexBody = index;
        state.vertexCount = body.vertexCount;
        state.vertices = model.vertices.data() + body.firstVertex;
        return NoError;
    }
    case API_VertID: {
        if (p.currentBody < 1 || static_cast<std::size_t>(p.currentBody) > model.bodies.size()) {
            return APIERR_BADINDEX;
        }
        const ModelBody& body = model.bodies[static_cast<std::size_t>(p.currentBody) - 1];
        if (index < 1 || index > body.vertexCount) {
            return APIERR_BADINDEX;
        }
        const Vec3& v = model.vertices[body.firstVertex + static_cast<uint64_t>(index) - 1];
        wanted->vert.x = v.x;
        wanted->vert.y = v.y;
        wanted->vert.z = v.z;
        return NoError;
    }
    case API_UmatID: {
        if (!inRange(model.materials.size())) {
            return APIERR_BADINDEX;
        }
        const EXPMaterialInfo& m = model.materials[static_cast<std::size_t>(index) - 1];
        wanted->umat.surfaceRGB = m.surfaceRGB;
        wanted->umat.specularRGB = m.specularRGB;
        wanted->umat.emissionRGB = m.emissionRGB;
        wanted->umat.ambientPc = m.ambientPc;
        wanted->umat.diffusePc = m.diffusePc;
        wanted->umat.specularPc = m.specularPc;
        wanted->umat.transpPc = m.transpPc;
        wanted->umat.shine = m.shine;
        wanted->umat.emissionAtt = m.emissionAtt;
        wanted->umat.textureIndex = m.textureIndex;
        wanted->umat.textureRotation = m.textureRotation;
        std::memcpy(wanted->umat.name, m.name, sizeof m.name);
        return NoError;
    }
    case API_LghtID: {
        if (!inRange(model.lights.size())) {
            return APIERR_BADINDEX;
        }
        const ModelLight& l = model.lights[static_cast<std::size_t>(index) - 1];
        wanted->lght.kind = l.kind;
        wanted->lght.reserved0 = 0;
        wanted->lght.lightRGB = l.color;
        wanted->lght.posX = l.position.x;
        wanted->lght.posY = l.position.y;
        wanted->lght.posZ = l.position.z;
        wanted->lght.dirX = l.direction.x;
        wanted->lght.dirY = l.direction.y;
        wanted->lght.dirZ = l.direction.z;
        wanted->lght.length = l.length;
        wanted->lght.cosAngle = l.cosAngle;
        return NoError;
    }
    default:
        return APIERR_BADID;
    }
}

struct ServiceTable {
    ACServiceProc entries[kACServiceCount];
    ACServiceProc own[kACServiceCount];
    ServiceTable()
    {
        for (ACServiceProc& entry : entries) {
            entry = missingService;
        }
        entries[kACRegisterFileType] = registerFileType;
        entries[kACInstallFileTypeHandler3D] = installHandler3D;
        entries[kACRemoveFileTypeHandler3D] = removeHandler3D;
        entries[kACSetPreferences] = setPreferences;
        entries[kACGetPreferences] = getPreferences;
        entries[kACEnvironment] = environment;
        entries[kAC3DSettings] = settings3D;
        entries[kACProgressWindow] = progressWindow;
        entries[kACAttributeByIndex] = attributeByIndex;
        entries[kACElementList] = elementList;
        entries[kACElementByIndex] = elementByIndex;
        entries[kAC3DComponentCount] = componentCount;
        entries[kAC3DComponent] = componentByIndex;
        std::memcpy(own, entries, sizeof own);
    }
};

ServiceTable& table()
{
    static ServiceTable* services = new ServiceTable;
    return *services;
}

void copyName(char (&field)[256], const char* text)
{
    std::snprintf(field, sizeof field, "%s", text);
}

}  // namespace

const ACServiceProc* serviceTable() { return table().entries; }

ACServiceProc overrideService(int entry, ACServiceProc service)
{
    if (entry < 0 || entry >= kACServiceCount) {
        return nullptr;
    }
    const ACServiceProc previous = table().entries[entry];
    table().entries[entry] = service != nullptr ? service : table().own[entry];
    return previous;
}

void ProgressLog::startRun(int32_t value)
{
    mLines.push_back("value " + std::to_string(value));
    mInRun = true;
}

void ProgressLog::settle() const
{
    std::string line = "value " + std::to_string(mLast);
    if (mLastWritten) {
        mLines.back() = std::move(line);
    } else {
        mLines.push_back(std::move(line));
    }
    mLastWritten = true;
    mPending = false;
}

Project::Project()
{
    std::memset(rendering, 0, sizeof rendering);
    std::memset(&projection, 0, sizeof projection);
    std::memset(&place, 0, sizeof place);
    std::memset(&sun, 0, sizeof sun);
    for (int i = 0; i < 2; ++i) {
        rendering[i].index = i;
        rendering[i].sun = 1;
        rendering[i].lights = 1;
        rendering[i].shadows = 1;
        rendering[i].skyColor = {0.55, 0.70, 0.95};
        rendering[i].groundColor = {0.45, 0.42, 0.38};
    }
    projection.isPersp = 1;
    projection.cameraX = 20.0;
    projection.cameraY = -20.0;
    projection.cameraZ = 1.7;
    projection.targetZ = 1.7;
    projection.focal = 50.0;
    projection.azimuth = 2.356194490192345;
    projection.distance = std::sqrt(800.0);
    place.cityIndex = 1;
    place.dayOfYear = 171;     // 21 June
    place.minuteOfDay = 720;
    place.daylightSaving = 1;
    place.northAngle = 1.5707963267948966;
    sun.sunColor = {1.0, 0.95, 0.85};
    sun.ambient = {1.1, 1.1, 1.15};
    sun.fogColor = {0.8, 0.8, 0.85};
    API_Attribute city = {};
    city.typeID = API_CityID;
    city.index = 1;
    copyName(city.name, "Paris");
    city.longitude = 141;
    city.latitude = 2931;
    city.timeZone = 60;
    cities.push_back(city);
    model = std::make_shared<Model>();
}

Project& project() { return host().project; }

void resetProject()
{
    host().project = Project();
    resetCancel();
}

std::string preferencesPath(const std::string& addOnName)
{
    return host().hostFolder + "/Preferences/" + addOnName + ".prefs";
}

const std::vector<RegisteredFileType>& registeredFileTypes() { return host().fileTypes; }

APIIO3DCommandProc installedHandler3D(int32_t refCon)
{
    const auto found = host().handlers3D.find(refCon);
    return found == host().handlers3D.end() ? nullptr : found->second.proc;
}

void setDialogScript(const std::vector<UserAction>& actions)
{
    host().script.assign(actions.begin(), actions.end());
}

std::size_t pendingDialogSteps() { return host().script.size(); }

bool takeFileChoice(std::string* path)
{
    std::deque<UserAction>& script = host().script;
    if (script.empty() || script.front().kind == UserAction::Click) {
        return false;
    }
    const UserAction step = script.front();
    script.pop_front();
    *path = step.path;
    return step.kind == UserAction::ChooseFile;
}

bool takeDialogClick(int* item)
{
    std::deque<UserAction>& script = host().script;
    if (script.empty() || script.front().kind != UserAction::Click) {
        return false;
    }
    *item = script.front().item;
    script.pop_front();
    return true;
}

}  // namespace cadhost
