// Owner links: every object reaches the scene that owns it, and through it the feedback.
#ifndef SCN_BASE_OBJECT_MGR_H
#define SCN_BASE_OBJECT_MGR_H

namespace NvScn {

class CSCN;

// Common part of the scene core and of every manager: the scene that reports go to.
class CBaseObjectMgr {
public:
    explicit CBaseObjectMgr(CSCN* scene) : mScene(scene) {}
    CBaseObjectMgr(const CBaseObjectMgr&) = delete;
    CBaseObjectMgr& operator=(const CBaseObjectMgr&) = delete;

    // The owning scene, null for a manager that belongs to no scene.
    CSCN* getScene() const { return mScene; }
    // Sends a report to the scene's feedback; dropped without scene or feedback, and an exception
    // of the feedback itself is dropped too, so that no report carries one back to the client.
    void report(const char* text) const noexcept;

protected:
    ~CBaseObjectMgr() = default;
    CSCN* mScene;
};

// Owner link of an object kind: the manager or scene that made it, null for a free object.
class CScnObject {
public:
    explicit CScnObject(CBaseObjectMgr* owner) : mOwner(owner) {}

    // The manager (or scene) that owns the object, null when it belongs to none.
    CBaseObjectMgr* getOwner() const { return mOwner; }
    // The owning scene, null for a free object.
    CSCN* getScene() const { return mOwner != nullptr ? mOwner->getScene() : nullptr; }
    // Sends a report to the owning scene's feedback; dropped for a free object.
    void report(const char* text) const noexcept
    {
        if (mOwner != nullptr) {
            mOwner->report(text);
        }
    }

protected:
    ~CScnObject() = default;
    CBaseObjectMgr* mOwner;
};

}  // namespace NvScn

#endif
