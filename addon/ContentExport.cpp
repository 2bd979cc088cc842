// The scene content other than geometry: creator and origin, texture files, environment,
// materials, sun, lights and views.
#include "SCNExport.h"
#include "Errors.h"
#include "GSScnFileStream.h"
#include "GX.h"
#include "HostCalls.h"
#include "Module.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <map>
#include <stdexcept>

namespace KSV {
namespace {

void check(GSErrCode error, int line)
{
    if (error != NoError) {
        throwHostError(error, kSrcSCNExport, line);
    }
}

void checkGeneral(GSErrCode error)
{
    if (error != NoError) {
        throw GS::GeneralException();
    }
}

// The host's 3D component of that type and index; a host error raises a general exception.
API_Component3D component3D(int32_t type, int32_t index)
{
    API_Component3D component = {};
    component.typeID = type;
    component.index = index;
    checkGeneral(ACAPI_3D_GetComponent(&component));
    return component;
}

template <class T>
T* checked(T* object, int line)
{
    if (object == nullptr) {
        throwNullResult(kSrcSCNExport, line);
    }
    return object;
}

// The database the host works in, switched to database 1 for the call and back afterwards.
class DatabaseOne {
public:
    explicit DatabaseOne(bool hostErrors) : mHostErrors(hostErrors)
    {
        report(ACAPI_Environment(kSelGDAT, &mSaved), __LINE__);
        report(ACAPI_Environment(kSelCDAT, asParameter(1)), __LINE__);
    }
    // Switches back; raises when the host refuses.
    void restore() { report(ACAPI_Environment(kSelCDAT, asParameter(mSaved)), __LINE__); }

private:
    void report(GSErrCode error, int line) const
    {
        if (mHostErrors) {
            check(error, line);
        } else {
            checkGeneral(error);
        }
    }
    bool mHostErrors;
    int32_t mSaved = 1;
};

bool isZero(const API_Guid& guid)
{
    for (uint8_t byte : guid.bytes) {
        if (byte != 0) {
            return false;
        }
    }
    return true;
}

// "Light %d" and the like: the resource's "%d" replaced by the number.
std::string withNumber(const std::string& pattern, int32_t number)
{
    std::string text = pattern;
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(number));
    }
    return text;
}

// The last local name of a host texture name that may carry folders.
std::string plainName(const char* name)
{
    std::string text(name);
    const std::size_t slash = text.find_last_of("/\\");
    if (slash != std::string::npos) {
        text.erase(0, slash + 1);
    }
    return text == "." || text == ".." ? std::string() : text;
}

std::string urlOf(const IO::Location& location)
{
    GS::UniString url;
    check(location.ToURL(&url), __LINE__);
    return fileReference(url.ToCStr());
}

// A pixel map that goes with its holder.
struct PixMap {
    explicit PixMap(GSPixMapHandle handle) : map(handle) {}
    ~PixMap() { GXDeleteGSPixMap(map); }
    PixMap(const PixMap&) = delete;
    PixMap& operator=(const PixMap&) = delete;
    GSPixMapHandle map;
};

// The scene's object definition of that UUID, null when none.
NvScn::IScnScnObjectDefinition* definitionOf(NvScn::TScnObjectMgr<NvScn::IScnScnObjectDefinition>* definitions,
                                             const NvScn::CScnUUID& uuid)
{
    for (int32_t i = 0; i < definitions->getNbObjects(); ++i) {
        NvScn::IScnScnObjectDefinition* definition = definitions->getScnObject(static_cast<uint32_t>(i));
        if (definition != nullptr && std::memcmp(definition->getUUID(), &uuid, sizeof uuid) == 0) {
            return definition;
        }
    }
    return nullptr;
}

constexpr int32_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

