// Layers, which group objects that views show or hide together, and the layer settings of a scene.
#ifndef SCN_LAYERS_H
#define SCN_LAYERS_H

#include <string>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"

namespace NvScn {

// A layer of the scene's layer list; a new one draws a fresh UUID (the constructor throws "Can't
// create UUID" when it cannot).
class CScnLayer : public TScnFrontier<IScnLayer>, public CScnObject {
public:
    static constexpr const char* kElementName = "Layer";

    explicit CScnLayer(CBaseObjectMgr* owner);

    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    int32_t getUIValue() override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.text("Name", mName, "");
        v.integer("UI.Value", mUIValue, 0, kOptional);
    }

private:
    CScnUUID mUUID;
    std::string mName;
    int32_t mUIValue;
};

// The layer settings: the active layer and, in "Default.Layer.Map", the layer that new objects of
// each kind go to.
class CScnLayerInfo : public TScnFrontier<IScnLayerInfo>, public CScnObject {
public:
    static constexpr const char* kElementName = "Layers.Info";

    explicit CScnLayerInfo(CBaseObjectMgr* owner);

    const CScnUUID* getActiveLayer() override { return &mActiveLayer; }
    void setActiveLayer(const CScnUUID* layer) override { storeIfGiven(mActiveLayer, layer); }
    const CScnUUID* get3DPlantLayer() override { return &mMap.plant; }
    void set3DPlantLayer(const CScnUUID* layer) override { storeIfGiven(mMap.plant, layer); }
    const CScnUUID* getScnObjectLayer() override { return &mMap.object; }
    void setScnObjectLayer(const CScnUUID* layer) override { storeIfGiven(mMap.object, layer); }
    const CScnUUID* getBillboardLayer() override { return &mMap.billboard; }
    void setBillboardLayer(const CScnUUID* layer) override { storeIfGiven(mMap.billboard, layer); }
    const CScnUUID* getLightObjectLayer() override { return &mMap.light; }
    void setLightObjectLayer(const CScnUUID* layer) override { storeIfGiven(mMap.light, layer); }
    const CScnUUID* getAnimatedObjectLayer() override { return &mMap.animated; }
    void setAnimatedObjectLayer(const CScnUUID* layer) override { storeIfGiven(mMap.animated, layer); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.identifier("Active.Layer", mActiveLayer, kNullUuid);
        v.object("Default.Layer.Map", mMap);
    }

private:
    struct CLayerMap {
        template <class V>
        void visitFields(V& v)
        {
            v.identifier("3DPlant", plant, kNullUuid);
            v.identifier("ScnObject", object, kNullUuid);
            v.identifier("Billboard", billboard, kNullUuid);
            v.identifier("LightObject", light, kNullUuid);
            v.identifier("AnimatedObject", animated, kNullUuid);
        }

        CScnUUID plant;
        CScnUUID object;
        CScnUUID billboard;
        CScnUUID light;
        CScnUUID animated;
    };

    CScnUUID mActiveLayer;
    CLayerMap mMap;
};

}  // namespace NvScn

#endif
