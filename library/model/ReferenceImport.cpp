#include "model/ReferenceImport.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/Fields.h"
#include "model/Guard.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "model/Uuid.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

using NuvoraXML::XIXMLElement;

struct UuidLess {
    bool operator()(const CScnUUID& a, const CScnUUID& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

using UuidMap = std::map<CScnUUID, CScnUUID, UuidLess>;

// The classes of object definitions that an import takes, in the order it takes them.
constexpr const char* kImportedClasses[] = {kScnClassModelObject, kScnClassBillboard,      kScnClassScnObject,
                                            kScnClassAnimatedObject, kScnClass3DPlant, kScnClassLightObject};

template <class Impl, class Iface, class Id>
Impl* findBy(TObjectMgr<Impl, Iface>& list, const CScnUUID& uuid, Id&& id)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (id(*list.at(i)) == uuid) {
            return list.at(i);
        }
    }
    return nullptr;
}

// One import: the steps in their order, and the tables that turn the source's identifiers into
// the target's.
class CReferenceImport {
public:
    CReferenceImport(CSCN& target, CSCN& source, int32_t flags)
        : mTarget(target), mSource(source), mFlags(flags), mScratch("Import")
    {
    }

    void run()
    {
        step(ImportFlags::kObjects, [this] { importObjects(); });
        step(ImportFlags::kMaterials, [this] { importMaterials(); });
        step(ImportFlags::kLights, [this] { importLights(); });
        step(ImportFlags::kHeliodons, [this] { importHeliodons(); });
        linkImported();
        step(ImportFlags::kPerspectiveViews, [this] { importPerspectiveViews(); });
        step(ImportFlags::kParallelViews, [this] { importParallelViews(); });
        step(ImportFlags::kViewObjects, [this] { importViewObjects(); });
        step(ImportFlags::kPanoramas, [this] { importPanoramas(); });
        step(ImportFlags::kScenario, [this] { importScenario(); });
        finish();
    }

private:
    template <class Body>
    void step(int32_t bit, Body&& body)
    {
        if ((mFlags & bit) != 0) {
            body();
        }
    }

    // Copies every field of from into to through the field list: written into a scratch
    // element, read back without the vector fix-up (the source applied its own when it read
    // them) and with every identifier.
    template <class Impl>
    void copyFields(Impl& from, Impl& to)
    {
        mScratch.clear();
        XIXMLElement* element = writeFields(from, mScratch.element());
        FieldReader reader(element, nullptr, true);
        to.visitFields(reader);
        mScratch.clear();
    }

    // Appends to list a copy of from; a copy that fails is reported for where and taken out
    // again, and answers null.
    template <class Impl, class Iface>
    Impl* appendCopy(TObjectMgr<Impl, Iface>& list, Impl& from, const char* where)
    {
        Impl* to = list.append();
        if (to == nullptr) {
            return nullptr;
        }
        bool copied = guarded(&mTarget, where, false, [&] {
            copyFields(from, *to);
            return true;
        });
        if (!copied) {
            list.removeObject(static_cast<uint32_t>(list.size() - 1));
            return nullptr;
        }
        return to;
    }

    // A copy keeps its identifier unless another object of its list in the target has it; then
    // it draws a fresh one. map learns the identifier the copy ends with.
    template <class Impl, class Iface, class Id>
    CScnUUID settleIdentifier(TObjectMgr<Impl, Iface>& list, Impl& copy, const CScnUUID& original, UuidMap& map,
                              Id&& id)
    {
        CScnUUID settled = original;
        for (size_t i = 0; i < list.size(); ++i) {
            Impl* other = list.at(i);
            if (other != &copy && id(*other) == original) {
                settled = newUuid();
                break;
            }
        }
        map[original] = settled;
        return settled;
    }

    // ---- Object definitions and their instances ----