void SCNExport::exportCreatorAndOrigin()
{
    GS::UniString map;
    check(ACAPI_3DSettings(kSelGMAP, &map), __LINE__);
    mManager->setApplication(module().envir.serverKind != 0 ? "GSModeler" : "ArchiCAD", map.ToCStr().c_str());

    DatabaseOne database(true);
    API_Coord offset = {0.0, 0.0};
    check(ACAPI_Environment(kSelGOFS, &offset), __LINE__);
    database.restore();
    if (!std::isfinite(offset.x) || !std::isfinite(offset.y)) {
        throwAssertion(kSrcSCNExport, __LINE__);
    }
    if (offset.x != 0.0 && offset.y != 0.0) {
        const NvScn::CScnVector origin = scenePosition(offset.x, offset.y, 0.0);
        checked(mManager->getFileInfo(), __LINE__)->setOrigin(&origin);
        mOffset = PlanOffset();
    } else {
        mOffset = PlanOffset{offset.x, offset.y};
    }
}

void SCNExport::exportTextures()
{
    const int32_t count = mTable->GetTextureCount(mModel);
    mTextureReferences.clear();
    if (count <= 0) {
        return;
    }
    IO::Location folder(mTarget->target());
    const std::string folderName = mBaseName + "_" + progressText(9);
    check(folder.SetLastLocalName(IO::Name(folderName.c_str())), __LINE__);
    const bool existed = IO::fileSystem.Contains(folder);
    const IO::Folder made(folder, IO::Folder::Create);
    check(made.GetStatus(), __LINE__);
    if (!existed) {
        mTarget->created(folder);
    }
    for (int32_t texture = 1; texture <= count; ++texture) {
        writeTexture(texture, folder);
    }
}

void SCNExport::writeTexture(int32_t texture, const IO::Location& folder)
{
    EXPTextureInfo info;
    check(mTable->GetTexture(mModel, texture, &info), __LINE__);
    info.name[sizeof info.name - 1] = '\0';
    if (info.pixelWidth <= 0 || info.pixelHeight <= 0 || !mTable->IsTextureAvailable(mModel, texture)) {
        // A texture whose image the host could not read is left out rather than failing the export.
        DBPrintf("Kestrovin_Out:: texture %d \"%s\" is not available and is not written\n", static_cast<int>(texture),
                 info.name);
        mTextureReferences.emplace_back();
        return;
    }
    std::string stem = IO::Name(plainName(info.name).c_str()).WithoutExtension().ToString();
    if (stem.empty()) {
        stem = withNumber(progressText(8) + " %d", texture);
    }
    IO::Location file(folder);
    for (int32_t suffix = 0;; ++suffix) {
        const std::string name = stem + (suffix == 0 ? std::string() : "_" + std::to_string(suffix)) + ".tif";
        file = folder;
        check(file.AppendToLocal(IO::Name(name.c_str())), __LINE__);
        if (!IO::fileSystem.Contains(file)) {
            break;
        }
    }
    const PixMap pixels(GXCreateGSPixMap(info.pixelWidth, info.pixelHeight, 32, 72.0, 72.0));
    checked(pixels.map, __LINE__);
    if (GXGetGSPixMapRowBytes(pixels.map) != info.pixelWidth * 4) {
        throwAssertion(kSrcSCNExport, __LINE__);
    }
    check(mTable->FillTexturePixMap(mModel, texture, pixels.map), __LINE__);
    check(GX::Image(pixels.map).WriteToFile(file, FTM::FileTypeManager::SearchForMime("image/tiff"), 32), __LINE__);
    mTarget->created(file);
    mTextureReferences.push_back(urlOf(file));
}

