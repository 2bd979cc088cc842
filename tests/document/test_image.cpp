// Pixel matrices, the scene image and the image data objects: index checks, scaling, the size
// limit, sharing by reference count, ownership rules and the reports of a failing write.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "document/ImageBlocks.h"
#include "model/Image.h"
#include "model/Scene.h"
#include "platform/Memory.h"
#include "support/Failures.h"
#include "support/TestSupport.h"
#include "test_image_support.h"
#include "xml/XImage.h"
#include "xml/XMLNodes.h"

namespace {

using namespace NvScn;
using Nuvora::XCPixels;
using Nuvora::XCXMLImage;
using ScnTest::hexWords;
using ScnTest::RecordingFeedback;
using ScnTest::ChunkedReadStream;
using ScnTest::LimitedWriteStream;

template <class Action>
std::string failureOf(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

std::vector<uint32_t> valuesOf(const Nuvora::XTIMatrix<unsigned int>& matrix)
{
    const unsigned int* data = matrix.GetData();
    size_t count = static_cast<size_t>(matrix.GetWidth()) * matrix.GetHeight();
    return data == nullptr ? std::vector<uint32_t>() : std::vector<uint32_t>(data, data + count);
}

TEST(PixelMatrix, AtAndSetCheckBothIndices)
{
    const unsigned int source[] = {1, 2, 3, 4, 5, 6};
    XCPixels matrix(3, 2, source);
    EXPECT_EQ(*matrix.At(2, 0), 3u);
    EXPECT_EQ(*matrix.At(0, 1), 4u);
    matrix.Set(1, 1, 50);
    EXPECT_EQ(valuesOf(matrix), (std::vector<uint32_t>{1, 2, 3, 4, 50, 6}));
    const uint32_t outside[][2] = {{3, 0}, {0, 2}, {0xFFFFFFFFu, 0}, {0, 0xFFFFFFFFu}};
    for (const auto& index : outside) {
        EXPECT_EQ(failureOf([&] { matrix.At(index[0], index[1]); }),
                  ScnTest::assertionText("XTCMatrix::CheckIndex - Invalid index"));
        EXPECT_EQ(failureOf([&] { matrix.Set(index[0], index[1], 9); }),
                  ScnTest::assertionText("XTCMatrix::CheckIndex - Invalid index"));
    }
    XCPixels empty;
    EXPECT_EQ(failureOf([&] { empty.At(0, 0); }), ScnTest::assertionText("XTCMatrix::CheckIndex - Invalid index"));
}

TEST(PixelMatrix, NewPixelsAreZeroAndSizeIsLimited)
{
    XCPixels zero(4, 3);
    EXPECT_EQ(valuesOf(zero), std::vector<uint32_t>(12, 0u));
    EXPECT_EQ(failureOf([] { XCPixels huge(0x8000, 0x8000); }), "XTCMatrix::XTCMatrix - Can't allocate buffer");
    EXPECT_EQ(failureOf([] { XCPixels huge(0xFFFFFFFFu, 0xFFFFFFFFu); }),
              "XTCMatrix::XTCMatrix - Can't allocate buffer");
    Nuvora::failAllocationAfter(1);
    EXPECT_EQ(failureOf([] { XCPixels refused(2, 2); }), "XTCMatrix::XTCMatrix - Can't allocate buffer");
    Nuvora::failAllocationAfter(0);
    // A failed resize keeps the matrix as it was.
    XCPixels kept(1, 1);
    EXPECT_EQ(failureOf([&] { kept.Resize(0x10000, 0x10000); }), "XTCMatrix::XTCMatrix - Can't allocate buffer");
    EXPECT_EQ(kept.GetWidth(), 1u);
    EXPECT_NE(kept.GetData(), nullptr);
}

struct ScaleCase {
    const char* name;
    uint32_t width;
    uint32_t height;
    std::vector<unsigned int> source;
    uint32_t newWidth;
    uint32_t newHeight;
    std::vector<uint32_t> expected;
};

TEST(PixelMatrix, ScaledStepsWithIntegerAccumulators)
{
    const ScaleCase cases[] = {
        // Output column x samples source column x * w / W: each source word W / w times.
        {"2 to 4", 2, 1, {10, 11}, 4, 1, {10, 10, 11, 11}},
        {"3 to 6", 3, 1, {10, 11, 12}, 6, 1, {10, 10, 11, 11, 12, 12}},
        {"4 to 2", 4, 1, {10, 11, 12, 13}, 2, 1, {10, 12}},
        {"3 to 4", 3, 1, {10, 11, 12}, 4, 1, {10, 10, 11, 12}},
        {"rows 3 to 2", 1, 3, {10, 11, 12}, 1, 2, {10, 11}},
        {"2x2 to 3x3", 2, 2, {1, 2, 3, 4}, 3, 3, {1, 1, 2, 1, 1, 2, 3, 3, 4}},
        {"same size", 2, 2, {1, 2, 3, 4}, 2, 2, {1, 2, 3, 4}},
        {"to nothing", 2, 2, {1, 2, 3, 4}, 0, 3, {}},
        {"from nothing", 0, 0, {}, 2, 1, {0, 0}},
    };
    for (const ScaleCase& c : cases) {
        XCPixels source(c.width, c.height, c.source.empty() ? nullptr : c.source.data());
        Nuvora::XTIMatrix<unsigned int>* scaled = source.Scaled(c.newWidth, c.newHeight);
        scaled->AddRef();
        EXPECT_EQ(scaled->GetWidth(), c.newWidth) << c.name;
        EXPECT_EQ(valuesOf(*scaled), c.expected) << c.name;
        scaled->Release();
    }
}

TEST(XMLImage, IsADataObjectSharedByReference)
{
    const unsigned int pixels[] = {7, 7, 7, 7};
    NuvoraXML::XCXMLTree tree;
    NuvoraXML::XIXMLElement* root = tree.GetRoot();
    NuvoraXML::XIXMLElement* element = root->AddElement(root->GetKey("Preview.Image"));
    auto* image = new XCXMLImage(2, 2, pixels);
    image->AddReference();
    element->AddData(image);
    EXPECT_EQ(image->GetRefCount(), 1);
    element->AsNode()->CopyTo(root);
    EXPECT_EQ(image->GetRefCount(), 2);
    LimitedWriteStream out;
    root->Write(&out);
    std::string block = "<Preview.Image><![CDATA[" + hexWords({1, 2, 2, 4, 7}) + "]]>\n</Preview.Image>";
    EXPECT_EQ(out.text, block + "\n" + block + "\n");
    // A failing stream makes the data object answer false, and the tree write fail.
    LimitedWriteStream refusing;
    refusing.failAfter = 30;
    EXPECT_FALSE(image->Write(&refusing, 0, nullptr));
}

TEST(XMLImage, ReadReplacesThePixels)
{
    XCXMLImage image(5, 5);
    ChunkedReadStream in(hexWords({1, 1, 2, 2, 9}));
    image.Read(&in);
    EXPECT_EQ(valuesOf(image), (std::vector<uint32_t>{9, 9}));
    ChunkedReadStream bad("zz");
    EXPECT_EQ(failureOf([&] { image.Read(&bad); }), "XCXMLImage::ReadHex - Read stream error");
    EXPECT_EQ(image.GetData(), nullptr);
}

// A scene with a recording feedback.
class SceneImage : public testing::Test {
protected:
    void SetUp() override { mScene = static_cast<CSCN*>(CScnMgr::create(&mFeedback, nullptr)); }
    void TearDown() override { mScene->release(); }

    RecordingFeedback mFeedback;
    CSCN* mScene = nullptr;
};

struct PixelsCase {
    uint32_t width;
    uint32_t height;
    bool withData;
    uint32_t expectedWidth;
    uint32_t expectedHeight;
};

TEST_F(SceneImage, SetPixelsCopiesOrEmpties)
{
    const uint32_t source[] = {1, 2, 3, 4, 5, 6};
    const PixelsCase cases[] = {
        {3, 2, true, 3, 2}, {0, 10, true, 0, 0}, {10, 0, true, 0, 0}, {2, 2, false, 0, 0}, {6, 1, true, 6, 1},
    };
    IScnImage* image = mScene->getPreviewImage();
    for (const PixelsCase& c : cases) {
        image->setPixels(1, 1, source);
        image->setPixels(c.width, c.height, c.withData ? source : nullptr);
        uint32_t width = 99;
        uint32_t height = 99;
        const uint32_t* data = source;
        image->getPixels(&width, &height, &data);
        EXPECT_EQ(width, c.expectedWidth);
        EXPECT_EQ(height, c.expectedHeight);
        if (c.expectedWidth == 0) {
            EXPECT_EQ(data, nullptr);
        } else {
            ASSERT_NE(data, source);
            EXPECT_EQ(std::vector<uint32_t>(data, data + 6), std::vector<uint32_t>(source, source + 6));
        }
        image->getPixels(nullptr, nullptr, nullptr);
    }
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(SceneImage, SetPixelsOverTheLimitReportsAndKeepsTheImage)
{
    const uint32_t source[] = {42};
    IScnImage* image = mScene->getPreviewImage();
    image->setPixels(1, 1, source);
    image->setPixels(0x8000, 0x8000, source);
    ASSERT_EQ(mFeedback.warnings.size(), 1u);
    EXPECT_EQ(mFeedback.warnings[0],
              "Exception in IScnImage::setPixels : XTCMatrix::XTCMatrix - Can't allocate buffer");
    const uint32_t* data = nullptr;
    uint32_t width = 0;
    image->getPixels(&width, nullptr, &data);
    EXPECT_EQ(width, 1u);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], 42u);
}

TEST_F(SceneImage, OnlyImagesWithoutOwnerCanBeDestroyed)
{
    const uint32_t source[] = {1};
    IScnImage* preview = mScene->getPreviewImage();
    preview->setPixels(1, 1, source);
    preview->destroy();
    IScnImage* listed = mScene->getImages()->newScnObject(kScnLastIndex);
    listed->destroy();
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>(2, "IScnImage::destroy - You must destroy only readed image"));
    EXPECT_EQ(mScene->getImages()->getNbObjects(), 1);
    uint32_t width = 0;
    preview->getPixels(&width, nullptr, nullptr);
    EXPECT_EQ(width, 1u);
    // A free image goes with its pixels (the sanitizer build checks nothing leaks).
    auto* free = new CScnImage(nullptr);
    free->setPixels(1, 1, source);
    free->destroy();
}