    void importObjects()
    {
        TObjectMgr<CScnScnObjectDefinition, IScnScnObjectDefinition>& definitions = mSource.objectDefinitions();
        for (const char* className : kImportedClasses) {
            for (size_t i = 0; i < definitions.size(); ++i) {
                CScnScnObjectDefinition& definition = *definitions.at(i);
                if (std::strcmp(definition.getClass(), className) == 0) {
                    importDefinition(definition);
                }
            }
        }
        TObjectMgr<CScnObjectInstance, IScnObjectInstance>& instances = mSource.objectInstances();
        for (size_t i = 0; i < instances.size(); ++i) {
            CScnObjectInstance& instance = *instances.at(i);
            auto placed = mDefinitions.find(*instance.getAttachedObject());
            if (placed != mDefinitions.end()) {
                importInstance(instance, placed->second);
            }
        }
    }

    // A definition the target already has (same identifier) is the same object: its instances
    // place the target's. Otherwise the copy comes with its geometry, which the target keeps in
    // its own tables.
    void importDefinition(CScnScnObjectDefinition& definition)
    {
        const CScnUUID original = definition.uuid();
        if (mTarget.findObjectDefinition(original) != nullptr) {
            mDefinitions[original] = original;
            return;
        }
        CScnScnObjectDefinition* copy =
            appendCopy(mTarget.objectDefinitions(), definition, "CScnMgr::doImportReference");
        if (copy == nullptr) {
            return;
        }
        CScnUUID settled = original;
        if (mTarget.findInternalComponent(original) != nullptr) {
            settled = newUuid();
            copy->setUUID(&settled);
        }
        mDefinitions[original] = settled;
        if (!copyComponent(mSource.findInternalComponent(original), settled)) {
            mTarget.objectDefinitions().removeObject(static_cast<uint32_t>(mTarget.objectDefinitions().size() - 1));
            mDefinitions.erase(original);
            return;
        }
        linkDefinition(*copy);
    }

    // The geometry of an imported definition: the source's component (empty when the source
    // skipped its geometry) under the definition's identifier in the target.
    bool copyComponent(CScnInternalComponentDefinition* from, const CScnUUID& uuid)
    {
        CScnInternalComponentDefinition* to = mTarget.internalComponents().append();
        if (to == nullptr) {
            return false;
        }
        bool copied = guarded(&mTarget, "CScnMgr::doImportReference", false, [&] {
            to->setUUID(&uuid);
            to->setHoldsOwnGeometry(true);
            if (from != nullptr) {
                to->setGeometryLevel(from->getGeometryLevel());
                copyGeometry(*from, *to);
                to->keptContent().read(from->keptContent().element());
            }
            return true;
        });
        if (!copied) {
            mTarget.internalComponents().removeObject(static_cast<uint32_t>(mTarget.internalComponents().size() - 1));
        }
        return copied;
    }

    static void copyVertices(TScnObjectMgr<CScnVertex>* from, TScnObjectMgr<CScnVertex>* to)
    {
        int32_t count = from->getNbObjects();
        for (int32_t i = 0; i < count; ++i) {
            CScnVertex* vertex = to->newScnObject(kScnLastIndex);
            Nuvora::checkPointer(vertex, Msg::kNewCantAllocate);
            *vertex = *from->getScnObject(static_cast<uint32_t>(i));
        }
    }

    static void copyGeometry(CScnInternalComponentDefinition& from, CScnInternalComponentDefinition& to)
    {
        TScnObjectMgr<CScnVector>* points = from.getPoints();
        for (int32_t i = 0, count = points->getNbObjects(); i < count; ++i) {
            CScnVector* point = Nuvora::checkPointer(to.getPoints()->newScnObject(kScnLastIndex), Msg::kNewCantAllocate);
            *point = *points->getScnObject(static_cast<uint32_t>(i));
        }
        TScnObjectMgr<CScnPolygon>* polygons = from.getPolygons();
        for (int32_t i = 0, count = polygons->getNbObjects(); i < count; ++i) {
            CScnPolygon* polygon = polygons->getScnObject(static_cast<uint32_t>(i));
            CScnPolygon* copy =
                Nuvora::checkPointer(to.getPolygons()->newScnObject(kScnLastIndex), Msg::kNewCantAllocate);
            copy->setSmoothed(polygon->isSmoothed());
            copy->setPropertyIndex(polygon->getPropertyIndex());
            copyVertices(polygon->getVertices(), copy->getVertices());
            TScnObjectMgr<CScnPolygon::CScnHole>* holes = polygon->getHoles();
            for (int32_t h = 0, nbHoles = holes->getNbObjects(); h < nbHoles; ++h) {
                CScnPolygon::CScnHole* hole =
                    Nuvora::checkPointer(copy->getHoles()->newScnObject(kScnLastIndex), Msg::kNewCantAllocate);
                copyVertices(holes->getScnObject(static_cast<uint32_t>(h))->getVertices(), hole->getVertices());
            }
        }
    }