void SCNExport::exportEnvironment()
{
    API_SunInfo sun = {};
    check(ACAPI_3DSettings(kSelGSUN, &sun), __LINE__);
    const bool switched = mOptions.sunVariant == 0;
    if (switched) {
        NvScn::CScnBackground* background = checked(mManager->getBackground(), __LINE__);
        const API_RenderingSettings& second = mRendering[1];
        if (second.useBackgroundPicture != 0 && second.backgroundPicture != nullptr &&
            !second.backgroundPicture->IsEmpty()) {
            background->setImageType(1);
            background->setImage(urlOf(*second.backgroundPicture).c_str());
        } else {
            const NvScn::CScnColor sky = sceneColour(second.skyColor);
            const NvScn::CScnColor ground = sceneColour(second.groundColor);
            background->setColorType(2);
            background->setColor(&sky);
            background->setSecondColor(&ground);
            background->setLinePower(1.0);
        }
        background->setUseDefault(false);

        NvScn::CScnAmbient* ambient = checked(mManager->getAmbient(), __LINE__);
        const NvScn::CScnColor colour = {0, ambientByte(sun.ambient.red), ambientByte(sun.ambient.green),
                                         ambientByte(sun.ambient.blue)};
        ambient->setColor(&colour);
        ambient->setUsed(true);
        ambient->setUseDefault(false);
    }
    mBoundsWalk.take();
    if (switched && mRendering[0].atmosphere != 0) {
        NvScn::CScnAtmosphere* atmosphere = checked(mManager->getAtmosphere(), __LINE__);
        const NvScn::CScnColor colour = sceneColour(sun.fogColor);
        atmosphere->setColor(&colour);
        atmosphere->setScale(5.0);
        const double density = sun.atmosphereKind == 1 ? 0.1 : sun.atmosphereKind == 2 ? 0.5
                             : sun.atmosphereKind == 3 ? 0.7 : -1.0;
        atmosphere->setUsed(density > 0.0);
        if (density > 0.0) {
            atmosphere->setHighDensity(density);
            atmosphere->setMediumDensity(density);
            atmosphere->setLowDensity(density);
        }
        atmosphere->setUseDefault(false);
    }
}

void SCNExport::computeBounds()
{
    constexpr double kHuge = std::numeric_limits<double>::max();
    mMinimum = {kHuge, kHuge, kHuge};
    mMaximum = {-kHuge, -kHuge, -kHuge};
    int32_t bodies = 0;
    checkGeneral(ACAPI_3D_GetNum(API_BodyID, &bodies));
    API_Component3D body = {};
    for (int32_t b = 1; b <= bodies; ++b) {
        body.typeID = API_BodyID;
        body.index = b;
        checkGeneral(ACAPI_3D_GetComponent(&body));
        const double* m = body.body.tranmat;
        API_Component3D vertex = {};
        for (int32_t v = 1; v <= body.body.nVert; ++v) {
            vertex.typeID = API_VertID;
            vertex.index = v;
            checkGeneral(ACAPI_3D_GetComponent(&vertex));
            const double x = vertex.vert.x, y = vertex.vert.y, z = vertex.vert.z;
            const double px = m[0] * x + m[1] * y + m[2] * z + m[3];
            const double py = m[4] * x + m[5] * y + m[6] * z + m[7];
            const double pz = m[8] * x + m[9] * y + m[10] * z + m[11];
            mMinimum.x = std::min(mMinimum.x, px);
            mMinimum.y = std::min(mMinimum.y, py);
            mMinimum.z = std::min(mMinimum.z, pz);
            mMaximum.x = std::max(mMaximum.x, px);
            mMaximum.y = std::max(mMaximum.y, py);
            mMaximum.z = std::max(mMaximum.z, pz);
        }
    }
    if (mMinimum.x > mMaximum.x) {
        mMinimum = mMaximum = {0.0, 0.0, 0.0};
    }
}

void SCNExport::exportMaterials()
{
    mMaterialsBeforeTexturedPass = 0;
    TextureOptionsOff off;
    off.set(mOptions);
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials = checked(mManager->getMaterials(), __LINE__);
    int32_t count = 0;
    checkGeneral(ACAPI_3D_GetNum(API_UmatID, &count));
    if (!off.allOn()) {
        for (int32_t i = 1; i <= count; ++i) {
            newHostMaterial(materials, i);
        }
        if (off.onFor(1) || off.onFor(2) || off.onFor(3) || off.onFor(4)) {
            exportTexturedMaterials(materials, count, false);
        }
    } else {
        exportTexturedMaterials(materials, count, true);
    }
}

