// Doubles and helpers for the scene document tests: managers owned by a test, saves checked by
// libxml2, hand-made documents, and an external storage that keeps geometry per component and
// records every call in order.
#ifndef SCN_TEST_DOCUMENT_SUPPORT_H
#define SCN_TEST_DOCUMENT_SUPPORT_H

#include <map>
#include <string>
#include <vector>

#include "Scn.h"
#include "model/Scene.h"
#include "support/TestSupport.h"
#include "test_geometry_block_support.h"

namespace ScnTest {

// The first problem libxml2 finds in a document (parsed with XML_PARSE_HUGE), "" when it is
// well-formed. The list element "3D.Paths" and the layer attribute "3DPlant" of the format are not
// valid XML names; they are renamed before the check so that the rest of the document is still
// checked.
std::string libxml2Problem(const std::string& document);

// A manager created for one test, with a recording feedback, released at the end.
class TestScene {
public:
    explicit TestScene(NvScn::CScnExtStorage* storage = nullptr);
    ~TestScene();
    TestScene(const TestScene&) = delete;
    TestScene& operator=(const TestScene&) = delete;

    NvScn::CScnMgr* operator->() const { return manager; }
    NvScn::CSCN& core() const { return *static_cast<NvScn::CSCN*>(manager); }

    // Saves the scene; a failed write or a document libxml2 refuses fails the test.
    std::string save(const NvScn::CScnVersion* minimum = nullptr);
    // Reads the bytes and answers the result of read.
    int32_t load(const std::string& bytes);

    RecordingFeedback feedback;
    NvScn::CScnMgr* manager;
};

// The names of the child elements of "Scn.File" in a document, in order.
std::vector<std::string> fileChildren(const std::string& document);

// A scene document: the xml, library and Application PIs, then "Scn.File" around body.
std::string sceneDocument(const std::string& libraryText, const std::string& body,
                          const std::string& creator = "Kestrovin");

// The library PI text of a document written by the library of that version, in dotted form.
std::string dottedLibrary(const std::string& version);

// Points of a geometry, and polygons described as by describe().
struct Geometry {
    std::vector<NvScn::CScnVector> points;
    std::vector<RecordingStorage::Polygon> polygons;
};

// Geometry kept per component ("" for blocks outside any component); every call is recorded as
// a line ("select <uuid> <level>", "setNbPoints 3", "addPoint 0", "getNbPolygons", ...), and the
// call whose line equals refuse answers false.
class ComponentStorage : public NvScn::CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(NvScn::CScnMgr* manager, const NvScn::CScnUUID* component,
                                             int32_t level) override;
    void setNbPoints(NvScn::CScnMgr* manager, int32_t count) override;
    bool addPoint(NvScn::CScnMgr* manager, const NvScn::CScnVector* point, int32_t index) override;
    void setNbPolygons(NvScn::CScnMgr* manager, int32_t count) override;
    bool addPolygon(NvScn::CScnMgr* manager, const NvScn::CScnPolygon* polygon, int32_t index) override;
    int32_t getNbPoints(NvScn::CScnMgr* manager) override;
    bool fillPoint(NvScn::CScnMgr* manager, NvScn::CScnVector* point, int32_t index) override;
    int32_t getNbPolygons(NvScn::CScnMgr* manager) override;
    bool fillPolygon(NvScn::CScnMgr* manager, NvScn::CScnPolygon* polygon, int32_t index) override;

    std::map<std::string, Geometry> components;
    std::string current;
    std::vector<std::string> calls;
    std::string refuse;
    std::vector<NvScn::CScnMgr*> managers;

private:
    bool record(NvScn::CScnMgr* manager, const std::string& call);
};

// The 32-digit text of an identifier.
std::string uuidText(const NvScn::CScnUUID& uuid);
// An identifier whose bytes are all the given value.
NvScn::CScnUUID filledUuid(uint8_t value);

// Fills a geometry table through its public managers: the points, then one polygon per entry.
void fillGeometry(NvScn::TScnObjectMgr<NvScn::CScnVector>* points,
                  NvScn::TScnObjectMgr<NvScn::CScnPolygon>* polygons, const Geometry& geometry);
// The content of a geometry table as text: points, then polygons.
std::string describeGeometry(NvScn::TScnObjectMgr<NvScn::CScnVector>* points,
                             NvScn::TScnObjectMgr<NvScn::CScnPolygon>* polygons);
std::string describeGeometry(const Geometry& geometry);

// A small geometry: a triangle, and a smoothed, mapped and marked quad with a hole.
Geometry sampleGeometry(double offset = 0.0);

}  // namespace ScnTest

#endif