    // The light group of a definition and of its lights; the record of a billboard in the
    // scene's billboard list.
    void linkDefinition(CScnScnObjectDefinition& copy)
    {
        CScnUUID group = linkLightGroup(*copy.getLightGroupID());
        copy.setLightGroupID(&group);
        if (IScnObjectLight* lights = copy.getObjectLight()) {
            TScnObjectMgr<CScnLight>* list = lights->getLights();
            for (int32_t i = 0, count = list->getNbObjects(); i < count; ++i) {
                linkLightGroups(list->getScnObject(static_cast<uint32_t>(i))->getLightsGroups());
            }
        }
        if (IScnBillboard* billboard = copy.getBillboard()) {
            importBillboardRecord(billboard->getMgrInfo()->getProperty());
        }
    }

    void importBillboardRecord(uint32_t property)
    {
        auto sameProperty = [property](TObjectMgr<CScnBBMgrData, IScnBBMgrData>& list) {
            for (size_t i = 0; i < list.size(); ++i) {
                if (list.at(i)->getProperty() == property) {
                    return list.at(i);
                }
            }
            return static_cast<CScnBBMgrData*>(nullptr);
        };
        CScnBBMgrData* record = sameProperty(mSource.billboards());
        if (record != nullptr && sameProperty(mTarget.billboards()) == nullptr) {
            appendCopy(mTarget.billboards(), *record, "CScnMgr::doImportReference");
        }
    }

    // An instance placed on the source's geometry loses its triangle, which the target does not
    // have.
    void importInstance(CScnObjectInstance& instance, const CScnUUID& definition)
    {
        TObjectMgr<CScnObjectInstance, IScnObjectInstance>& list = mTarget.objectInstances();
        CScnObjectInstance* copy = appendCopy(list, instance, "CScnMgr::doImportReference");
        if (copy == nullptr) {
            return;
        }
        CScnUUID settled = settleIdentifier(list, *copy, *instance.getUUID(), mInstances,
                                            [](CScnObjectInstance& object) { return *object.getUUID(); });
        copy->setUUID(&settled);
        copy->setAttachedObject(&definition);
        copy->setTriangleId(-1);
        CScnUUID layer = linkLayer(*copy->getLayerId());
        copy->setLayerId(&layer);
    }

    // ---- Materials ----

    // Each material of the target that has the identifier of a reference material takes that
    // material's content in place (copyFrom: a deep copy of its tree, every node keeping its
    // identifier), so the target's polygons keep their material indices; the target material's
    // identifier and UI value stay. Reference materials the target lacks are not added, and a
    // null identifier names no material. The first reference material of an identifier lends it.
    void importMaterials()
    {
        TObjectMgr<CProperty, CScnProperty>& from = mSource.materials();
        std::map<CScnUUID, CProperty*, UuidLess> lenders;
        for (size_t i = 0; i < from.size(); ++i) {
            CProperty* material = from.at(i);
            if (!isNullUuid(*material->getUUID())) {
                lenders.emplace(*material->getUUID(), material);
            }
        }
        TObjectMgr<CProperty, CScnProperty>& to = mTarget.materials();
        for (size_t i = 0; i < to.size() && !lenders.empty(); ++i) {
            auto lender = lenders.find(*to.at(i)->getUUID());
            if (lender != lenders.end()) {
                to.at(i)->copyFrom(lender->second);
            }
        }
    }

