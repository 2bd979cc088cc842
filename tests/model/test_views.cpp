// Cameras, parallel and object views and their view information: defaults, setter rules, the older
// camera interface, the identifier rule of the view information and partial reads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "model/Views.h"
#include "support/Failures.h"
#include "support/ViewSupport.h"

namespace {

using namespace ViewTest;

class ViewsScene : public SceneFixture {};

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

const char* const kViewInfo =
    "<View.Info UUID=\"000102030405060708090A0B0C0D0E0F\" Environment=\"FF0102030405060708090A0B0C0D0E0F\">"
    "<Locked/><Lights.Groups><UUID>AA0102030405060708090A0B0C0D0E0F</UUID></Lights.Groups>"
    "<Heliodon.Name en=\"Sunset\"/>"
    "<Depth.Of.Field Type=\"FromDistance\"><Used/><Clearness.Point X=\"1\" Y=\"2\" Z=\"3\"/>"
    "<Clearness.Dist.Inv>0.5</Clearness.Dist.Inv><Clearness.Size.Inv>0.25</Clearness.Size.Inv></Depth.Of.Field>"
    "<Renderer.Info><Name en=\"Art\"/><Options/></Renderer.Info></View.Info>";

TEST(Camera, NewCameraHoldsItsDefaults)
{
    CCamera camera(nullptr);
    EXPECT_EQ(camera.getFocal(), 50.0);
    EXPECT_EQ(camera.getRoll(), 0.00001);
    EXPECT_EQ(camera.getViewFlags(), 2u);
    EXPECT_FALSE(camera.isCurrent());
    EXPECT_TRUE(camera.isSecondFlag());
    EXPECT_EQ(camera.getTargetType(), 0);
    EXPECT_EQ(camera.getPosition()->z, -60.0);
    EXPECT_EQ(camera.getTarget()->z, 50.0);
    EXPECT_NE(camera.getInsertionObject(), nullptr);
}

TEST_F(ViewsScene, CameraVectorsGoThroughTheSceneConversion)
{
    scene().setLegacyFile(true);
    CScnCamera* camera = scene().getPerspectiveViews()->newScnObject(kScnLastIndex);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getPosition()->y, -60.0);
    EXPECT_EQ(camera->getPosition()->z, 50.0);
}

TEST(Camera, WritesItsItemsInDocumentOrderWithItsInsertionObjectLast)
{
    CCamera camera(nullptr);
    ScnTest::XmlDocument document("Perspective.Views");
    Parsed parsed(ScnTest::writeElement(camera.putInXML(document.top())));
    XIXMLElement* element = parsed.element();
    EXPECT_EQ(ViewTest::childNames(element),
              (Strings{"Name", "View.Flags", "Position", "Target", "Roll", "Focal", "View.Info", "Options",
                       "InsertionObject"}));
    EXPECT_STREQ(XmlForm::findAttribute(element, "Target.type"), "Fixed.Vertex");
    EXPECT_STREQ(XmlForm::findAttribute(element, "Object.Id"), "00000000000000000000000000000000");
    EXPECT_EQ(ViewTest::childNames(XmlForm::findChild(element, "Options")), (Strings{"Rendering", "Compression"}));
}

TEST(Camera, RollIsBroughtIntoOneTurn)
{
    const std::pair<double, double> cases[] = {
        {-kPi / 2, -kPi / 2 + kTwoPi}, {7, 7 - kTwoPi},  {0, 0},         {kTwoPi, kTwoPi},
        {-kTwoPi, 0},                  {3 * kTwoPi + 1, 3 * kTwoPi + 1 - kTwoPi - kTwoPi - kTwoPi},
    };
    CCamera camera(nullptr);
    for (const auto& c : cases) {
        camera.setRoll(c.first);
        EXPECT_EQ(camera.getRoll(), c.second) << c.first;
    }
    for (double huge : {1e300, -1e300, 1e18}) {
        camera.setRoll(huge);
        EXPECT_GE(camera.getRoll(), 0.0) << huge;
        EXPECT_LE(camera.getRoll(), kTwoPi) << huge;
    }
    camera.setRoll(std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(camera.getRoll()));
}