// The textured pass: a material per host material, with its texture as the diffuse map; keeping
// mode keeps the materials without texture, dropping mode removes them again.
void SCNExport::exportTexturedMaterials(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t count,
                                        bool keeping)
{
    mMaterialsBeforeTexturedPass = materials->getNbObjects();
    int32_t number = mMaterialsBeforeTexturedPass + 1;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t texture = 0;
        NvScn::CScnProperty* material = newHostMaterial(materials, i, &texture);
        // A texture the host has not written (or names out of the list) counts as none.
        const std::string* reference =
            texture >= 1 && static_cast<std::size_t>(texture) <= mTextureReferences.size() &&
                    !mTextureReferences[static_cast<std::size_t>(texture) - 1].empty()
                ? &mTextureReferences[static_cast<std::size_t>(texture) - 1] : nullptr;
        if (reference != nullptr) {
            setTextureMapping(material, *reference);
            mMaterialMap->record(i, number++);
        } else if (keeping) {
            ++number;
        } else {
            materials->removeObject(NvScn::kScnLastIndex);
            mMaterialMap->record(i, 0);
        }
    }
}

NvScn::CScnProperty* SCNExport::newHostMaterial(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t index,
                                                int32_t* texture)
{
    const API_Component3D component = component3D(API_UmatID, index);
    const auto& host = component.umat;
    NvScn::CScnProperty* material = materials->newScnObject(NvScn::kScnLastIndex);
    if (material == nullptr) {
        throwNullResult(kSrcSCNExport, __LINE__);
    }
    API_Attribute attribute = {};
    attribute.typeID = API_MaterialID;
    attribute.index = index;
    if (ACAPI_Attribute_Get(&attribute) == NoError) {
        attribute.name[sizeof attribute.name - 1] = '\0';
        material->setName(attribute.name);
    } else {
        char name[sizeof host.name + 1] = {};
        std::memcpy(name, host.name, sizeof host.name);
        material->setName(name);
    }
    material->setSmooth(0.8);
    const NvScn::CScnColor diffuse = {0, colourByte(host.surfaceRGB.red, host.diffusePc),
                                      colourByte(host.surfaceRGB.green, host.diffusePc),
                                      colourByte(host.surfaceRGB.blue, host.diffusePc)};
    material->setDiffuseColor(&diffuse);
    const NvScn::CScnColor specular = {0, colourByte(host.specularRGB.red, host.specularPc),
                                       colourByte(host.specularRGB.green, host.specularPc),
                                       colourByte(host.specularRGB.blue, host.specularPc)};
    material->setSpecularColor(&specular);
    const uint8_t grey = colourByte(1.0, host.transpPc);
    const NvScn::CScnColor transparent = {0, grey, grey, grey};
    material->setTransparentColor(&transparent);
    material->setGlossy(host.shine / 100.0);
    const NvScn::CScnColor neon = {0, roundedColourByte(host.emissionRGB.red), roundedColourByte(host.emissionRGB.green),
                                   roundedColourByte(host.emissionRGB.blue)};
    material->setNeonColor(&neon);
    material->setNeonValue(host.emissionAtt / 100.0);
    if (texture != nullptr) {
        *texture = host.textureIndex;
    }
    return material;
}

void SCNExport::setTextureMapping(NvScn::CScnProperty* material, const std::string& reference)
{
    material->setMapURL(NvScn::kScnMapDiffuse, reference.c_str());
    material->setRepeat(true, true);
    material->setMappingSize(1.0, 1.0);
    // The texture coordinates of the polygons are fractions of the image: a frame at the origin
    // with unit axes.
    const NvScn::CScnVector origin = {0.0, 0.0, 0.0};
    const NvScn::CScnVector xAxis = {1.0, 0.0, 0.0};
    const NvScn::CScnVector yAxis = {0.0, 1.0, 0.0};
    material->setMappingFrame(&origin, &xAxis, &yAxis);
    material->setProjection(NvScn::kScnFacadeMappingUV);
}

void SCNExport::addOwnTextureMaterial(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t texture)
{
    NvScn::CScnProperty* material = checked(materials->newScnObject(NvScn::kScnLastIndex), __LINE__);
    EXPTextureInfo info;
    check(mTable->GetTexture(mModel, texture, &info), __LINE__);
    info.name[sizeof info.name - 1] = '\0';
    material->setName(IO::Name(plainName(info.name).c_str()).WithoutExtension().ToString().c_str());
    const std::string& reference = static_cast<std::size_t>(texture) <= mTextureReferences.size()
                                       ? mTextureReferences[static_cast<std::size_t>(texture) - 1] : std::string();
    setTextureMapping(material, reference);
    material->setMappingAngle(0.0);
    checked(material->findMapping(), __LINE__)->setCutAlpha(info.hasAlpha != 0);
    const NvScn::CScnColor white = {0, 255, 255, 255};
    material->setMappingTransparentColor(&white);
}

