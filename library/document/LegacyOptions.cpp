// The option words of the keyword-driven options, each with the reader of its values and the
// settings it sets; docs/legacy-options.md lists their value forms.
#include <array>
#include <cstring>

#include "document/AnimationIO.h"
#include "document/DocumentMessages.h"
#include "document/LegacyIO.h"
#include "document/LegacyScene.h"
#include "document/TokenReader.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

// The option reader's state while one options record is read.
class COptionContext {
public:
    // The view kinds whose rendering options the options set.
    enum EView { ePerspective, ePanorama, eAnimation, eViewObject, eHeliodonStudy, eViewCount };

    COptionContext(CSCN& scene, CTokenReader& reader) : scene(scene), reader(reader) {}

    CScnRenderingOpt* rendering(EView view)
    {
        switch (view) {
        case ePanorama:
            return scene.getPanoramaOpt();
        case eAnimation:
            return scene.getAnimationsOpt();
        case eViewObject:
            return scene.getViewObjectsOpt();
        case eHeliodonStudy:
            return scene.getHeliodonOpt()->getRenderingOpt();
        default:
            return scene.getPerspectiveViewsOpt();
        }
    }

    CScnCompressionOpt* compression(EView view)
    {
        if (view == eHeliodonStudy) {
            return scene.getHeliodonOpt()->getCompressionOpt();
        }
        return Nuvora::checkPointer(dynamic_cast<IScnViewOpt*>(rendering(view)), DocMsg::kOptionsError)
            ->getCompressionOpt();
    }

    // The output folder and file name of each view kind, joined into its URL at the end.
    void applyOutputs()
    {
        for (int view = 0; view < eViewCount; ++view) {
            const std::string& folder = folders[view];
            const std::string& name = names[view];
            if (folder.empty() && name.empty()) {
                continue;
            }
            std::string path = folder;
            if (!folder.empty() && !name.empty() && folder.back() != '\\' && folder.back() != '/') {
                path += folder.find('\\') != std::string::npos ? '\\' : '/';
            }
            path += name;
            rendering(static_cast<EView>(view))->setURL(LegacyValues::pathToUrl(path).c_str());
        }
    }

    CSCN& scene;
    CTokenReader& reader;
    std::array<std::string, eViewCount> folders;
    std::array<std::string, eViewCount> names;
};

