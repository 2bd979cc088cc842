// Images and the cheap readers over documents that the library itself saves: the preview and
// the image list travel through save and load, and the readers find what a save arranges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScnMgr.h"
#include "model/Uuid.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::RecordingFeedback;

// What loading a scene without geometry reports, and nothing more.
const std::vector<std::string> kEmptyGeometryReports = {"Numbers of points seems wrong", "Numbers of polygons seems wrong"};

std::vector<uint32_t> pixelsOf(IScnImage* image, uint32_t* width = nullptr)
{
    uint32_t w = 0;
    uint32_t h = 0;
    const uint32_t* data = nullptr;
    image->getPixels(&w, &h, &data);
    if (width != nullptr) {
        *width = w;
    }
    return data == nullptr ? std::vector<uint32_t>() : std::vector<uint32_t>(data, data + size_t(w) * h);
}

// A saved scene: a 3 x 2 preview, two images of the list with identifiers, an origin.
class SavedScene : public testing::Test {
protected:
    void SetUp() override
    {
        CScnMgr* scene = CScnMgr::create(&mFeedback, nullptr);
        scene->getPreviewImage()->setPixels(3, 2, mPreview.data());
        for (uint8_t i = 0; i < 2; ++i) {
            IScnImage* image = scene->getImages()->newScnObject(kScnLastIndex);
            std::vector<uint32_t> pixels(16 * (i + 1), 0xFF000000u + i);
            pixels[3] = 7;
            image->setPixels(16, i + 1, pixels.data());
            CScnUUID uuid{};
            uuid.bytes[15] = static_cast<uint8_t>(i + 1);
            image->setUUID(&uuid);
            mImages.push_back(pixels);
        }
        CScnVector origin = {5, 6, 7};
        scene->getFileInfo()->setOrigin(&origin);
        ASSERT_EQ(scene->write(&mSaved), 0);
        scene->release();
        mSaved.setPosition(0);
    }

    RecordingFeedback mFeedback;
    MemoryStream mSaved;
    std::vector<uint32_t> mPreview = {1, 2, 3, 4, 4, 4};
    std::vector<std::vector<uint32_t>> mImages;
};

TEST_F(SavedScene, ImagesTravelThroughSaveAndLoad)
{
    CScnMgr* loaded = CScnMgr::create(&mFeedback, nullptr);
    ASSERT_EQ(loaded->read(&mSaved), 0);
    uint32_t width = 0;
    EXPECT_EQ(pixelsOf(loaded->getPreviewImage(), &width), mPreview);
    EXPECT_EQ(width, 3u);
    ASSERT_EQ(loaded->getImages()->getNbObjects(), 2);
    for (uint32_t i = 0; i < 2; ++i) {
        IScnImage* image = loaded->getImages()->getScnObject(i);
        EXPECT_EQ(pixelsOf(image), mImages[i]);
        EXPECT_EQ(image->getUUID()->bytes[15], i + 1);
    }
    EXPECT_EQ(loaded->getFileInfo()->getOrigin()->z, 7.0);
    loaded->release();
    EXPECT_EQ(mFeedback.warnings, kEmptyGeometryReports);
}

TEST_F(SavedScene, ReadersFindThePreviewButNotTheOrigin)
{
    mSaved.setPosition(0);
    testing::internal::CaptureStdout();
    IScnFileInfo2* info = CScnMgr::readFileInfo(&mSaved);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(mSaved.getPosition(), 0);
    // The first child of a saved "Scn.File" carries the preview block, so no origin is found.
    EXPECT_EQ(info->getOrigin()->x, 0.0);
    EXPECT_EQ(info->getOrigin()->z, 0.0);
    info->release();

    IScnImage* preview = CScnMgr::readPreviewImage(&mSaved);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(pixelsOf(preview), mPreview);
    preview->destroy();
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>());
}

TEST(SavedEmptyScene, ReadsBackWithAnEmptyPreviewAndNoPreviewImage)
{
    RecordingFeedback feedback;
    CScnMgr* scene = CScnMgr::create(&feedback, nullptr);
    MemoryStream saved;
    ASSERT_EQ(scene->write(&saved), 0);
    EXPECT_NE(saved.bytes().find("<Preview.Image><![CDATA[]]>"), std::string::npos);
    saved.setPosition(0);
    EXPECT_EQ(CScnMgr::readPreviewImage(&saved), nullptr);
    saved.setPosition(0);
    ASSERT_EQ(scene->read(&saved), 0);
    EXPECT_TRUE(pixelsOf(scene->getPreviewImage()).empty());
    scene->release();
    EXPECT_EQ(feedback.warnings, kEmptyGeometryReports);
}

}  // namespace
