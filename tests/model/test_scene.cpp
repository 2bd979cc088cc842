// The scene core's own rules: the vector fix-up that every reader applies.
#include <gtest/gtest.h>

#include "model/Scene.h"

namespace {

using namespace NvScn;

struct FixCase {
    bool legacy;
    double matrix[16];
    CScnVector in;
    CScnVector out;
};

TEST(SceneCore, VectorFixUpSwapsLegacyAxesThenTransforms)
{
    const FixCase cases[] = {
        {false, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {1, 2, 3}, {1, 2, 3}},
        {false, {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {1, 2, 3}, {11, 2, 3}},
        {true, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {1, 2, 3}, {1, 3, 2}},
        {true, {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 2, 5, 0, 0, 0, 1}, {1, 2, 3}, {3, 1, 9}},
        // The bottom row takes no part: the transformation is affine.
        {false, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 7, 7, 7}, {1, 2, 3}, {1, 2, 3}},
    };
    for (const FixCase& c : cases) {
        CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
        auto* scene = static_cast<CSCN*>(manager);
        scene->setMatrix(c.matrix);
        scene->setLegacyFile(c.legacy);
        CScnVector v = c.in;
        scene->fixVector(v);
        EXPECT_EQ(v.x, c.out.x);
        EXPECT_EQ(v.y, c.out.y);
        EXPECT_EQ(v.z, c.out.z);
        manager->release();
    }
}

}  // namespace
