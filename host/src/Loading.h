// What the model readers share: the project they fill, the site and cameras a file states, the
// textures they decode, and the views they set.
#ifndef CADHOST_LOADING_H
#define CADHOST_LOADING_H

#include "CADHost.h"
#include "Model.h"

#include <map>
#include <string>
#include <vector>

namespace cadhost {

struct FileCamera {
    std::string name;
    Vec3 position;
    Vec3 target;
    double roll = 0.0;       // degrees
    double viewCone = 0.0;   // radians
    bool deleted = false;
};

struct FileCameraSet {
    std::string name;
    std::vector<FileCamera> cameras;
    bool deleted = false;
};

// The place a file states: a city attribute and the direction of north.
struct FileSite {
    bool hasPlace = false;
    std::string name;
    int32_t longitude = 0;   // minutes of arc, east positive
    int32_t latitude = 0;    // minutes of arc, north positive
    int32_t timeZone = 0;    // minutes
    bool hasNorth = false;
    double northAngle = 0.0; // radians, counter-clockwise from the x axis
};

// Reads a host-model file (docs/host-model.md) into the project; throws ModelError.
void loadJsonModel(const std::string& path, Project* project);
// Reads any file of the import library into the project; throws ModelError.
void loadSceneFile(const std::string& path, const ModelOptions& options, Project* project);

// What an IFC file states beside its geometry: the site's place and north, and which slabs are roofs.
struct IfcFacts {
    FileSite site;
    std::vector<std::string> roofSlabs;  // global identifiers of the slabs of predefined type ROOF
    std::map<std::string, std::string> spatialNames;  // storeys, buildings and sites by global identifier
};
IfcFacts readIfcFacts(const std::string& text);

// Decodes an image (file or bytes in memory) into the texture's pixels; false with the reason.
bool decodeImageFile(const std::string& path, ModelTexture* texture, std::string* reason);
bool decodeImageBytes(const unsigned char* bytes, std::size_t size, ModelTexture* texture, std::string* reason);
// Sets the alpha flag from the pixels: some pixel is not opaque.
void noteAlpha(ModelTexture* texture);

// The project's layers, material attributes, cameras and site from what a file gave.
void setLayers(Project* project, const std::vector<std::string>& names);
void setMaterialAttributes(Project* project);
void setCameraSets(Project* project, const std::vector<FileCameraSet>& sets);
void setSite(Project* project, const FileSite& site);
// The 3D projection looking through a camera, and the automatic view of the whole model.
API_3DProjectionInfo projectionFrom(const FileCamera& camera);
API_3DProjectionInfo automaticProjection(const Model& model, bool perspective);
// Lights on in both rendering records exactly when the model has lights.
void setLightsFlag(Project* project);

// The folder of a path, and its last name.
std::string folderOf(const std::string& path);
std::string lastName(const std::string& path);

}  // namespace cadhost

#endif