TEST_F(ViewsScene, SetCurrentLeavesOneCurrentCameraInItsList)
{
    TScnObjectMgr<CScnCamera>* cameras = scene().getPerspectiveViews();
    CScnCamera* views[3];
    for (CScnCamera*& view : views) {
        view = cameras->newScnObject(kScnLastIndex);
    }
    views[0]->setCurrent();
    views[2]->setViewFlags(1u | 4u);
    views[1]->setCurrent();
    EXPECT_EQ(views[0]->getViewFlags(), 2u);
    EXPECT_EQ(views[1]->getViewFlags(), 3u);
    EXPECT_EQ(views[2]->getViewFlags(), 4u);

    CCamera outside(nullptr);
    outside.setCurrent();
    EXPECT_TRUE(outside.isCurrent());
    EXPECT_TRUE(views[1]->isCurrent());
    outside.setSecondFlag(false);
    EXPECT_EQ(outside.getViewFlags(), 1u);
}

TEST_F(ViewsScene, FocalIsClampedOnlyInsideAScene)
{
    CScnCamera* inScene = scene().getPerspectiveViews()->newScnObject(kScnLastIndex);
    CCamera free(nullptr);
    inScene->setFocal(200);
    free.setFocal(200);
    EXPECT_EQ(inScene->getFocal(), 180.0);
    EXPECT_EQ(free.getFocal(), 200.0);
    inScene->setFocal(-1);
    EXPECT_EQ(inScene->getFocal(), 0.0);
    EXPECT_EQ(warnings(), (Strings{"Method setFocal has clipped a value out of range.",
                                   "Method setFocal has clipped a value out of range."}));
}

TEST(Camera, TargetTypesOutsideTheTableBecomeFixedVertex)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 1}, {0, 0}, {2, 0}, {-1, 0}, {1, 1}, {100, 0}};
    CCamera camera(nullptr);
    for (const auto& c : cases) {
        camera.setTargetType(c.first);
        EXPECT_EQ(camera.getTargetType(), c.second) << c.first;
    }
}

TEST_F(ViewsScene, OlderClientsGetTheCompatibleCameraInterface)
{
    const std::pair<int32_t, const char*> cases[] = {
        {2, "Client is obsolete for this Scn Library!"}, {-1, "Client is obsolete for this Scn Library!"},
        {3, nullptr}, {5, nullptr}, {6, nullptr},
        {7, "Client is newer than Scn Library!"},       {31, "Client is newer than Scn Library!"},
    };
    CScnCamera* camera = scene().getPerspectiveViews()->newScnObject(kScnLastIndex);
    const CScnCamera* constCamera = camera;
    for (const auto& c : cases) {
        warnings().clear();
        CScnCameraExObsolete* ex = camera->getCameraEx(c.first);
        EXPECT_EQ(ex == nullptr, c.second != nullptr) << c.first;
        EXPECT_EQ(constCamera->getCameraEx(c.first) == nullptr, c.second != nullptr) << c.first;
        EXPECT_EQ(warnings(), c.second != nullptr ? (Strings{c.second, c.second}) : Strings{}) << c.first;
    }

    CScnCameraExObsolete* ex = camera->getCameraEx(5);
    ex->setViewFlags(6);
    ex->setDOFType(3);
    CScnVector point{1, 2, 3};
    ex->setDOFClearnessPoint(&point);
    ex->setDOFClearnessDistInv(0.5);
    ex->setDOFClearnessSizeInv(0.25);
    IScnDepthOfField* depth = camera->getViewInfo()->getDepthOfField();
    EXPECT_EQ(camera->getViewFlags(), 6u);
    EXPECT_EQ(depth->getType(), 3);
    EXPECT_EQ(depth->getClearnessPoint()->z, 3.0);
    EXPECT_EQ(depth->getClearnessDistInv(), 0.5);
    EXPECT_EQ(ex->getDOFClearnessSizeInv(), 0.25);
}

TEST_F(ViewsScene, ACameraReadStopsAtTheFirstMissingItemKeepingWhatItRead)
{
    Parsed parsed("<Perspective.View Object.Id=\"000102030405060708090A0B0C0D0E0F\" Target.type=\"On.Object\">"
                  "<Name en=\"Entrance\"/><View.Flags>7</View.Flags><Position X=\"1\" Y=\"2\" Z=\"3\"/>"
                  "<Target X=\"4\" Y=\"5\" Z=\"6\"/><Focal>35</Focal></Perspective.View>");
    CCamera camera(owner());
    EXPECT_FALSE(camera.initWithXML(parsed.element()));
    EXPECT_EQ(warnings(), Strings{ScnTest::nullPointerText("Exception in CScnCamera::initWithXML : exception")});
    EXPECT_STREQ(camera.getName(), "Entrance");
    EXPECT_EQ(camera.getViewFlags(), 7u);
    EXPECT_EQ(camera.getTarget()->y, 5.0);
    EXPECT_EQ(camera.getRoll(), 0.00001);
    EXPECT_EQ(camera.getFocal(), 50.0);
    EXPECT_EQ(camera.getTargetType(), 0);
}