TEST_F(SceneImage, IdentifierStartsNullAndIgnoresNull)
{
    IScnImage* image = mScene->getImages()->newScnObject(kScnLastIndex);
    EXPECT_EQ(*image->getUUID(), CScnUUID{});
    CScnUUID uuid{};
    uuid.bytes[0] = 0xAB;
    uuid.bytes[15] = 0x01;
    image->setUUID(&uuid);
    image->setUUID(nullptr);
    EXPECT_EQ(*image->getUUID(), uuid);
}

TEST_F(SceneImage, ProviderWritesThePixelsOfTheMoment)
{
    IScnImage* image = mScene->getImages()->newScnObject(kScnLastIndex);
    NuvoraXML::XIXMLData::IXMLCData* provider = newImageProvider(mScene, image);
    LimitedWriteStream empty;
    EXPECT_TRUE(provider->Write(&empty, 0, nullptr));
    EXPECT_EQ(empty.text, "");
    const uint32_t source[] = {5, 6, 6};
    image->setPixels(3, 1, source);
    NuvoraXML::XIXMLData::IXMLCData* clone = provider->Clone();
    LimitedWriteStream first;
    LimitedWriteStream second;
    EXPECT_TRUE(provider->Write(&first, 0, nullptr));
    EXPECT_TRUE(clone->Write(&second, 0, nullptr));
    EXPECT_EQ(first.text, hexWords({1, 3, 1, 1, 5, 1, 6, 1, 6}));
    EXPECT_EQ(second.text, first.text);
    clone->Release();
    provider->Release();
    EXPECT_TRUE(mFeedback.warnings.empty());
}