void SCNExport::collectOwnTextures()
{
    mOwnTextures.clear();
    const ModelTextures textures(*mTable, *mModel);
    forEachPolygon(*mTable, *mModel, nullptr, [&](const ModelCursor&, const EXPPolygonInfo& polygon) {
        if (textures.available(polygon.textureIndex)) {
            mOwnTextures.push_back(polygon.textureIndex);
        }
    });
}

int32_t SCNExport::exportOwnTextureMaterials()
{
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials = checked(mManager->getMaterials(), __LINE__);
    const int32_t first = materials->getNbObjects();
    mPolygonsWalk.take();
    for (int32_t texture : mOwnTextures) {
        addOwnTextureMaterial(materials, texture);
    }
    std::vector<int32_t>().swap(mOwnTextures);
    return first;
}

void SCNExport::exportHeliodon()
{
    if ((mOptions.sun & 1) == 0 || mRendering[0].sun == 0) {
        return;
    }
    NvScn::TScnObjectMgr<NvScn::CScnHeliodon>* heliodons = checked(mManager->getHeliodons(), __LINE__);
    NvScn::CScnHeliodon* heliodon = checked(heliodons->newScnObject(NvScn::kScnLastIndex), __LINE__);
    heliodon->setName(progressText(10).c_str());
    heliodon->setActive(true);
    heliodon->setShadow(true);
    heliodon->setRadiosity(true);

    API_PlaceInfo place = {};
    check(ACAPI_3DSettings(kSelGPLA, &place), __LINE__);
    heliodon->setNorthAngle(place.northAngle * kDegreesPerRadian - 90.0);
    API_Attribute city = {};
    city.typeID = API_CityID;
    city.index = place.cityIndex;
    check(ACAPI_Attribute_Get(&city), __LINE__);
    NvScn::CScnPlace* where = checked(heliodon->getPlace(), __LINE__);
    where->setLongitude(city.longitude);
    where->setLatitude(city.latitude);
    where->setTimeZone(city.timeZone);
    where->setDaylight(place.daylightSaving != 0);

    NvScn::CScnTime* when = checked(heliodon->getTime(), __LINE__);
    int32_t year = 1900;
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (now != static_cast<std::time_t>(-1) && ::localtime_r(&now, &local) != nullptr) {
        year = local.tm_year + 1900;
    }
    when->setYear(year);
    // The host counts the day of the year from 0 (1 January) in a year of 365 days.
    int32_t day = place.dayOfYear < 0 ? 0 : place.dayOfYear > 364 ? 364 : place.dayOfYear;
    int32_t month = 1;
    while (month < 12 && day >= kMonthLengths[month - 1]) {
        day -= kMonthLengths[month - 1];
        ++month;
    }
    when->setMonth(month);
    when->setDay(day + 1);
    const int32_t minutes = place.minuteOfDay < 0 ? 0 : place.minuteOfDay > 1439 ? 1439 : place.minuteOfDay;
    when->setHour(minutes / 60);
    when->setMinute(minutes % 60);

    if (heliodons->getNbObjects() >= 2) {
        heliodons->removeObject(0);
    }
}

