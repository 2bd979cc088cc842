// The scene's document: the skeleton of a new scene, the save, the load with the upgrades of old
// documents, and the document operations of the manager (display names of an object file,
// comments, save URL, application data).
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "document/DataProviders.h"
#include "document/DocumentMessages.h"
#include "document/FileReaders.h"
#include "document/HeaderParsers.h"
#include "document/ImageBlocks.h"
#include "document/LegacyScene.h"
#include "document/PIText.h"
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Guard.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "xml/XMLNodes.h"
#include "xml/XMLStreams.h"
#include "xml/XMLTreeReader.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;
using NuvoraXML::XIXMLNode;
using NuvoraXML::XIXMLPI;

namespace {

constexpr const char* kXmlTarget = "xml";
constexpr const char* kXmlDeclaration = "version=\"1.0\" encoding=\"UTF-8\"";
constexpr const char* kLibraryTarget = "Scn";
constexpr const char* kNewLibraryText = "library=\"2.01\" file=\"5.0\"";
constexpr const char* kApplicationTarget = "Application";
constexpr const char* kFileElement = "Scn.File";
constexpr const char* kPreviewImage = "Preview.Image";
constexpr const char* kImages = "Images";
constexpr const char* kImage = "Image";
constexpr const char* kPoints = "Points";
constexpr const char* kPolygons = "Polygons";
constexpr const char* kSaveUrl = "Save.Url";
constexpr const char* kApplicationData = "Application.Data";
// The product names that an "Application" PI of the product's own documents begins with.
constexpr const char* kProductNames[] = {"name=\"Kes\xE2\x80\xA2trovin\"", "name=\"Kestrovin\""};

const CScnVersion kLegacyLimit = PIText::makeVersion(2, 0, 0);
const CScnVersion kScenarioLimit = PIText::makeVersion(2, 0, 2);

// Sends a report from a catch handler: a feedback that throws there cannot be told any more.
void reportSafely(CSCN& scene, const char* text) noexcept
{
    try {
        scene.warning(text);
    } catch (...) {
    }
}

// The text of the "Application" PI (the writer keeps a "?>" inside it from ending the instruction).
std::string applicationText(const std::string& name, const std::string& version)
{
    return "name=\"" + name + "\" version=\"" + version + "\"";
}

// True for a non-empty tag that reads back as one element name: one without blanks, markup
// characters or quotes (any such tag would be written as a start tag no reader accepts).
bool isElementName(const char* tag)
{
    return tag != nullptr && *tag != '\0' && std::strpbrk(tag, " \t\n\r!*+/=>?<&\"'") == nullptr;
}

XIXMLElement* findOrAddChild(XIXMLElement* parent, const char* name)
{
    XIXMLElement* child = XmlForm::findChild(parent, name);
    return child != nullptr ? child : XmlForm::addChild(parent, name);
}

// Moves node just before the first child of parent named before, when there is one.
void moveBefore(XIXMLElement* parent, XIXMLNode* node, const char* before)
{
    if (XIXMLElement* next = XmlForm::findChild(parent, before)) {
        parent->MoveNode(node, next->AsNode());
    }
}

// The root of the scene's document; fails with "mTree is NULL" without one.
XIXMLElement* documentRoot(NuvoraXML::XCXMLTree* document)
{
    return Nuvora::checkPointer(document, DocMsg::kNoTree)->GetRoot();
}

// The index-th top-level comment, or null; count receives the number of comments seen.
NuvoraXML::XIXMLComment* findComment(XIXMLElement* root, int32_t index, int32_t& count)
{
    count = 0;
    for (XIXMLNode* node = root->GetFirstChild(); node != nullptr; node = node->GetNext()) {
        if (NuvoraXML::XIXMLComment* comment = node->AsComment()) {
            if (count++ == index) {
                return comment;
            }
        }
    }
    return nullptr;
}

void attachImageProvider(CSCN& scene, XIXMLElement* element, IScnImage* image)
{
    attachDataObject(element, CDataObjectPtr(newImageProvider(&scene, image)));
}

// When the scene's own tables hold geometry (always without definitions), only the top-level
// "Points" and "Polygons" blocks save it: a loaded document that lacks them gets them where a new
// document has them, after "Images".
void addMissingGeometryBlocks(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* anchor = XmlForm::findChild(file, kImages);
    for (const char* name : {kPoints, kPolygons}) {
        XIXMLElement* block = XmlForm::findChild(file, name);
        if (block == nullptr) {
            block = XmlForm::addChild(file, name);
            attachDataObject(block, name == kPoints ? CDataObjectPtr(new CPointsProvider(&scene))
                                                    : CDataObjectPtr(new CPolygonsProvider(&scene)));
            XIXMLNode* next = anchor != nullptr ? anchor->AsNode()->GetNext() : nullptr;
            if (next != nullptr && next != block->AsNode()) {
                file->MoveNode(block->AsNode(), next);
            }
        }
        anchor = block;
    }
}

}  // namespace