// A write stream that throws something that is not a standard exception.
class ThrowingWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void*, int32_t) override { throw 42; }
};

TEST_F(SceneImage, ProviderReportsFailuresAndAnswersFalse)
{
    IScnImage* image = mScene->getPreviewImage();
    const uint32_t source[] = {1, 2};
    image->setPixels(2, 1, source);
    NuvoraXML::XIXMLData::IXMLCData* provider = newImageProvider(mScene, image);
    LimitedWriteStream refusing;
    refusing.failAfter = 8;
    ThrowingWriteStream throwing;
    EXPECT_FALSE(provider->Write(&refusing, 0, nullptr));
    EXPECT_FALSE(provider->Write(&throwing, 0, nullptr));
    provider->Release();
    EXPECT_EQ(mFeedback.warnings, (std::vector<std::string>{ScnTest::assertionText("XCXMLImage::WriteHex - Write stream error"),
                                                            "CImageProvider::Write - Unknown exception"}));
    // Without a scene the failure is only answered.
    provider = newImageProvider(nullptr, image);
    EXPECT_FALSE(provider->Write(&throwing, 0, nullptr));
    provider->Release();
    EXPECT_EQ(mFeedback.warnings.size(), 2u);
}

// An image implemented outside the library's own class.
class ForeignImage : public IScnImage {
public:
    void destroy() override {}
    void getPixels(uint32_t* width, uint32_t* height, const uint32_t** data) override
    {
        *width = mWidth;
        *height = mHeight;
        *data = mPixels.empty() ? nullptr : mPixels.data();
    }
    void setPixels(uint32_t width, uint32_t height, const uint32_t* data) override
    {
        mWidth = data != nullptr ? width : 0;
        mHeight = data != nullptr ? height : 0;
        mPixels.assign(data, data + static_cast<size_t>(mWidth) * mHeight);
    }
    const CScnUUID* getUUID() override { return nullptr; }
    void setUUID(const CScnUUID*) override {}

    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    std::vector<uint32_t> mPixels;
};