void SCNExport::exportLights(const PlanOffset& offset)
{
    if ((mOptions.lights & 1) == 0) {
        return;
    }
    NvScn::TScnObjectMgr<NvScn::IScnLightsGroup>* groups = checked(mManager->getLightsGroups(), __LINE__);
    NvScn::IScnLightsGroup* group = groups->getNbObjects() > 0 ? groups->getScnObject(0)
                                                               : groups->newScnObject(NvScn::kScnLastIndex);
    const NvScn::CScnUUID groupId = *checked(checked(group, __LINE__)->getID(), __LINE__);
    int32_t count = 0;
    checkGeneral(ACAPI_3D_GetNum(API_LghtID, &count));
    NvScn::TScnObjectMgr<NvScn::CScnLight>* lights = checked(mManager->getLights(), __LINE__);
    for (int32_t i = 1; i <= count; ++i) {
        const API_Component3D component = component3D(API_LghtID, i);
        const auto& lamp = component.lght;
        NvScn::CScnLight* light = lights->newScnObject(NvScn::kScnLastIndex);
        if (light == nullptr) {
            throw GS::OutOfMemoryException();
        }
        light->setName(withNumber(progressText(2), i).c_str());
        light->setType(lamp.kind == 0 ? NvScn::kScnLightParallel : lamp.kind == 2 ? NvScn::kScnLightSpot
                                                                                  : NvScn::kScnLightPoint);
        light->setActive(true);
        const NvScn::CScnColor colour = sceneColour(lamp.lightRGB);
        light->setColor(&colour);
        light->setPower(1500.0);
        light->setDistanceNear(0.0);
        light->setDistanceFar(0.0);
        const NvScn::CScnVector position = scenePosition(lamp.posX, lamp.posY, lamp.posZ, offset);
        const double reach = 1.2 * lamp.length;
        const NvScn::CScnVector target = scenePosition(lamp.posX + reach * lamp.dirX, lamp.posY + reach * lamp.dirY,
                                                       lamp.posZ + reach * lamp.dirZ, offset);
        light->setPosition(&position);
        light->setTarget(&target);
        light->setConeAngle(degreesOfCosine(lamp.cosAngle));
        light->setSharpness(0.5);
        light->setShadowPower(0.7);
        light->setShadowType(mRendering[0].shadows != 0 ? NvScn::kScnShadowTraced : NvScn::kScnShadowNone);
        NvScn::TScnObjectMgr<NvScn::CScnUUID>* memberOf = checked(light->getLightsGroups(), __LINE__);
        NvScn::CScnUUID* first = memberOf->getNbObjects() > 0 ? memberOf->getScnObject(0)
                                                              : memberOf->newScnObject(NvScn::kScnLastIndex);
        *checked(first, __LINE__) = groupId;
    }
}

void SCNExport::exportPerspectiveViews()
{
    if ((mOptions.cameras & 1) == 0) {
        return;
    }
    DatabaseOne database(false);
    int32_t sets = 0;
    int32_t cameras = 0;
    checkGeneral(ACAPI_Element_GetElemList(API_CamSetID, &sets, nullptr));
    checkGeneral(ACAPI_Element_GetElemList(API_CameraID, &cameras, nullptr));
    std::vector<API_Guid> setGuids(static_cast<std::size_t>(sets > 0 ? sets : 0));
    if (sets > 0) {
        checkGeneral(ACAPI_Element_GetElemList(API_CamSetID, &sets, setGuids.data()));
    }
    NvScn::TScnObjectMgr<NvScn::CScnCamera>* views = checked(mManager->getPerspectiveViews(), __LINE__);
    const std::string heliodonName = progressText(10);
    for (const API_Guid& setGuid : setGuids) {
        API_Element set = {};
        set.guid = setGuid;
        const GSErrCode setError = ACAPI_Element_Get(&set);
        if (setError == APIERR_DELETED) {
            continue;
        }
        checkGeneral(setError);
        set.name[sizeof set.name - 1] = '\0';
        API_Guid next = set.nextCamera;
        // A chain never holds more links than the host has cameras.
        for (int32_t index = 1; !isZero(next) && index <= cameras + 1; ++index) {
            API_Element camera = {};
            camera.guid = next;
            const GSErrCode error = ACAPI_Element_Get(&camera);
            next = camera.nextCamera;
            if (error == APIERR_DELETED) {
                continue;
            }
            checkGeneral(error);
            NvScn::CScnCamera* view = checked(views->newScnObject(NvScn::kScnLastIndex), __LINE__);
            char name[300];
            std::snprintf(name, sizeof name, "%s_%d", set.name, static_cast<int>(index));
            view->setName(name);
            const NvScn::CScnVector position = scenePosition(camera.cameraX, camera.cameraY, camera.cameraZ, mOffset);
            const NvScn::CScnVector target = scenePosition(camera.targetX, camera.targetY, camera.targetZ, mOffset);
            view->setPosition(&position);
            view->setTarget(&target);
            view->setCurrent();
            view->setSecondFlag(true);
            view->setRoll(camera.rollAngle * kRadiansPerDegree);
            view->setFocal(camera.viewCone * kDegreesPerRadian);
            checked(view->getViewInfo(), __LINE__)->setHeliodonName(heliodonName.c_str());
        }
    }
    database.restore();
}

