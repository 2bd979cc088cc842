#include "test_document_support.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <memory>

#include "model/Uuid.h"
#include "support/XmlSupport.h"

namespace ScnTest {

using namespace NvScn;

namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::string libxml2Problem(const std::string& document)
{
    std::string checked = document;
    replaceAll(checked, "<3D.Paths", "<_3D.Paths");
    replaceAll(checked, "</3D.Paths", "</_3D.Paths");
    replaceAll(checked, " 3DPlant=", " _3DPlant=");
    xmlResetLastError();
    xmlDocPtr parsed = xmlReadMemory(checked.data(), static_cast<int>(checked.size()), "scene.scn", nullptr,
                                     XML_PARSE_HUGE | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::string problem;
    if (parsed == nullptr) {
        const xmlError* error = xmlGetLastError();
        problem = error != nullptr && error->message != nullptr ? error->message : "not parsed";
    }
    xmlFreeDoc(parsed);
    return problem;
}

TestScene::TestScene(CScnExtStorage* storage) : manager(CScnMgr::create(&feedback, storage)) {}

TestScene::~TestScene()
{
    manager->release();
}

std::string TestScene::save(const CScnVersion* minimum)
{
    MemoryStream stream;
    EXPECT_EQ(manager->write(&stream, minimum), 0) << warningsOf(feedback.warnings);
    EXPECT_EQ(libxml2Problem(stream.bytes()), "");
    return stream.bytes();
}

int32_t TestScene::load(const std::string& bytes)
{
    MemoryStream stream(bytes);
    return manager->read(&stream);
}

std::vector<std::string> fileChildren(const std::string& document)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = parseDocument(document);
    std::vector<std::string> names;
    NuvoraXML::XIXMLElement* file = documentElement(*tree);
    for (NuvoraXML::XIXMLElement* child = file->GetFirstElement(); child != nullptr;
         child = child->GetNextElement()) {
        names.emplace_back(child->GetName());
    }
    return names;
}

std::string sceneDocument(const std::string& libraryText, const std::string& body, const std::string& creator)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?Scn " + libraryText + "?>\n<?Application name=\"" +
           creator + "\" version=\"1\"?>\n<Scn.File>" + body + "</Scn.File>\n";
}

std::string dottedLibrary(const std::string& version)
{
    return "library=\"" + version + "\" file=\"5.0\" min_version=\"3.0.1\" safe_version=\"3.0.1\"";
}

bool ComponentStorage::record(CScnMgr* manager, const std::string& call)
{
    calls.push_back(call);
    managers.push_back(manager);
    return call != refuse;
}

bool ComponentStorage::setCurrentInternalComponentInstance(CScnMgr* manager, const CScnUUID* component,
                                                           int32_t level)
{
    current = uuidText(*component);
    return record(manager, "select " + current + " " + std::to_string(level));
}

void ComponentStorage::setNbPoints(CScnMgr* manager, int32_t count)
{
    record(manager, "setNbPoints " + std::to_string(count));
}

bool ComponentStorage::addPoint(CScnMgr* manager, const CScnVector* point, int32_t index)
{
    components[current].points.push_back(*point);
    return record(manager, "addPoint " + std::to_string(index));
}

void ComponentStorage::setNbPolygons(CScnMgr* manager, int32_t count)
{
    record(manager, "setNbPolygons " + std::to_string(count));
}

bool ComponentStorage::addPolygon(CScnMgr* manager, const CScnPolygon* polygon, int32_t index)
{
    components[current].polygons.push_back(RecordingStorage::copy(*static_cast<const CPolygon*>(polygon)));
    return record(manager, "addPolygon " + std::to_string(index));
}

int32_t ComponentStorage::getNbPoints(CScnMgr* manager)
{
    record(manager, "getNbPoints");
    return static_cast<int32_t>(components[current].points.size());
}