TEST_F(SceneImage, ReadImageBlockInstallsOrEmpties)
{
    IScnImage* image = mScene->getPreviewImage();
    ChunkedReadStream good(hexWords({1, 1, 3, 1, 4, 2, 5, 6}));
    readImageBlock(&good, image);
    const uint32_t* data = nullptr;
    uint32_t height = 0;
    image->getPixels(nullptr, &height, &data);
    ASSERT_EQ(height, 3u);
    EXPECT_EQ(std::vector<uint32_t>(data, data + 3), (std::vector<uint32_t>{4, 5, 6}));
    ChunkedReadStream bad(hexWords({3}));
    EXPECT_EQ(failureOf([&] { readImageBlock(&bad, image); }), "Unknown format");
    image->getPixels(nullptr, &height, &data);
    EXPECT_EQ(height, 0u);
    EXPECT_EQ(data, nullptr);

    ForeignImage foreign;
    ChunkedReadStream again(hexWords({1, 2, 1, 2, 8}));
    readImageBlock(&again, &foreign);
    EXPECT_EQ(foreign.mPixels, (std::vector<uint32_t>{8, 8}));
    ChunkedReadStream nothing("");
    readImageBlock(&nothing, &foreign);
    EXPECT_TRUE(foreign.mPixels.empty());
}

}  // namespace