// ---- The skeleton ----

void CSCN::buildDocument()
{
    mDocument.reset();
    mFileNode = nullptr;
    mApplicationPI = nullptr;
    mLibraryPI = nullptr;
    auto tree = std::make_unique<NuvoraXML::XCXMLTree>();
    XIXMLElement* root = tree->GetRoot();
    root->AddPI(kXmlTarget, kXmlDeclaration);
    XIXMLPI* library = root->AddPI(kLibraryTarget, kNewLibraryText);
    XIXMLPI* application =
        root->AddPI(kApplicationTarget, applicationText(mApplicationName, mApplicationVersion).c_str());
    XIXMLElement* file = XmlForm::addChild(root, kFileElement);
    attachImageProvider(*this, XmlForm::addChild(file, kPreviewImage), &mPreviewImage);
    XmlForm::addChild(file, kImages);
    attachDataObject(XmlForm::addChild(file, kPoints), CDataObjectPtr(new CPointsProvider(this)));
    attachDataObject(XmlForm::addChild(file, kPolygons), CDataObjectPtr(new CPolygonsProvider(this)));
    mDocument = std::move(tree);
    mFileNode = file;
    mLibraryPI = library;
    mApplicationPI = application;
}

void CSCN::findDocumentNodes()
{
    XIXMLElement* root = mDocument->GetRoot();
    mFileNode = XmlForm::findChild(root, kFileElement);
    mApplicationPI = nullptr;
    mLibraryPI = nullptr;
    for (XIXMLNode* node = root->GetFirstChild(); node != nullptr; node = node->GetNext()) {
        XIXMLPI* pi = node->AsPI();
        if (pi == nullptr) {
            continue;
        }
        if (mApplicationPI == nullptr && std::strcmp(pi->GetTarget(), kApplicationTarget) == 0) {
            mApplicationPI = pi;
        } else if (mLibraryPI == nullptr && std::strcmp(pi->GetTarget(), kLibraryTarget) == 0) {
            mLibraryPI = pi;
        }
        if (mApplicationPI != nullptr && mLibraryPI != nullptr) {
            break;
        }
    }
}

bool CSCN::isKestrovinFile(XIXMLNode* node)
{
    Nuvora::checkPointer(node, DocMsg::kIsKestrovinNullNode);
    while (XIXMLElement* parent = node->GetParent()) {
        node = parent->AsNode();
    }
    XIXMLElement* root = node->AsElement();
    for (XIXMLNode* child = root != nullptr ? root->GetFirstChild() : nullptr; child != nullptr;
         child = child->GetNext()) {
        XIXMLPI* pi = child->AsPI();
        if (pi == nullptr || std::strcmp(pi->GetTarget(), kApplicationTarget) != 0) {
            continue;
        }
        const char* text = pi->GetData() != nullptr ? pi->GetData() : "";
        for (const char* name : kProductNames) {
            if (std::strncmp(text, name, std::strlen(name)) == 0) {
                return true;
            }
        }
        return false;
    }
    return false;
}

// ---- Save ----

int32_t CSCN::write(CScnStream* stream)
{
    return write(stream, nullptr);
}

int32_t CSCN::write(CScnStream* stream, const CScnVersion* minimumVersion)
{
    try {
        writeDocument(stream, minimumVersion);
        return 0;
    } catch (const std::exception& error) {
        std::string text;
        try {
            text = std::string(DocMsg::kWriteErrorBegin) + error.what() + DocMsg::kWriteErrorEnd;
        } catch (...) {
        }
        reportSafely(*this, text.empty() ? DocMsg::kWriteUnknown : text.c_str());
    } catch (...) {
        reportSafely(*this, DocMsg::kWriteUnknown);
    }
    return 2;
}