TEST_F(ViewsScene, ACameraWithAnUnknownTargetTypeFails)
{
    Parsed parsed("<Perspective.View Object.Id=\"000102030405060708090A0B0C0D0E0F\" Target.type=\"Moving\">"
                  "<Name en=\"\"/><View.Flags>2</View.Flags><Position X=\"1\" Y=\"2\" Z=\"3\"/>"
                  "<Target X=\"4\" Y=\"5\" Z=\"6\"/><Roll>1</Roll><Focal>35</Focal></Perspective.View>");
    CCamera camera(owner());
    EXPECT_FALSE(camera.initWithXML(parsed.element()));
    EXPECT_EQ(warnings(),
              Strings{"Exception in CScnCamera::initWithXML : Invalid label (Moving) [Fixed.Vertex..On.Object]"});
    EXPECT_EQ(camera.getFocal(), 35.0);
    EXPECT_EQ(camera.getObjectId()->bytes[1], 1);
}

TEST(ParallelView, NewViewIsAPlanWithZeroPlacement)
{
    CScnParallelView view(nullptr);
    EXPECT_EQ(view.getPVType(), 1);
    EXPECT_EQ(view.getViewFlags(), 2u);
    EXPECT_EQ(view.getSize(), 0.0);
    EXPECT_EQ(view.getTarget()->x, 0.0);
    EXPECT_FALSE(view.isSpecialShading());
    ScnTest::XmlDocument document("Parallel.Views");
    XIXMLElement* element = view.putInXML(document.top());
    ASSERT_NE(element, nullptr);
    EXPECT_STREQ(XmlForm::findAttribute(element, "PV.Type"), "Plan");
    EXPECT_EQ(ViewTest::childNames(element),
              (Strings{"Name", "View.Flags", "North.Angle", "Size", "Position", "Target", "View.Info", "Options"}));
    view.setSpecialShading(true);
    view.setNorthAngle(-400);
    EXPECT_EQ(view.getNorthAngle(), -400.0);
    EXPECT_EQ(ViewTest::childNames(view.putInXML(document.top())).back(), "Special.Shading");
}

TEST(ViewObject, WritesItsSweepsInsideTheirElements)
{
    CViewObject view(nullptr);
    view.getHorizontal()->setStep(15);
    view.getVertical()->setStart(-12.5);
    ScnTest::XmlDocument document("View.Objects");
    Parsed parsed(ScnTest::writeElement(view.putInXML(document.top())));
    EXPECT_EQ(ViewTest::childNames(parsed.element()),
              (Strings{"Name", "View.Flags", "Focal", "Center", "Radius", "Horizontal", "Vertical", "Origin.Angle",
                       "View.Info", "Options"}));
    EXPECT_EQ(ViewTest::childNames(XmlForm::findChild(parsed.element(), "Vertical")),
              (Strings{"Angle", "Step", "Shift", "Start"}));
    CViewObject read(nullptr);
    ASSERT_TRUE(read.loadFromXML(parsed.element()));
    EXPECT_EQ(read.getHorizontal()->getStep(), 15);
    EXPECT_EQ(read.getVertical()->getStart(), -12.5);
    EXPECT_EQ(dumpFields(read), dumpFields(view));
}

TEST_F(ViewsScene, ViewInfoKeepsItsIdentifierUnlessTheLoaderReads)
{
    Parsed parsed(kViewInfo);
    CScnViewInfo info(owner());
    CScnUUID own = *info.getUUID();
    ASSERT_TRUE(info.initWithXML(parsed.element()));
    EXPECT_EQ(*info.getUUID(), own);
    EXPECT_STREQ(info.getHeliodonName(), "Sunset");
    EXPECT_EQ(info.getEnvironment()->bytes[0], 0xFF);
    EXPECT_TRUE(info.isLocked());
    EXPECT_EQ(info.getLightsGroups()->getNbObjects(), 1);
    EXPECT_EQ(info.getDepthOfField()->getType(), 3);

    readFields(info, parsed.element(), kKeepIdentifiers);
    EXPECT_EQ(info.getUUID()->bytes[15], 0x0F);
    EXPECT_EQ(info.getUUID()->bytes[0], 0x00);
}