    // ---- Lights and heliodons ----

    void importLights()
    {
        TObjectMgr<CLight, CScnLight>& lights = mSource.lights();
        for (size_t i = 0; i < lights.size(); ++i) {
            CLight* copy = appendCopy(mTarget.lights(), *lights.at(i), "CScnMgr::doImportReference");
            if (copy != nullptr) {
                CScnUUID settled = settleIdentifier(mTarget.lights(), *copy, *lights.at(i)->getUUID(), mLights,
                                                    [](CLight& light) { return *light.getUUID(); });
                copy->setUUID(&settled);
                mImportedLights.push_back(copy);
            }
        }
    }

    // A heliodon whose name a heliodon of the target has already takes the first free
    // "name (n)"; the views imported afterwards name it so.
    void importHeliodons()
    {
        TObjectMgr<CHeliodon, CScnHeliodon>& heliodons = mSource.heliodons();
        std::set<std::string> names;
        for (size_t i = 0; i < mTarget.heliodons().size(); ++i) {
            names.insert(mTarget.heliodons().at(i)->getName());
        }
        for (size_t i = 0; i < heliodons.size(); ++i) {
            CHeliodon& heliodon = *heliodons.at(i);
            CHeliodon* copy = appendCopy(mTarget.heliodons(), heliodon, "CScnMgr::doImportReference");
            if (copy == nullptr) {
                continue;
            }
            CScnUUID settled = settleIdentifier(mTarget.heliodons(), *copy, *heliodon.getUUID(), mHeliodons,
                                                [](CHeliodon& object) { return *object.getUUID(); });
            copy->setUUID(&settled);
            std::string name = heliodon.getName();
            if (!name.empty() && names.count(name) != 0) {
                for (int n = 2; names.count(name) != 0; ++n) {
                    name = std::string(heliodon.getName()) + " (" + std::to_string(n) + ")";
                }
                copy->setName(name.c_str());
            }
            names.insert(name);
            mHeliodonNames.emplace(heliodon.getName(), name);
        }
    }

    // ---- The links between the two scenes ----

    // The links of the objects imported so far: the light groups of the lights and what their
    // targets look at. The views, panoramas and scenario content imported after this step link
    // through the same tables as they arrive.
    void linkImported()
    {
        for (CLight* light : mImportedLights) {
            linkLightGroups(light->getLightsGroups());
            CScnUUID object = linkInstance(*light->getObjectId());
            light->setObjectId(&object);
            if (isNullUuid(object) && light->getTargetType() == kScnTargetOnObject) {
                light->setTargetType(kScnTargetFixedVertex);
            }
        }
    }

    // A link to a shared object (light group, layer, environment): the target's object of that
    // identifier when it has one, else a copy of the source's, else the link as it was.
    template <class Impl, class Iface, class Id>
    CScnUUID linkShared(const CScnUUID& uuid, TObjectMgr<Impl, Iface>& from, TObjectMgr<Impl, Iface>& to,
                        UuidMap& map, Id&& id)
    {
        if (isNullUuid(uuid)) {
            return uuid;
        }
        auto known = map.find(uuid);
        if (known != map.end()) {
            return known->second;
        }
        map[uuid] = uuid;
        Impl* original = findBy(from, uuid, id);
        if (original != nullptr && findBy(to, uuid, id) == nullptr) {
            appendCopy(to, *original, "CScnMgr::doImportReference");
        }
        return uuid;
    }

    CScnUUID linkLightGroup(const CScnUUID& uuid)
    {
        return linkShared(uuid, mSource.lightsGroups(), mTarget.lightsGroups(), mLightGroups,
                          [](CScnLightsGroup& group) { return *group.getID(); });
    }

    CScnUUID linkLayer(const CScnUUID& uuid)
    {
        return linkShared(uuid, mSource.layers(), mTarget.layers(), mLayers,
                          [](CScnLayer& layer) { return *layer.getUUID(); });
    }

