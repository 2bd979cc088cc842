// The file information of a scene: the origin of its coordinates.
#ifndef SCN_FILE_INFO_IMPL_H
#define SCN_FILE_INFO_IMPL_H

#include "ScnFileInfo.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// File information, either the scene's own (never released by a client) or a reader's result.
class CScnFileInfo : public TScnFrontier<IScnFileInfo2> {
public:
    // ownedByScene: the object is a member of a scene and release leaves it alone.
    explicit CScnFileInfo(bool ownedByScene) : mOwnedByScene(ownedByScene) {}

    const CScnVector* getOrigin() override { return &mOrigin; }
    void setOrigin(const CScnVector* origin) override
    {
        if (origin != nullptr) {
            mOrigin = *origin;
        }
    }
    void release() override
    {
        if (!mOwnedByScene) {
            delete this;
        }
    }

private:
    CScnVector mOrigin{0.0, 0.0, 0.0};
    bool mOwnedByScene;
};

}  // namespace NvScn

#endif