TEST_F(ViewsScene, ViewInfoKeepsAbsentOptionalItemsAndFailsWithoutRequiredOnes)
{
    CScnViewInfo info(owner());
    info.getClippingBox()->setAngle(45);
    info.setUIValue(9);
    info.getLayers()->newScnObject(kScnLastIndex);
    Parsed complete(kViewInfo);
    ASSERT_TRUE(info.initWithXML(complete.element()));
    EXPECT_EQ(info.getClippingBox()->getAngle(), 45.0);
    EXPECT_EQ(info.getUIValue(), 9);
    EXPECT_EQ(info.getLayers()->getNbObjects(), 1);
    EXPECT_EQ(warnings(), Strings{});

    Parsed withoutHeliodon("<View.Info><Lights.Groups><UUID>BB0102030405060708090A0B0C0D0E0F</UUID>"
                           "<UUID>CC0102030405060708090A0B0C0D0E0F</UUID></Lights.Groups>"
                           "<Depth.Of.Field Type=\"FromPoint\"/></View.Info>");
    EXPECT_FALSE(info.initWithXML(withoutHeliodon.element()));
    EXPECT_EQ(warnings(), Strings{ScnTest::nullPointerText("Exception in IScnViewInfo::initWithXML : exception")});
    EXPECT_EQ(info.getLightsGroups()->getNbObjects(), 2);
    EXPECT_FALSE(info.isLocked());
    EXPECT_STREQ(info.getHeliodonName(), "Sunset");
    EXPECT_EQ(info.getDepthOfField()->getType(), 3);
}

TEST(RendererInfo, KeepsItsOptionsAsTheyAre)
{
    const std::string options =
        "<Options\n"
        "\t Quality=\"3\"\n"
        "\t Engine=\"Path &amp; Light\">\n"
        "\t<!--tuned-->\n"
        "\t<Pass n=\"1\">first</Pass>\n"
        "\t<Pass n=\"2\"/>\n"
        "</Options>";
    Parsed parsed("<Renderer.Info><Name en=\"Art\"/>" + options + "</Renderer.Info>");
    CScnRendererInfo info(nullptr);
    ASSERT_TRUE(info.initWithXML(parsed.element()));
    EXPECT_STREQ(info.getName(), "Art");
    EXPECT_EQ(ScnTest::writeElement(info.getOptions()), options);

    ScnTest::XmlDocument document("View.Info");
    Parsed written(ScnTest::writeElement(info.putInXML(document.top())));
    CScnRendererInfo read(nullptr);
    ASSERT_TRUE(read.initWithXML(written.element()));
    EXPECT_EQ(ScnTest::writeElement(read.getOptions()), options);

    Parsed withoutOptions("<Renderer.Info><Name en=\"Plain\"/></Renderer.Info>");
    ASSERT_TRUE(read.initWithXML(withoutOptions.element()));
    EXPECT_EQ(ScnTest::writeElement(read.getOptions()), options);
}

TEST_F(ViewsScene, ViewWrappersReportUnderTheirOwnNames)
{
    Parsed empty("<Empty/>");
    const std::pair<std::function<bool()>, const char*> cases[] = {
        {[&] { return CCamera(owner()).initWithXML(empty.element()); }, "CScnCamera"},
        {[&] { return CScnParallelView(owner()).initWithXML(empty.element()); }, "IScnParallelView"},
        {[&] { return CViewObject(owner()).initWithXML(empty.element()); }, "CScnViewObject"},
        {[&] { return CScnViewInfo(owner()).initWithXML(empty.element()); }, "IScnViewInfo"},
        {[&] { return CScnDepthOfField(owner()).initWithXML(empty.element()); }, "IScnDepthOfField"},
        {[&] { return CScnClippingBox(owner()).initWithXML(empty.element()); }, "IScnClippingBox"},
        {[&] { return CScnRendererInfo(owner()).initWithXML(empty.element()); }, "IScnRendererInfo"},
        {[&] { return CScnRendererInfo(owner()).initWithXML(nullptr); }, "IScnRendererInfo"},
    };
    for (const auto& c : cases) {
        warnings().clear();
        EXPECT_FALSE(c.first()) << c.second;
        EXPECT_EQ(warnings(), Strings{std::string("Exception in ") + c.second +
                                      ScnTest::nullPointerText("::initWithXML : exception")});
    }
    warnings().clear();
    CCamera camera(owner());
    EXPECT_EQ(camera.putInXML(nullptr), nullptr);
    EXPECT_EQ(warnings(), Strings{ScnTest::nullPointerText("Exception in CScnCamera::putInXML : exception")});
}

}  // namespace