    CScnUUID linkEnvironment(const CScnUUID& uuid)
    {
        return linkShared(uuid, mSource.environments(), mTarget.environments(), mEnvironments,
                          [](CScnEnvironment& environment) { return *environment.getUUID(); });
    }

    void linkLightGroups(TScnObjectMgr<CScnUUID>* groups)
    {
        for (int32_t i = 0, count = groups->getNbObjects(); i < count; ++i) {
            CScnUUID* group = groups->getScnObject(static_cast<uint32_t>(i));
            *group = linkLightGroup(*group);
        }
    }

    void linkLayers(TScnObjectMgr<CScnUUID>* layers)
    {
        for (int32_t i = 0, count = layers->getNbObjects(); i < count; ++i) {
            CScnUUID* layer = layers->getScnObject(static_cast<uint32_t>(i));
            *layer = linkLayer(*layer);
        }
    }

    // A link to an object instance: the imported copy, or the target's own instance of that
    // identifier; the null identifier when the target has neither.
    CScnUUID linkInstance(const CScnUUID& uuid)
    {
        auto imported = mInstances.find(uuid);
        if (imported != mInstances.end()) {
            return imported->second;
        }
        if (findBy(mTarget.objectInstances(), uuid, [](CScnObjectInstance& object) { return *object.getUUID(); })) {
            return uuid;
        }
        return kNullUuid;
    }

    // ---- Views ----

    // The view information of an imported view: its own identifier, its light groups, layers
    // and environment, and the name of its heliodon as the target knows it.
    template <class View>
    void linkViewInfo(View& view)
    {
        IScnViewInfo* info = view.getViewInfo();
        CScnUUID settled = *info->getUUID();
        if (!mViewInfos.insert(settled).second) {
            settled = newUuid();
            mViewInfos.insert(settled);
        }
        info->setUUID(&settled);
        linkLightGroups(info->getLightsGroups());
        linkLayers(info->getLayers());
        CScnUUID environment = linkEnvironment(*info->getEnvironment());
        info->setEnvironment(&environment);
        auto heliodon = mHeliodonNames.find(info->getHeliodonName());
        if (heliodon != mHeliodonNames.end()) {
            info->setHeliodonName(heliodon->second.c_str());
        }
    }

    // Collects the view information identifiers of every view of the target once, before the
    // first view arrives.
    void knowViewInfos()
    {
        if (mViewInfosKnown) {
            return;
        }
        mViewInfosKnown = true;
        auto add = [this](auto& list) {
            for (size_t i = 0; i < list.size(); ++i) {
                mViewInfos.insert(*list.at(i)->getViewInfo()->getUUID());
            }
        };
        add(mTarget.cameras());
        add(mTarget.parallelViews());
        add(mTarget.workingWindowViews());
        add(mTarget.viewObjects());
    }

    template <class Impl, class Iface>
    void importViews(TObjectMgr<Impl, Iface>& from, TObjectMgr<Impl, Iface>& to)
    {
        knowViewInfos();
        for (size_t i = 0; i < from.size(); ++i) {
            Impl* copy = appendCopy(to, *from.at(i), "CScnMgr::doImportReference");
            if (copy != nullptr) {
                linkViewInfo(*copy);
            }
        }
    }

    void importPerspectiveViews()
    {
        bool hadCurrent = false;
        for (size_t i = 0; i < mTarget.cameras().size(); ++i) {
            hadCurrent = hadCurrent || mTarget.cameras().at(i)->isCurrent();
        }
        size_t first = mTarget.cameras().size();
        importViews(mSource.cameras(), mTarget.cameras());
        for (size_t i = first; i < mTarget.cameras().size(); ++i) {
            CCamera* camera = mTarget.cameras().at(i);
            CScnUUID object = linkInstance(*camera->getObjectId());
            camera->setObjectId(&object);
            if (isNullUuid(object)) {
                camera->setTargetType(0);
            }
            // The target's current view stays current.
            if (hadCurrent) {
                camera->setViewFlags(camera->getViewFlags() & ~kViewFlagCurrent);
            }
        }
    }