void CSCN::writeDocument(CScnStream* stream, const CScnVersion* minimumVersion)
{
    Nuvora::checkPointer(stream, DocMsg::kNoStream);
    Nuvora::checkPointer(mDocument.get(), DocMsg::kNoTree);
    XIXMLElement* file = Nuvora::checkPointer(mFileNode, DocMsg::kNoFileNode);
    rebuildImages();
    XmlForm::removeChildren(file, Sections::kOldHeliodon);
    XmlForm::removeChildren(file, kImage);
    Sections::writeFileInfo(*this, file);
    Sections::writeInternalComponents(*this, file);
    Sections::writePreview(*this, file);
    Sections::writeHeliodons(*this, file);
    Sections::writeHeliodonOptions(*this, file);
    Sections::writeAmbient(*this, file);
    Sections::writeAtmosphere(*this, file);
    Sections::writeBackground(*this, file);
    Sections::writeProperties(*this, file);
    Sections::writeBillboards(*this, file);
    Sections::writeLights(*this, file);
    Sections::writeLightsGroups(*this, file);
    Sections::writePerspectiveViews(*this, file);
    Sections::writeParallelViews(*this, file);
    Sections::writePanoramas(*this, file);
    Sections::writePanoramaOptions(*this, file);
    Sections::writeAnimations(*this, file);
    Sections::writeAnimationOptions(*this, file);
    Sections::writeViewObjects(*this, file);
    Sections::writeWorkingWindow(*this, file);
    Sections::writeObjectDefinitions(*this, file);
    Sections::writeObjectInstances(*this, file);
    Sections::writeScenarios(*this, file);
    Sections::write3DPaths(*this, file);
    Sections::writeGrounds(*this, file);
    Sections::writeLayers(*this, file);
    Sections::writeLayersInfo(*this, file);
    XmlForm::removeChildren(file, "Current.Id");
    setProcessingInstructions(minimumVersion);
    NuvoraXML::CSCNXMLWriteStream output(stream);
    mDocument->GetRoot()->Write(&output);
}

void CSCN::rebuildImages()
{
    XmlForm::removeChildren(mFileNode, kImages);
    XIXMLElement* images = XmlForm::addChild(mFileNode, kImages);
    moveBefore(mFileNode, images->AsNode(), Sections::kInternalComponents);
    for (size_t i = 0; i < mImages.size(); ++i) {
        CScnImage* image = mImages.at(i);
        XIXMLElement* item = XmlForm::addChild(images, kImage);
        XmlForm::writeUuid(item, "UUID", *image->getUUID());
        attachImageProvider(*this, item, image);
    }
}

void CSCN::setProcessingInstructions(const CScnVersion* minimumVersion)
{
    if (mApplicationPI != nullptr) {
        mApplicationPI->SetData(applicationText(mApplicationName, mApplicationVersion).c_str());
    }
    if (mLibraryPI == nullptr) {
        return;
    }
    CScnVersion library = PIText::kCurrentVersion;
    CScnVersion minimum = minimumVersion != nullptr ? *minimumVersion : PIText::kDefaultMinimumVersion;
    PIText::formatVersion(library);
    PIText::formatVersion(minimum);
    std::string text = std::string("library=\"") + library.text + "\" file=\"5.0\" min_version=\"" +
                       minimum.text + "\" safe_version=\"" + minimum.text + "\"";
    mLibraryPI->SetData(text.c_str());
}

// ---- Load ----

int32_t CSCN::read(CScnStream* stream)
{
    try {
        Nuvora::checkPointer(stream, DocMsg::kNoStream);
        int64_t start = stream->getPosition();
        char first = 0;
        int32_t got = stream->read(&first, 1);
        stream->setPosition(start);
        if (got == 1 && first == '<') {
            readDocument(stream);
        } else {
            mLegacyFile = true;
            readLegacyScene(*this, stream);
        }
        mLegacyFile = false;
        return 0;
    } catch (const std::exception& error) {
        mLegacyFile = false;
        reportSafely(*this, error.what());
    } catch (...) {
        mLegacyFile = false;
        reportSafely(*this, DocMsg::kUnknownReadingError);
    }
    return 1;
}

