// A client that knows the library only through its installed headers and shared library.
#include <Scn.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Feedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char* text) override { reports.push_back(text); }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
    std::vector<std::string> reports;
};

int failures = 0;

void expect(bool condition, const char* what)
{
    if (!condition) {
        std::printf("outside client: FAILED %s\n", what);
        ++failures;
    }
}

}  // namespace

int main()
{
    using namespace NvScn;
    Feedback feedback;
    expect(CScnMgr::getSCNVersion() == 31, "getSCNVersion");
    expect(scn_get_extended_version() == 6, "scn_get_extended_version");
    const CScnFileType* const* types = CScnMgr::getFileTypeList();
    expect(types[0] != nullptr && std::strcmp(types[0]->extension, ".scn") == 0, "file types");

    expect(scn_new_mgr(29, &feedback, nullptr) == nullptr, "refuses 29");
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    expect(manager != nullptr, "create");
    if (manager != nullptr) {
        expect(manager->getMgrEx(6) != nullptr, "getMgrEx(6)");
        TScnObjectMgr<CScnVector>* points = manager->getPoints();
        CScnVector* point = points->newScnObject(kScnLastIndex);
        point->x = 1.5;
        expect(points->getNbObjects() == 1 && points->getScnObject(0)->x == 1.5, "points");
        CScnPolygon* polygon = manager->getPolygons()->newScnObject(kScnLastIndex);
        polygon->getVertices()->newScnObject(kScnLastIndex)->pointIndex = 0;
        expect(polygon->getVertices()->getNbObjects() == 1, "vertices");
        expect(std::strcmp(manager->getLanguage(), "en") == 0, "language");
        manager->release();
    }
    expect(feedback.reports.size() == 1 &&
               feedback.reports[0] == "Client is obsolete for this Scn Library!",
           "one refusal report");
    if (failures == 0) {
        std::printf("outside client: ok\n");
    }
    return failures == 0 ? 0 : 1;
}