void SCNExport::exportCurrentView(const PlanOffset& offset)
{
    API_3DProjectionInfo projection = {};
    check(ACAPI_3DSettings(kSelGP3D, &projection), __LINE__);
    NvScn::CScnCamera* view = checked(checked(mManager->getPerspectiveViews(), __LINE__)->newScnObject(NvScn::kScnLastIndex),
                                      __LINE__);
    view->setName(progressText(3).c_str());
    const NvScn::CScnVector position = scenePosition(projection.cameraX, projection.cameraY, projection.cameraZ, offset);
    const NvScn::CScnVector target = scenePosition(projection.targetX, projection.targetY, projection.targetZ, offset);
    view->setPosition(&position);
    view->setTarget(&target);
    view->setCurrent();
    view->setSecondFlag(true);
    view->setRoll(projection.rollAngle * kRadiansPerDegree);
    view->setFocal(projection.focal);
}

void SCNExport::buildLayerStructure()
{
    const std::map<int32_t, AddonLayer::Layer>& layers = mLayers->layers();
    const char* language = checked(mManager->getLanguage(), __LINE__);
    const int32_t code = (static_cast<unsigned char>(language[0]) << 8) | static_cast<unsigned char>(language[1]);
    // 1. A definition of the layer's model, with the internal component that holds its geometry.
    NvScn::TScnObjectMgr<NvScn::IScnScnObjectDefinition>* definitions = checked(mManager->getObjectDefinitions(), __LINE__);
    NvScn::TScnObjectMgr<NvScn::IScnInternalComponentDefinition>* components =
        checked(mManager->getInternalComponentDefinitions(), __LINE__);
    std::vector<NvScn::IScnScnObjectDefinition*> layerDefinitions;
    for (const auto& entry : layers) {
        NvScn::IScnScnObjectDefinition* definition = checked(definitions->newScnObject(NvScn::kScnLastIndex), __LINE__);
        definition->setClass(NvScn::kScnClassModelObject);
        checked(definition->getName(), __LINE__)->setText(code, entry.second.name.c_str());
        NvScn::IScnInternalComponentDefinition* component = checked(components->newScnObject(NvScn::kScnLastIndex), __LINE__);
        component->setUUID(checked(definition->getUUID(), __LINE__));
        mLayers->addComponent(*definition->getUUID(), entry.first);
        layerDefinitions.push_back(definition);
    }
    // 2. The scene layers.
    NvScn::TScnObjectMgr<NvScn::IScnLayer>* sceneLayers = checked(mManager->getLayers(), __LINE__);
    std::vector<NvScn::IScnLayer*> madeLayers;
    for (const auto& entry : layers) {
        NvScn::IScnLayer* layer = checked(sceneLayers->newScnObject(NvScn::kScnLastIndex), __LINE__);
        layer->setName(entry.second.name.c_str());
        madeLayers.push_back(layer);
    }
    // 3. The current view, without the plan offset.
    exportCurrentView(PlanOffset());
    // 4 and 5. The materials of each layer's polygons, copied into its definition.
    TextureOptionsOff off;
    off.set(mOptions);
    try {
        mPolygonsWalk.take();
    } catch (...) {
        // The polygons walked before the failure report their invalid materials first.
        mLayers->reportInvalidMaterials();
        throw;
    }
    mLayers->reportInvalidMaterials();
    mLayers->chooseMaterials(off, *mMaterialMap);
    std::size_t index = 0;
    for (const auto& entry : layers) {
        AddonLayer::Component* component = mLayers->component(*layerDefinitions[index]->getUUID());
        addLayerMaterials(layerDefinitions[index], entry.second, checked(component, __LINE__));
        mLayers->countLayerWritten();
        ++index;
    }
    // 6. Every definition has had its layer's materials.
    if (mLayers->layersWritten() != static_cast<int32_t>(layerDefinitions.size())) {
        throwAssertion(kSrcSCNExport, __LINE__);
    }
    // 7 and 8. An instance of each layer's definition, on the scene layer of the same name. The
    // definition holds the materials its polygons refer to; an instance has none of its own.
    NvScn::TScnObjectMgr<NvScn::IScnObjectInstance>* instances = checked(mManager->getObjectInstances(), __LINE__);
    index = 0;
    for (const auto& entry : layers) {
        const NvScn::CScnUUID* definitionId = mLayers->componentOf(entry.first);
        NvScn::IScnObjectInstance* instance = checked(instances->newScnObject(NvScn::kScnLastIndex), __LINE__);
        instance->setLayerId(checked(madeLayers[index]->getUUID(), __LINE__));
        instance->setClass(NvScn::kScnClassModelObject);
        instance->setName(entry.second.name.c_str());
        instance->setAttachedObject(checked(definitionId, __LINE__));
        checked(definitionOf(definitions, *instance->getAttachedObject()), __LINE__);
        ++index;
    }
    // 9. The scene keeps no global materials: each definition has its own.
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials = checked(mManager->getMaterials(), __LINE__);
    while (materials->getNbObjects() > 0) {
        materials->removeObject(NvScn::kScnLastIndex);
    }
    // The materials of the polygons with their own texture follow each definition's others.
    index = 0;
    for (const auto& entry : layers) {
        NvScn::TScnObjectMgr<NvScn::CScnProperty>* own = checked(layerDefinitions[index]->getMaterials(), __LINE__);
        for (int32_t texture : entry.second.ownTextures) {
            addOwnTextureMaterial(own, texture);
        }
        ++index;
    }
}