void CSCN::readDocument(CScnStream* stream)
{
    int64_t start = stream->getPosition();
    CCheckSCNFile header;
    {
        NuvoraXML::CSCNXMLReadStream input(stream);
        header.Parse(&input);
    }
    if (header.getLibraryVersion().major == 0) {
        Nuvora::fail(DocMsg::kNotValidScn);
    }
    stream->setPosition(start);
    mFileFormatMajor = header.getFileMajor();
    mFileFormatMinor = header.getFileMinor();
    mFileVersion = header.getLibraryVersion();
    mLegacyFile = PIText::versionLess(mFileVersion, kLegacyLimit);
    mOlderThan202 = PIText::versionLess(mFileVersion, kScenarioLimit);

    // The blocks are decoded into the scene while the stream is parsed, so the scene's geometry
    // and images go first; without a tree of its own to fall back on, a scene whose parse fails
    // gets an empty document, never one whose data objects refer to objects that are gone.
    emptyGeometryAndImages();
    std::unique_ptr<NuvoraXML::XCXMLTree> tree;
    try {
        NuvoraXML::CSCNXMLReadStream input(stream);
        NuvoraXML::CXMLTreeReader reader(this);
        tree.reset(reader.Read(&input));
    } catch (...) {
        buildDocument();
        throw;
    }
    mDocument = std::move(tree);
    findDocumentNodes();
    XIXMLElement* file = Nuvora::checkPointer(mFileNode, DocMsg::kNoFileNode);

    if (mLegacyFile) {
        XmlForm::removeChildren(file, "Materials");
        XmlForm::removeChildren(file, "Lights");
        XmlForm::removeChildren(file, "Options");
    }
    readSections();
    if (mLegacyFile && !isKestrovinFile(file->AsNode())) {
        Sections::convertOldSun(*this);
    }
    if (XmlForm::findChild(file, kImages) == nullptr) {
        XIXMLElement* images = XmlForm::addChild(file, kImages);
        file->MoveNode(images->AsNode(), file->GetFirstChild());
    }
    if (XmlForm::findChild(file, kPreviewImage) == nullptr) {
        XIXMLElement* preview = XmlForm::addChild(file, kPreviewImage);
        moveBefore(file, preview->AsNode(), kImages);
        attachImageProvider(*this, preview, &mPreviewImage);
    }
    if (PIText::versionLess(mFileVersion, PIText::kDefaultMinimumVersion)) {
        upgradeToComponents();
    }
    // With components the geometry lives in the definitions and the document's own blocks go,
    // unless they brought geometry into the scene's tables: dropping them then would lose it at
    // the next save.
    if (mInternalComponents->size() > 0 && mPoints->size() == 0 && mPolygons->size() == 0) {
        removeGeometry();
    } else {
        addMissingGeometryBlocks(*this, file);
    }
}

void CSCN::emptyGeometryAndImages()
{
    mPoints->clear();
    mPolygons->clear();
    mInternalComponents->clear();
    mImages.clear();
    mPreviewImage.setPixels(0, 0, nullptr);
}

void CSCN::readSections()
{
    XIXMLElement* file = mFileNode;
    Sections::readFileInfo(*this, file);
    Sections::readInternalComponents(*this, file);
    Sections::readPreview(*this, file);
    if (XmlForm::findChild(file, kImage) != nullptr) {
        Sections::readOldImage(*this, file);
    } else {
        Sections::readPerspectiveViews(*this, file);
    }
    if (XmlForm::findChild(file, Sections::kOldHeliodon) != nullptr) {
        Sections::readOldHeliodon(*this, file);
    } else {
        Sections::readHeliodons(*this, file);
    }
    // The study options sit in "Heliodons", or in the old single "Heliodon".
    Sections::readHeliodonOptions(*this, file);
    Sections::readParallelViews(*this, file);
    Sections::readPanoramas(*this, file);
    Sections::readPanoramaOptions(*this, file);
    Sections::readAnimations(*this, file);
    Sections::readAnimationOptions(*this, file);
    Sections::readViewObjects(*this, file);
    Sections::readBillboards(*this, file);
    if (XmlForm::findChild(file, CAmbiance::kElementName) != nullptr) {
        Sections::readAmbient(*this, file);
        Sections::readAtmosphere(*this, file);
        Sections::readBackground(*this, file);
        Sections::readProperties(*this, file);
        Sections::readLights(*this, file);
        Sections::readLightsGroups(*this, file);
        XmlForm::requireChild(file, Sections::kWorkingWindow);
        Sections::readWorkingWindow(*this, file);
    }
    Sections::readInsertionObject(*this, file);
    Sections::readObjectDefinitions(*this, file);
    Sections::readObjectInstances(*this, file);
    if (mOlderThan202) {
        XmlForm::removeChildren(file, Sections::kScenarios);
    } else {
        Sections::readScenarios(*this, file);
        Sections::read3DPaths(*this, file);
    }
    Sections::readGrounds(*this, file);
    Sections::readLayers(*this, file);
    Sections::readLayersInfo(*this, file);
}

