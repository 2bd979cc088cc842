#include "model/Geometry.h"

#include "model/Scene.h"

namespace NvScn {

void CPolygon::report(const char* text) const
{
    if (mScene != nullptr) {
        mScene->report(text);
    }
}

void CPolygon::clear()
{
    mSmoothed = false;
    mPropertyIndex = 0;
    mVertices.clear();
    mHoles.clear();
}

}  // namespace NvScn