namespace {

using EView = COptionContext::EView;
using Handler = void (*)(COptionContext&);

struct COptionEntry {
    const char* word;
    Handler handler;
};

constexpr int32_t kMotifImage = 3;
constexpr int32_t kSphereImage = 2;
constexpr int32_t kDailyStudy = 1;
constexpr int32_t kYearlyStudy = 2;
constexpr int32_t kUnitMinutes = 1;
constexpr int32_t kUnitHours = 2;
constexpr int32_t kUnitDays = 3;
constexpr int32_t kUnitMonths = 4;

std::string readTrimmedText(CTokenReader& reader)
{
    std::string text = reader.readUnicodeText();
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

// ---- Rendering options of the view kinds ----

template <EView View, void (CScnRenderingOpt::*Set)(bool)>
void renderFlag(COptionContext& c)
{
    (c.rendering(View)->*Set)(LegacyValues::readFlag(c.reader));
}

template <EView View, void (CScnRenderingOpt::*Set)(int32_t)>
void renderCount(COptionContext& c)
{
    (c.rendering(View)->*Set)(c.reader.readInt());
}

template <EView View>
void renderSize(COptionContext& c)
{
    int32_t width = c.reader.readInt();
    int32_t height = c.reader.readInt();
    c.rendering(View)->setWidth(width);
    c.rendering(View)->setHeight(height);
}

template <EView View>
void renderAntialias(COptionContext& c)
{
    int32_t antialias = c.reader.readInt();
    if (!kAntialiasLabels.hasLabel(antialias)) {
        Nuvora::fail(DocMsg::kOptionsError);
    }
    c.rendering(View)->setAntialias(antialias);
}

template <EView View>
void renderOutputType(COptionContext& c)
{
    int32_t type = c.reader.readInt();
    if (!kOutputTypeLabels.hasLabel(type)) {
        switch (View) {
        case COptionContext::ePanorama:
            Nuvora::fail(DocMsg::kVrOutputType);
        case COptionContext::eAnimation:
            Nuvora::fail(DocMsg::kAnimOutputType);
        case COptionContext::eViewObject:
            Nuvora::fail(DocMsg::kVrobjOutputType);
        default:
            Nuvora::fail(DocMsg::kOptionsError);
        }
    }
    c.rendering(View)->setOutputType(type);
}

template <EView View>
void renderOutput(COptionContext& c)
{
    c.names[View] = readTrimmedText(c.reader);
}

template <EView View>
void renderOutputFolder(COptionContext& c)
{
    c.folders[View] = readTrimmedText(c.reader);
}

template <EView View>
void renderCompression(COptionContext& c)
{
    CScnCompressionOpt* compression = c.compression(View);
    compression->setCodec(static_cast<uint32_t>(c.reader.readInt()));
    compression->setDepth(c.reader.readInt());
    compression->setSpatialQuality(c.reader.readInt());
    compression->setTemporalQuality(c.reader.readInt());
    compression->setFrameRate(c.reader.readReal());
    compression->setKeyFrameRate(c.reader.readInt());
}

void renderFirstLast(COptionContext& c)
{
    int32_t first = c.reader.readInt();
    int32_t last = c.reader.readInt();
    c.rendering(COptionContext::eAnimation)->setRenderFirst(first);
    c.rendering(COptionContext::eAnimation)->setRenderLast(last);
}

// ---- Background, atmosphere, ambient ----

void databaseFile(COptionContext& c)
{
    c.scene.setLegacyPath(readTrimmedText(c.reader));
}

void backMapping(COptionContext& c)
{
    int32_t type = c.reader.readInt();
    if (!kBackgroundImageLabels.hasLabel(type)) {
        Nuvora::fail(DocMsg::kIncompatibleBg);
    }
    c.scene.getBackground()->setImageType(type);
}

void backgroundMap(COptionContext& c)
{
    c.scene.getBackground()->setImage(LegacyValues::pathToUrl(readTrimmedText(c.reader)).c_str());
}

void backgroundUrl(COptionContext& c)
{
    c.scene.getBackground()->setImage(readTrimmedText(c.reader).c_str());
}

template <int32_t ImageType>
void backgroundPicture(COptionContext& c)
{
    backgroundMap(c);
    c.scene.getBackground()->setImageType(ImageType);
}

void metasphereAngle(COptionContext& c)
{
    if (c.reader.readReal() != 360.0) {
        Nuvora::fail(DocMsg::kMetasphereAngle);
    }
}

void metasphereOrigin(COptionContext& c)
{
    CScnVector origin = c.reader.readVector();
    c.scene.getBackground()->setOrigin(&origin);
}

template <void (CScnBackground::*Set)(const CScnColor*)>
void backgroundColor(COptionContext& c)
{
    CScnColor color = c.reader.readColor();
    (c.scene.getBackground()->*Set)(&color);
}

void backgroundUp(COptionContext& c)
{
    CScnVector up = LegacyValues::readDirection(c.reader);
    c.scene.getBackground()->setUpDirection(&up);
}

void backgroundPower(COptionContext& c)
{
    c.scene.getBackground()->setLinePower(c.reader.readReal());
}

void backgroundLevel(COptionContext& c)
{
    if (c.reader.readReal() != 0.0) {
        Nuvora::fail(DocMsg::kBgLevel);
    }
}

void atmosphereOn(COptionContext& c)
{
    c.scene.getAtmosphere()->setUsed(LegacyValues::readFlag(c.reader));
}

void atmosphereColor(COptionContext& c)
{
    CScnColor color = c.reader.readColor();
    c.scene.getAtmosphere()->setColor(&color);
}

template <void (CScnAtmosphere::*Set)(double)>
void atmosphereReal(COptionContext& c)
{
    (c.scene.getAtmosphere()->*Set)(c.reader.readReal());
}

void ambient(COptionContext& c)
{
    CScnColor color = c.reader.readSignedColor();
    c.scene.getAmbient()->setColor(&color);
    c.scene.getAmbient()->setUsed(true);
}

// ---- Heliodon and its study ----

CScnHeliodon* heliodon(COptionContext& c)
{
    TObjectMgr<CHeliodon, CScnHeliodon>& heliodons = c.scene.heliodons();
    return Nuvora::checkPointer(heliodons.size() > 0 ? heliodons.at(0) : heliodons.append(),
                                Msg::kNewCantAllocate);
}

void heliodonTime(COptionContext& c)
{
    int32_t day = c.reader.readInt();
    int32_t month = c.reader.readInt();
    int32_t hour = c.reader.readInt();
    int32_t minute = c.reader.readInt();
    CScnTime* time = heliodon(c)->getTime();
    time->setDay(day);
    time->setMonth(month);
    time->setHour(hour);
    time->setMinute(minute);
}

void heliodonPlace(COptionContext& c)
{
    int32_t longitude = c.reader.readInt();
    int32_t latitude = c.reader.readInt();
    int32_t zone = c.reader.readInt();
    CScnPlace* place = heliodon(c)->getPlace();
    place->setLongitude(longitude);
    place->setLatitude(latitude);
    place->setTimeZone(zone);
}

void filmType(COptionContext& c)
{
    int32_t type = c.reader.readInt();
    if (!kFrequencyTypeLabels.hasLabel(type)) {
        Nuvora::fail(DocMsg::kInvalidFilmType);
    }
    c.scene.getHeliodonOpt()->setFrequencyType(type);
}

template <int32_t Unit>
void studyFrequency(COptionContext& c)
{
    int32_t value = c.reader.readInt();
    c.scene.getHeliodonOpt()->setFrequencyUnit(Unit);
    c.scene.getHeliodonOpt()->setFrequencyValue(value);
}

template <int32_t Type>
void studyType(COptionContext& c)
{
    c.scene.getHeliodonOpt()->setFrequencyType(Type);
}

void studyWholeYear(COptionContext& c)
{
    c.scene.getHeliodonOpt()->setAllRange(LegacyValues::readFlag(c.reader));
}

void studyFrameRate(COptionContext& c)
{
    c.scene.getHeliodonOpt()->getCompressionOpt()->setFrameRate(c.reader.readReal());
}

void studyDuration(COptionContext& c)
{
    c.scene.getHeliodonOpt()->setMovieDuration(c.reader.readReal());
}

// Two integers into the start and the end time, or into both, through one time setter each.
template <void (CScnTime::*First)(int32_t), void (CScnTime::*Second)(int32_t)>
void studyBothTimes(COptionContext& c)
{
    int32_t first = c.reader.readInt();
    int32_t second = c.reader.readInt();
    CScnHeliodonOpt* study = c.scene.getHeliodonOpt();
    for (CScnTime* time : {study->getStartTime(), study->getEndTime()}) {
        (time->*First)(first);
        (time->*Second)(second);
    }
}

template <void (CScnTime::*Set)(int32_t)>
void studyPeriod(COptionContext& c)
{
    int32_t start = c.reader.readInt();
    int32_t end = c.reader.readInt();
    (c.scene.getHeliodonOpt()->getStartTime()->*Set)(start);
    (c.scene.getHeliodonOpt()->getEndTime()->*Set)(end);
}

// ---- Views, panoramas, camera path ----

CCamera* camera(COptionContext& c, bool append)
{
    TObjectMgr<CCamera, CScnCamera>& cameras = c.scene.cameras();
    return Nuvora::checkPointer(!append && cameras.size() > 0 ? cameras.at(0) : cameras.append(),
                                Msg::kNewCantAllocate);
}

void eye(COptionContext& c)
{
    CScnVector position = c.reader.readVector();
    camera(c, false)->setPosition(&position);
}

// "name" position target focal: the main view (view 0) or a further view.
template <bool Append>
void view(COptionContext& c)
{
    std::string name = c.reader.readUnicodeText();
    CScnVector position = c.reader.readVector();
    CScnVector target = c.reader.readVector();
    double focal = c.reader.readReal();
    CCamera* view = camera(c, Append);
    view->setName(name.c_str());
    view->setPosition(&position);
    view->setTarget(&target);
    view->setFocal(focal);
}

CScnPanorama& panorama(COptionContext& c)
{
    TObjectMgr<CScnPanorama, IScnPanorama>& panoramas = c.scene.panoramas();
    return *Nuvora::checkPointer(panoramas.size() > 0 ? panoramas.at(0) : panoramas.append(),
                                 Msg::kNewCantAllocate);
}

void panoramaNode(COptionContext& c)
{
    std::string name = c.reader.readUnicodeText();
    CScnVector position = c.reader.readVector();
    double direction = c.reader.readReal();
    double focal = c.reader.readReal();
    CVRPanorama* node = Nuvora::checkPointer(panorama(c).nodes().append(), Msg::kNewCantAllocate);
    node->setName(name.c_str());
    node->setPosition(&position);
    node->setDirection(direction);
    node->setFocal(focal);
}

void panoramaLink(COptionContext& c)
{
    int32_t first = c.reader.readInt();
    double firstDirection = c.reader.readReal();
    int32_t second = c.reader.readInt();
    double secondDirection = c.reader.readReal();
    CVRPanoLink* link = Nuvora::checkPointer(panorama(c).links().append(), Msg::kNewCantAllocate);
    link->getPano1()->setIndex(first);
    link->getPano1()->setDirection(firstDirection);
    link->getPano2()->setIndex(second);
    link->getPano2()->setDirection(secondDirection);
}

void viewObject(COptionContext& c)
{
    std::string name = c.reader.readUnicodeText();
    CScnVector center = c.reader.readVector();
    double radius = c.reader.readReal();
    double focal = c.reader.readReal();
    CViewObject* object = Nuvora::checkPointer(c.scene.viewObjects().append(), Msg::kNewCantAllocate);
    object->setName(name.c_str());
    object->setCenter(&center);
    object->setRadius(radius);
    object->setFocal(focal);
}

void cameraPath(COptionContext& c)
{
    TObjectMgr<CScnAnimation, IScnAnimation>& animations = c.scene.animations();
    CScnAnimation* animation =
        Nuvora::checkPointer(animations.size() > 0 ? animations.at(0) : animations.append(), Msg::kNewCantAllocate);
    TObjectMgr<CAnimation, IScnCameraPath>& paths = animation->cameraPaths();
    CAnimation* path = Nuvora::checkPointer(paths.size() > 0 ? paths.at(0) : paths.append(), Msg::kNewCantAllocate);
    CAnimationIO(&c.reader).read(*path);
}

constexpr EView kPersp = COptionContext::ePerspective;
constexpr EView kVr = COptionContext::ePanorama;
constexpr EView kAnim = COptionContext::eAnimation;
constexpr EView kVrObj = COptionContext::eViewObject;
constexpr EView kHelio = COptionContext::eHeliodonStudy;
using R = CScnRenderingOpt;

// Every option word with its reader, 123 in all.
const std::array<COptionEntry, 123> kOptions = {{
    {"-dbfile", &databaseFile},
    {"-eye", &eye},
    {"-motif", &backgroundPicture<kMotifImage>},
    {"-anim", &cameraPath},
    {"-backmapping", &backMapping},
    {"-bg_map", &backgroundMap},
    {"-bgmap", &backgroundMap},
    {"-bg_url", &backgroundUrl},
    {"-metasphere", &backgroundPicture<kSphereImage>},
    {"-metasphereangle", &metasphereAngle},
    {"-metasphereorigin", &metasphereOrigin},
    {"-bgtop", &backgroundColor<&CScnBackground::setColor>},
    {"-bgbot", &backgroundColor<&CScnBackground::setSecondColor>},
    {"-bgup", &backgroundUp},
    {"-bgpow", &backgroundPower},
    {"-bglevel", &backgroundLevel},
    {"-atm_on", &atmosphereOn},
    {"-atm_color", &atmosphereColor},
    {"-atm_dens_high", &atmosphereReal<&CScnAtmosphere::setHighDensity>},
    {"-atm_dens_midle", &atmosphereReal<&CScnAtmosphere::setMediumDensity>},
    {"-atm_dens_middle", &atmosphereReal<&CScnAtmosphere::setMediumDensity>},
    {"-atm_dens_low", &atmosphereReal<&CScnAtmosphere::setLowDensity>},
    {"-atm_scale", &atmosphereReal<&CScnAtmosphere::setScale>},
    {"-atm_mini", &atmosphereReal<&CScnAtmosphere::setMinDistance>},
    {"-atm_maxi", &atmosphereReal<&CScnAtmosphere::setMaxDistance>},
    {"-atm_noise", &atmosphereReal<&CScnAtmosphere::setNoise>},
    {"-ambiant", &ambient},
    {"-ambient", &ambient},
    {"-heliodon_h", &heliodonTime},
    {"-heliodon_pt", &heliodonPlace},
    {"-heliodon_es", &filmType},
    {"-helio_ss_output", &renderOutput<kHelio>},
    {"-helio_ss_output_folder", &renderOutputFolder<kHelio>},
    {"-helio_ss_output_type", &renderOutputType<kHelio>},
    {"-helio_ss_size", &renderSize<kHelio>},
    {"-helio_ss_antialias", &renderAntialias<kHelio>},
    {"-helio_ss_reflex", &renderCount<kHelio, &R::setNbReflection>},
    {"-helio_ss_refrac", &renderCount<kHelio, &R::setNbRefraction>},
    {"-helio_ss_shadows", &renderFlag<kHelio, &R::setShadow>},
    {"-helio_ss_transparency", &renderFlag<kHelio, &R::setTransparency>},
    {"-heliodon_ss_render_all", &renderFlag<kHelio, &R::setRenderAll>},
    {"-helio_ss_compression", &renderCompression<kHelio>},
    {"-helio_ss_fframe_rate", &studyFrameRate},
    {"-helio_ss_freq_hr", &studyFrequency<kUnitHours>},
    {"-helio_ss_freq_min", &studyFrequency<kUnitMinutes>},
    {"-helio_ss_freq_day", &studyFrequency<kUnitDays>},
    {"-helio_ss_freq_mth", &studyFrequency<kUnitMonths>},
    {"-helio_ss_typ_freq_yr", &studyType<kYearlyStudy>},
    {"-helio_ss_typ_freq_day", &studyType<kDailyStudy>},
    {"-helio_ss_in_year", &studyWholeYear},
    {"-helio_ss_this_hr", &studyBothTimes<&CScnTime::setHour, &CScnTime::setMinute>},
    {"-helio_ss_this_day", &studyBothTimes<&CScnTime::setDay, &CScnTime::setMonth>},
    {"-helio_ss_duree_img", &studyDuration},
    {"-helio_ss_mth_period", &studyPeriod<&CScnTime::setMonth>},
    {"-helio_ss_hr_period", &studyPeriod<&CScnTime::setHour>},
    {"-acam", &view<true>},
    {"-mpov", &view<false>},
    {"-pano", &panoramaNode},
    {"-link", &panoramaLink},
    {"-raytracing", &renderFlag<kPersp, &R::setRaytracing>},
    {"-shadows", &renderFlag<kPersp, &R::setShadow>},
    {"-transparency", &renderFlag<kPersp, &R::setTransparency>},
    {"-render_all", &renderFlag<kPersp, &R::setRenderAll>},
    {"-reflex", &renderCount<kPersp, &R::setNbReflection>},
    {"-refrac", &renderCount<kPersp, &R::setNbRefraction>},
    {"-resolution", &renderCount<kPersp, &R::setImageResolution>},
    {"-render_size", &renderSize<kPersp>},
    {"-render_output", &renderOutput<kPersp>},
    {"-output", &renderOutput<kPersp>},
    {"-render_output_type", &renderOutputType<kPersp>},
    {"-render_output_folder", &renderOutputFolder<kPersp>},
    {"-antialias", &renderAntialias<kPersp>},
    {"-render_antialias", &renderAntialias<kPersp>},
    {"-render_raytracing", &renderFlag<kPersp, &R::setRaytracing>},
    {"-render_shadows", &renderFlag<kPersp, &R::setShadow>},
    {"-render_transparency", &renderFlag<kPersp, &R::setTransparency>},
    {"-render_render_all", &renderFlag<kPersp, &R::setRenderAll>},
    {"-render_reflex", &renderCount<kPersp, &R::setNbReflection>},
    {"-render_refrac", &renderCount<kPersp, &R::setNbRefraction>},
    {"-render_alpha", &renderFlag<kPersp, &R::setAlpha>},
    {"-render_compression", &renderCompression<kPersp>},
    {"-vr_raytracing", &renderFlag<kVr, &R::setRaytracing>},
    {"-vr_shadows", &renderFlag<kVr, &R::setShadow>},
    {"-vr_transparency", &renderFlag<kVr, &R::setTransparency>},
    {"-vr_render_all", &renderFlag<kVr, &R::setRenderAll>},
    {"-vr_reflex", &renderCount<kVr, &R::setNbReflection>},
    {"-vr_refrac", &renderCount<kVr, &R::setNbRefraction>},
    {"-vr_size", &renderSize<kVr>},
    {"-vr_output", &renderOutput<kVr>},
    {"-vr_output_type", &renderOutputType<kVr>},
    {"-vr_output_folder", &renderOutputFolder<kVr>},
    {"-vr_antialias", &renderAntialias<kVr>},
    {"-vr_alpha", &renderFlag<kVr, &R::setAlpha>},
    {"-vr_compression", &renderCompression<kVr>},
    {"-vr_resolution", &renderCount<kVr, &R::setPanoramaResolution>},
    {"-anim_raytracing", &renderFlag<kAnim, &R::setRaytracing>},
    {"-anim_shadows", &renderFlag<kAnim, &R::setShadow>},
    {"-anim_transparency", &renderFlag<kAnim, &R::setTransparency>},
    {"-anim_render_all", &renderFlag<kAnim, &R::setRenderAll>},
    {"-anim_reflex", &renderCount<kAnim, &R::setNbReflection>},
    {"-anim_refrac", &renderCount<kAnim, &R::setNbRefraction>},
    {"-anim_size", &renderSize<kAnim>},
    {"-anim_output", &renderOutput<kAnim>},
    {"-anim_output_type", &renderOutputType<kAnim>},
    {"-anim_output_folder", &renderOutputFolder<kAnim>},
    {"-anim_antialias", &renderAntialias<kAnim>},
    {"-anim_alpha", &renderFlag<kAnim, &R::setAlpha>},
    {"-anim_compression", &renderCompression<kAnim>},
    {"-anim_first_last", &renderFirstLast},
    {"-vrobj_output", &renderOutput<kVrObj>},
    {"-vrobj_output_folder", &renderOutputFolder<kVrObj>},
    {"-vrobj_output_type", &renderOutputType<kVrObj>},
    {"-vrobj_size", &renderSize<kVrObj>},
    {"-vrobj_antialias", &renderAntialias<kVrObj>},
    {"-vrobj_raytracing", &renderFlag<kVrObj, &R::setRaytracing>},
    {"-vrobj_shadows", &renderFlag<kVrObj, &R::setShadow>},
    {"-vrobj_alpha", &renderFlag<kVrObj, &R::setAlpha>},
    {"-vrobj_transparency", &renderFlag<kVrObj, &R::setTransparency>},
    {"-vrobj_render_all", &renderFlag<kVrObj, &R::setRenderAll>},
    {"-vrobj_reflex", &renderCount<kVrObj, &R::setNbReflection>},
    {"-vrobj_refrac", &renderCount<kVrObj, &R::setNbRefraction>},
    {"-vrobj_compression", &renderCompression<kVrObj>},
    {"-view_object", &viewObject},
}};

const COptionEntry* findOption(const std::string& word)
{
    for (const COptionEntry& entry : kOptions) {
        if (word == entry.word) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

bool isLegacyOptionWord(const std::string& word)
{
    return findOption(word) != nullptr;
}

void COPTIO::readOptions()
{
    COptionContext context(mScene, mReader);
    while (mReader.getToken().type != eTokenEnd) {
        const CToken& token = mReader.getToken();
        if (token.type != eTokenOption) {
            Nuvora::fail(DocMsg::kOptionsError);
        }
        const COptionEntry* option = findOption(token.text);
        if (option == nullptr) {
            Nuvora::fail(DocMsg::kUnrecognizedToken);
        }
        option->handler(context);
        mReader.nextToken();
    }
    context.applyOutputs();
}

}  // namespace NvScn