bool ComponentStorage::fillPoint(CScnMgr* manager, CScnVector* point, int32_t index)
{
    *point = components[current].points.at(static_cast<size_t>(index));
    return record(manager, "fillPoint " + std::to_string(index));
}

int32_t ComponentStorage::getNbPolygons(CScnMgr* manager)
{
    record(manager, "getNbPolygons");
    return static_cast<int32_t>(components[current].polygons.size());
}

bool ComponentStorage::fillPolygon(CScnMgr* manager, CScnPolygon* polygon, int32_t index)
{
    RecordingStorage::apply(components[current].polygons.at(static_cast<size_t>(index)),
                            *static_cast<CPolygon*>(polygon));
    return record(manager, "fillPolygon " + std::to_string(index));
}

std::string uuidText(const CScnUUID& uuid)
{
    char text[kUuidTextLength + 1];
    NvScn::uuidToText(uuid, text);
    return text;
}

CScnUUID filledUuid(uint8_t value)
{
    CScnUUID uuid;
    for (uint8_t& byte : uuid.bytes) {
        byte = value;
    }
    return uuid;
}

void fillGeometry(TScnObjectMgr<CScnVector>* points, TScnObjectMgr<CScnPolygon>* polygons,
                  const Geometry& geometry)
{
    for (const CScnVector& point : geometry.points) {
        *points->newScnObject(kScnLastIndex) = point;
    }
    for (const RecordingStorage::Polygon& source : geometry.polygons) {
        CScnPolygon* polygon = polygons->newScnObject(kScnLastIndex);
        polygon->setSmoothed(source.smoothed);
        polygon->setPropertyIndex(source.material);
        for (size_t loop = 0; loop < source.loops.size(); ++loop) {
            TScnObjectMgr<CScnVertex>* vertices =
                loop == 0 ? polygon->getVertices() : polygon->getHoles()->newScnObject(kScnLastIndex)->getVertices();
            for (const CScnVertex& vertex : source.loops[loop]) {
                *vertices->newScnObject(kScnLastIndex) = vertex;
            }
        }
    }
}

std::string describeGeometry(const Geometry& geometry)
{
    std::string text;
    for (const CScnVector& point : geometry.points) {
        text += describe(point) + " ";
    }
    for (const RecordingStorage::Polygon& polygon : geometry.polygons) {
        text += "{" + describe(polygon) + "} ";
    }
    return text;
}

std::string describeGeometry(TScnObjectMgr<CScnVector>* points, TScnObjectMgr<CScnPolygon>* polygons)
{
    Geometry geometry;
    for (int32_t i = 0; i < points->getNbObjects(); ++i) {
        geometry.points.push_back(*points->getScnObject(static_cast<uint32_t>(i)));
    }
    for (int32_t i = 0; i < polygons->getNbObjects(); ++i) {
        geometry.polygons.push_back(
            RecordingStorage::copy(*static_cast<CPolygon*>(polygons->getScnObject(static_cast<uint32_t>(i)))));
    }
    return describeGeometry(geometry);
}

Geometry sampleGeometry(double offset)
{
    Geometry geometry;
    for (int i = 0; i < 8; ++i) {
        geometry.points.push_back(CScnVector{offset + i, 0.5 * i, 0.0 - 1.25 * i});
    }
    RecordingStorage::Polygon triangle;
    triangle.smoothed = true;
    triangle.material = 2;
    triangle.loops.push_back({{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}});
    RecordingStorage::Polygon holed;
    holed.material = 1;
    holed.loops.push_back({{0, kScnVertexMapped, 0.5f, 0.25f},
                           {1, kScnVertexMarker, 0, 0},
                           {2, kScnVertexMarker | kScnVertexMapped, 1.0f, 0.0f},
                           {3, 0, 0, 0}});
    holed.loops.push_back({{4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}});
    geometry.polygons.push_back(triangle);
    geometry.polygons.push_back(holed);
    return geometry;
}

}  // namespace ScnTest