void CSCN::upgradeToComponents()
{
    if (mInternalComponents->size() == 0) {
        // The document's own geometry becomes the geometry of the model's component: without this
        // the top-level blocks, deleted below, would take it with them.
        CScnInternalComponentDefinition* model =
            Nuvora::checkPointer(mInternalComponents->append(), Msg::kNewCantAllocate);
        model->swapGeometry(mPoints, mPolygons);
    }
    const CScnUUID& component = mInternalComponents->at(0)->uuid();
    if (mObjectInstances.size() == 0) {
        CScnObjectInstance* instance = mObjectInstances.append();
        if (instance == nullptr) {
            Nuvora::fail(DocMsg::kCantCreateModelInstance);
        }
        instance->setName(DocMsg::kModelObjectName);
        instance->setAttachedObject(&component);
        return;
    }
    CScnObjectInstance* first = mObjectInstances.at(0);
    if (isNullUuid(*first->getAttachedObject())) {
        first->setAttachedObject(&component);
    }
}

void CSCN::readDataBlocks(CScnStream* stream, CScnExtStorage* storage)
{
    CScnExtStorage* kept = mStorage;
    mStorage = storage;
    mReadingDataBlocks = true;
    try {
        Nuvora::checkPointer(stream, DocMsg::kNoStream);
        NuvoraXML::CSCNXMLReadStream input(stream);
        NuvoraXML::CXMLTreeReader reader(this);
        std::unique_ptr<NuvoraXML::XCXMLTree> parsed(reader.Read(&input));
    } catch (const std::exception& error) {
        reportSafely(*this, error.what());
    } catch (...) {
        reportSafely(*this, DocMsg::kUnknownReadingError);
    }
    mReadingDataBlocks = false;
    mStorage = kept;
}

void CSCN::removeGeometry()
{
    guardedVoid(this, "CScnMgr::removeGeometry", [&] {
        if (mFileNode != nullptr) {
            XmlForm::removeChildren(mFileNode, kPoints);
            XmlForm::removeChildren(mFileNode, kPolygons);
        }
    });
}

// ---- Display names of an object file ----

void* CSCN::readMediaInfo(CScnStream* stream)
{
    guardedVoid(this, "CScnMgr::readMediaInfo", [&] { readScnMediaInfo(*this, stream); });
    return nullptr;
}

// ---- Comments, save URL, application data ----

const char* CSCN::getComment(int32_t index)
{
    return guarded(this, DocMsg::kGetComment, static_cast<const char*>(nullptr), [&]() -> const char* {
        int32_t count = 0;
        NuvoraXML::XIXMLComment* comment = findComment(documentRoot(mDocument.get()), index, count);
        return comment != nullptr ? comment->GetText() : nullptr;
    });
}

int32_t CSCN::setComment(const char* text, int32_t index)
{
    return guarded(this, DocMsg::kSetComment, -1, [&]() -> int32_t {
        XIXMLElement* root = documentRoot(mDocument.get());
        int32_t count = 0;
        if (NuvoraXML::XIXMLComment* comment = findComment(root, index, count)) {
            if (text != nullptr) {
                comment->SetText(text);
            } else {
                comment->AsNode()->Delete();
            }
            return index;
        }
        if (text == nullptr) {
            return -1;
        }
        XIXMLNode* added = root->AddComment(text)->AsNode();
        if (mFileNode != nullptr) {
            root->MoveNode(added, mFileNode->AsNode());
        }
        return count;
    });
}

const char* CSCN::getURL()
{
    return guarded(this, DocMsg::kGetUrl, "", [&]() -> const char* {
        XIXMLElement* url = XmlForm::findChild(Nuvora::checkPointer(mFileNode, DocMsg::kNoFileNode), kSaveUrl);
        NuvoraXML::XIXMLData* data = url != nullptr ? url->GetData() : nullptr;
        const char* text = data != nullptr ? data->GetText() : nullptr;
        return text != nullptr ? text : "";
    });
}

void CSCN::setURL(const char* url)
{
    guardedVoid(this, DocMsg::kSetUrl, [&] {
        XIXMLElement* element = findOrAddChild(Nuvora::checkPointer(mFileNode, DocMsg::kNoFileNode), kSaveUrl);
        const char* text = url != nullptr ? url : "";
        if (NuvoraXML::XIXMLData* data = element->GetData()) {
            data->SetText(text);
        } else {
            element->AddData(text);
        }
    });
}

XIXMLElement* CSCN::getApplicationData(const char* tag)
{
    return guarded(this, DocMsg::kGetApplicationData, static_cast<XIXMLElement*>(nullptr), [&] {
        Nuvora::check(isElementName(tag), DocMsg::kInvalidApplicationTag);
        XIXMLElement* file = Nuvora::checkPointer(mFileNode, DocMsg::kNoFileNode);
        return findOrAddChild(findOrAddChild(file, kApplicationData), tag);
    });
}

}  // namespace NvScn
