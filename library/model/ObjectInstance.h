// Object instances: objects placed in the scene, each referring to the definition it places.
#ifndef SCN_OBJECT_INSTANCE_H
#define SCN_OBJECT_INSTANCE_H

#include <string>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"

namespace NvScn {

// An object instance with its name, class, identity and the definition it places; a new one
// draws a fresh UUID (the constructor throws "Can't create UUID" when it cannot).
class CScnObjectInstance : public TScnFrontier<IScnObjectInstance>, public CScnObject {
public:
    static constexpr const char* kElementName = "Object.Instance";

    explicit CScnObjectInstance(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override;
    const char* getClass() override { return mClass.c_str(); }
    void setClass(const char* className) override;
    const CScnUUID* getUUID() override { return &mUuid; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUuid, uuid); }
    const CScnUUID* getAttachedObject() override { return &mAttachedObject; }
    void setAttachedObject(const CScnUUID* uuid) override { storeIfGiven(mAttachedObject, uuid); }

    // The fields of its element that this version holds, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.text("Class", mClass, "");
        v.identifier("UUID", mUuid, kNullUuid, kFresh);
        v.identifier("Attach.Id", mAttachedObject, kNullUuid);
    }

private:
    std::string mName;
    std::string mClass;
    CScnUUID mUuid;
    CScnUUID mAttachedObject;
};

}  // namespace NvScn

#endif
