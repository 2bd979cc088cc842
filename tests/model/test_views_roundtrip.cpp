// Every kind of views, environment and options, each field moved off its default, written with
// putInXML, taken through the writer's bytes and the tree reader, read back and compared whole;
// in the C locale and in a comma-decimal one.
#include <gtest/gtest.h>

#include <memory>

#include "model/HeliodonOpt.h"
#include "model/Views.h"
#include "support/FieldVary.h"
#include "support/ViewSupport.h"

namespace {

using namespace ViewTest;

// A view kind read the way the document loader reads it: identifiers are taken from the file.
template <class Kind>
struct KeepingIdentifiers : Kind {
    explicit KeepingIdentifiers(CBaseObjectMgr* owner) : Kind(owner) {}
    bool initWithXML(XIXMLElement* element) override
    {
        return initFieldsWithXML(*this, element, "KeepingIdentifiers::initWithXML", kKeepIdentifiers);
    }
};

template <class Kind>
void expectKindRoundTrip(const char* name)
{
    Kind source(nullptr);
    Kind target(nullptr);
    ScnTest::expectRoundTrip(source, target, name);
}

// Every kind of these areas, free, in the C locale and in a comma-decimal one.
void expectEveryKindRoundTrip()
{
    expectKindRoundTrip<CRenderingOpt>("CRenderingOpt");
    expectKindRoundTrip<CAnimRenderingOpt>("CAnimRenderingOpt");
    expectKindRoundTrip<CVRRenderingOpt>("CVRRenderingOpt");
    expectKindRoundTrip<CParallelViewRenderingOpt>("CParallelViewRenderingOpt");
    expectKindRoundTrip<CCompressionOpt>("CCompressionOpt");
    expectKindRoundTrip<CHeliodonOpt>("CHeliodonOpt");
    expectKindRoundTrip<CAmbiance>("CAmbiance");
    expectKindRoundTrip<CAtmosphere>("CAtmosphere");
    expectKindRoundTrip<CBackground>("CBackground");
    expectKindRoundTrip<CScnGround>("CScnGround");
    expectKindRoundTrip<CScnBackgroundPicture>("CScnBackgroundPicture");
    expectKindRoundTrip<CScnForeground>("CScnForeground");
    expectKindRoundTrip<CScnTexture>("CScnTexture");
    expectKindRoundTrip<CScnImageSettingsFilter>("CScnImageSettingsFilter");
    expectKindRoundTrip<CScnGrainFilter>("CScnGrainFilter");
    expectKindRoundTrip<CScnExposureFilter>("CScnExposureFilter");
    expectKindRoundTrip<CScnHatchingFilter>("CScnHatchingFilter");
    expectKindRoundTrip<CScnFilters>("CScnFilters");
    expectKindRoundTrip<CScnEnvironment>("CScnEnvironment");
    expectKindRoundTrip<CScnDepthOfField>("CScnDepthOfField");
    expectKindRoundTrip<CScnClippingBox>("CScnClippingBox");
    expectKindRoundTrip<CScnRendererInfo>("CScnRendererInfo");
    expectKindRoundTrip<KeepingIdentifiers<CScnViewInfo>>("CScnViewInfo");
    expectKindRoundTrip<KeepingIdentifiers<CCamera>>("CCamera");
    expectKindRoundTrip<KeepingIdentifiers<CScnParallelView>>("CScnParallelView");
    expectKindRoundTrip<KeepingIdentifiers<CViewObject>>("CViewObject");
}

TEST(KindRoundTrip, EveryKindComesBackWithAllItsFieldsInEveryLocale)
{
    ScnTest::inPlainAndCommaLocales([](bool) { expectEveryKindRoundTrip(); });
}

// The object wrappers read with identifiers cleared: a camera read through initWithXML keeps its
// view information's identifier and takes everything else.
TEST(CameraWrapper, AReadByTheWrapperKeepsItsViewInformationIdentifier)
{
    CCamera source(nullptr);
    CCamera target(nullptr);
    ScnTest::varyFields(source);
    CScnUUID own = *target.getViewInfo()->getUUID();
    bool ok = false;
    ScnTest::xmlRoundTrip(source, target, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(*target.getViewInfo()->getUUID(), own);
    target.getViewInfo()->setUUID(source.getViewInfo()->getUUID());
    EXPECT_EQ(dumpFields(target), dumpFields(source));
}

}  // namespace