void SCNExport::addLayerMaterials(NvScn::IScnScnObjectDefinition* definition, const AddonLayer::Layer& layer,
                                  AddonLayer::Component* component)
{
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* scene = checked(mManager->getMaterials(), __LINE__);
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* own = checked(definition->getMaterials(), __LINE__);
    const auto copy = [&](int32_t sceneIndex) {
        NvScn::CScnProperty* source =
            sceneIndex >= 0 && sceneIndex < scene->getNbObjects() ? scene->getScnObject(static_cast<uint32_t>(sceneIndex))
                                                                  : nullptr;
        NvScn::CScnProperty* material = own->newScnObject(NvScn::kScnLastIndex);
        if (source == nullptr || material == nullptr) {
            throw std::runtime_error("Can't load property from another one");
        }
        material->copyFrom(source);
        return own->getNbObjects() - 1;
    };
    for (int32_t material : layer.plainMaterials) {
        component->plainMaterials[material] = copy(material - 1);
    }
    for (int32_t material : layer.texturedMaterials) {
        component->texturedMaterials[material] = copy(mMaterialMap->find(material) - 1);
    }
    component->firstOwnTextureMaterial = own->getNbObjects();
}

void SCNExport::importReference()
{
    const int32_t mask = (mOptions.replaceMaterials != 0 ? 1 : 0) + (mOptions.addReferenceContent != 0 ? 4080 : 0);
    NvScn::CScnSkipGeometry skip;
    NvScn::CScnMgr* reference = nullptr;
    try {
        std::u16string path;
        if (!referencePathOf(mOptions, &path)) {
            throw std::runtime_error("no reference path");
        }
        GSScnFileStream stream(IO::Location(GS::UniString(path)), 0);
        reference = NvScn::CScnMgr::create(nullptr, &skip);
        if (reference == nullptr || reference->read(&stream) != 0) {
            throw std::runtime_error("the reference file cannot be read");
        }
        NvScn::CScnMgr::doImportReference(mManager, reference, mask);
    } catch (...) {
        DBPrintf("Kestrovin_Out:: the reference file is not imported\n");
    }
    if (reference != nullptr) {
        reference->release();
    }
}

}  // namespace KSV
