// scntool materials: what the surfaces of a scene are, without a renderer.
#include "ScnMaterials.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FileStream.h"
#include "Scn.h"

namespace ScnTools {

namespace {

// Keeps the library's reports, to show them when reading fails.
class MaterialsFeedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char* text) override { reports.emplace_back(text != nullptr ? text : ""); }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }

    std::vector<std::string> reports;
};

// The façade's projection numbers by name; "none" without mapping.
const char* projectionName(int32_t projection)
{
    static const char* const kNames[] = {"orthogonal", "planar",    "vertical",  "spherical",
                                         "y-cylindrical", "x-cylindrical", "planetary", "uv"};
    return projection >= 0 && projection < 8 ? kNames[projection] : "none";
}

// One letter per flag that is on, '-' for one that is off: Visible, Cast shadow, Receive shadow,
// UV defined, Billboard.
std::string flagsText(const NvScn::CScnProperty& material)
{
    std::string flags;
    flags += material.isVisible() ? 'V' : '-';
    flags += material.isCastShadow() ? 'C' : '-';
    flags += material.isReceiveShadow() ? 'R' : '-';
    flags += material.isUVDefined() ? 'U' : '-';
    flags += material.isBillboard() ? 'B' : '-';
    return flags;
}

void printMaterials(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials)
{
    for (int32_t i = 0; i < materials->getNbObjects(); ++i) {
        NvScn::CScnProperty* material = materials->getScnObject(static_cast<uint32_t>(i));
        NvScn::CScnColor diffuse = material->getDiffuseColor();
        std::printf("%d\t\"%s\"\t%s\tdiffuse %d %d %d\ttexture \"%s\"\tprojection %s\n", i, material->getName(),
                    flagsText(*material).c_str(), diffuse.red, diffuse.green, diffuse.blue,
                    material->getTextureURL(), projectionName(material->getProjection()));
    }
}

}  // namespace

int listMaterials(const std::string& path)
{
    std::unique_ptr<FileStream> stream = openFile(path, "rb");
    if (!stream) {
        return 1;
    }
    MaterialsFeedback feedback;
    NvScn::CScnMgr* manager = NvScn::CScnMgr::create(&feedback, nullptr);
    if (manager == nullptr || manager->read(stream.get()) != 0) {
        std::fprintf(stderr, "scntool: cannot read %s\n", path.c_str());
        for (const std::string& report : feedback.reports) {
            std::fprintf(stderr, "  %s\n", report.c_str());
        }
        if (manager != nullptr) {
            manager->release();
        }
        return 1;
    }
    printMaterials(manager->getMaterials());
    // The materials of the object definitions follow, under their definition's name.
    NvScn::TScnObjectMgr<NvScn::IScnScnObjectDefinition>* definitions = manager->getObjectDefinitions();
    for (int32_t d = 0; d < definitions->getNbObjects(); ++d) {
        NvScn::IScnScnObjectDefinition* definition = definitions->getScnObject(static_cast<uint32_t>(d));
        const char* name = definition->getName()->getText('e' * 256 + 'n');
        std::printf("definition %d \"%s\"\n", d, name != nullptr ? name : "");
        printMaterials(definition->getMaterials());
    }
    manager->release();
    return 0;
}

}  // namespace ScnTools