    void importParallelViews() { importViews(mSource.parallelViews(), mTarget.parallelViews()); }

    void importViewObjects() { importViews(mSource.viewObjects(), mTarget.viewObjects()); }

    // ---- Panoramas and scenarios ----

    // A panorama without nodes (the one every scene starts with) has nothing to lend.
    void importPanoramas()
    {
        TObjectMgr<CScnPanorama, IScnPanorama>& panoramas = mSource.panoramas();
        UuidMap settledPanoramas;
        for (size_t i = 0; i < panoramas.size(); ++i) {
            if (panoramas.at(i)->getNodes()->getNbObjects() == 0) {
                continue;
            }
            CScnPanorama* copy = appendCopy(mTarget.panoramas(), *panoramas.at(i), "CScnMgr::doImportReference");
            if (copy != nullptr) {
                CScnUUID settled = settleIdentifier(mTarget.panoramas(), *copy, *panoramas.at(i)->getUUID(),
                                                    settledPanoramas,
                                                    [](CScnPanorama& panorama) { return *panorama.getUUID(); });
                copy->setUUID(&settled);
            }
        }
    }

    void importScenario()
    {
        if (mSource.scenarios().size() == 0) {
            return;
        }
        if (mTarget.scenarios().size() == 0 && mTarget.scenarios().append() == nullptr) {
            return;
        }
        CScnScenario& from = *mSource.scenarios().at(0);
        CScnScenario& to = *mTarget.scenarios().at(0);
        UuidMap sequences;
        for (size_t i = 0; i < from.sequences().size(); ++i) {
            CScnSequence* copy = appendCopy(to.sequences(), *from.sequences().at(i), "CScnMgr::doImportReference");
            if (copy == nullptr) {
                continue;
            }
            CScnUUID settled = settleIdentifier(to.sequences(), *copy, *from.sequences().at(i)->getUUID(), sequences,
                                                [](CScnSequence& sequence) { return *sequence.getUUID(); });
            copy->setUUID(&settled);
            CScnUUID object = linkInstance(*copy->getObjectUUID());
            copy->setObjectUUID(&object);
            if (isNullUuid(object) && copy->getTargetType() == kScnSequenceObjectInstance) {
                copy->setTargetType(kScnSequenceFixedVertex);
            }
        }
        for (size_t i = 0; i < from.timeGuides().size(); ++i) {
            appendCopy(to.timeGuides(), *from.timeGuides().at(i), "CScnMgr::doImportReference");
        }
        for (size_t i = 0; i < from.snds().size(); ++i) {
            appendCopy(to.snds(), *from.snds().at(i), "CScnMgr::doImportReference");
        }
        if (from.getMaxTime() > to.getMaxTime()) {
            to.setMaxTime(from.getMaxTime());
        }
    }

    // ---- The final step ----

    // Nothing imported refers to the source any more: the tables of its identifiers go.
    void finish()
    {
        mImportedLights.clear();
        mDefinitions.clear();
        mInstances.clear();
        mScratch.clear();
    }

    CSCN& mTarget;
    CSCN& mSource;
    int32_t mFlags;
    CXMLFragment mScratch;
    // Source identifier to target identifier, per kind.
    UuidMap mDefinitions;
    UuidMap mInstances;
    UuidMap mLights;
    UuidMap mHeliodons;
    UuidMap mLightGroups;
    UuidMap mLayers;
    UuidMap mEnvironments;
    // Source heliodon name to the name of its copy.
    std::map<std::string, std::string> mHeliodonNames;
    std::set<CScnUUID, UuidLess> mViewInfos;
    bool mViewInfosKnown = false;
    std::vector<CLight*> mImportedLights;
};

}  // namespace

void importReference(CSCN& target, CSCN& source, int32_t flags) noexcept
{
    if (&target == &source) {
        return;
    }
    guardedVoid(&target, "CScnMgr::doImportReference", [&] { CReferenceImport(target, source, flags).run(); });
}

}  // namespace NvScn
