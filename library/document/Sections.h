// The top-level sections of the scene document, one writer and one reader per section. The save
// calls the writers in the document's writer order, the load calls the readers in its reader order;
// each object kind provides the section that holds it.
#ifndef SCN_SECTIONS_H
#define SCN_SECTIONS_H

#include "ScnXML.h"

namespace NvScn {

class CSCN;
class CTokenReader;

namespace Sections {

using NuvoraXML::XIXMLElement;

// The element names of the sections that are lists or holders of the scene's objects (the
// sections that are one object, such as "Ambient", are named by their kind's kElementName).
constexpr const char* kFileInfo = "File.Info";
constexpr const char* kInternalComponents = "InternalComponentDefinitions";
constexpr const char* kPreview = "Preview";
constexpr const char* kHeliodons = "Heliodons";
constexpr const char* kProperties = "Properties";
constexpr const char* kBillboards = "Billboards";
constexpr const char* kLights = "Lights";
constexpr const char* kLightsGroups = "Lights.Groups";
constexpr const char* kPerspectiveViews = "Perspective.Views";
constexpr const char* kParallelViews = "Parallel.Views";
constexpr const char* kPanoramas = "Panoramas";
constexpr const char* kAnimations = "Animations";
constexpr const char* kViewObjects = "View.Objects";
constexpr const char* kWorkingWindow = "Working.Window";
constexpr const char* kObjectInstances = "Object.Instances";
constexpr const char* kScenarios = "Scenarios";
constexpr const char* k3DPaths = "3D.Paths";
constexpr const char* kGrounds = "Grounds";
constexpr const char* kLayers = "Layers";
constexpr const char* kLayersInfo = "Layers.Info";
// The older forms that the readers accept: the single heliodon and the perspective options.
constexpr const char* kOldHeliodon = "Heliodon";
constexpr const char* kOldImage = "Image";

// Every writer brings its section of the file element up to date from the scene; every reader
// takes its section (when present) from the file element into the scene. The sections of kinds
// not built yet (SectionsPending.cpp) keep what a loaded document holds, unchanged.

// "File.Info" with its "Origin".
void writeFileInfo(CSCN& scene, XIXMLElement* file);
void readFileInfo(CSCN& scene, XIXMLElement* file);
// "InternalComponentDefinitions".
void writeInternalComponents(CSCN& scene, XIXMLElement* file);
void readInternalComponents(CSCN& scene, XIXMLElement* file);
// "Preview" with the preview rendering options.
void writePreview(CSCN& scene, XIXMLElement* file);
void readPreview(CSCN& scene, XIXMLElement* file);
// "Heliodons" with the heliodons and their "Options".
void writeHeliodons(CSCN& scene, XIXMLElement* file);
void readHeliodons(CSCN& scene, XIXMLElement* file);
// The "Options" of "Heliodons": the heliodon study options (after writeHeliodons).
void writeHeliodonOptions(CSCN& scene, XIXMLElement* file);
void readHeliodonOptions(CSCN& scene, XIXMLElement* file);
// The old single "Heliodon" element, read into heliodon 0 and the heliodon options.
void readOldHeliodon(CSCN& scene, XIXMLElement* file);
void writeAmbient(CSCN& scene, XIXMLElement* file);
void readAmbient(CSCN& scene, XIXMLElement* file);
void writeAtmosphere(CSCN& scene, XIXMLElement* file);
void readAtmosphere(CSCN& scene, XIXMLElement* file);
// "Background" (deleting "Backgroung" and "Background" first); reads either name.
void writeBackground(CSCN& scene, XIXMLElement* file);
void readBackground(CSCN& scene, XIXMLElement* file);
// "Properties": the materials.
void writeProperties(CSCN& scene, XIXMLElement* file);
void readProperties(CSCN& scene, XIXMLElement* file);
void writeBillboards(CSCN& scene, XIXMLElement* file);
void readBillboards(CSCN& scene, XIXMLElement* file);
void writeLights(CSCN& scene, XIXMLElement* file);
void readLights(CSCN& scene, XIXMLElement* file);
void writeLightsGroups(CSCN& scene, XIXMLElement* file);
void readLightsGroups(CSCN& scene, XIXMLElement* file);
// "Perspective.Views" with the cameras and their "Options".
void writePerspectiveViews(CSCN& scene, XIXMLElement* file);
void readPerspectiveViews(CSCN& scene, XIXMLElement* file);
// The old "Image" element, read as the rendering options of the perspective views.
void readOldImage(CSCN& scene, XIXMLElement* file);
void writeParallelViews(CSCN& scene, XIXMLElement* file);
void readParallelViews(CSCN& scene, XIXMLElement* file);
void writePanoramas(CSCN& scene, XIXMLElement* file);
void readPanoramas(CSCN& scene, XIXMLElement* file);
// "Options" of "Panoramas": the panorama rendering options (after writePanoramas).
void writePanoramaOptions(CSCN& scene, XIXMLElement* file);
void readPanoramaOptions(CSCN& scene, XIXMLElement* file);
void writeAnimations(CSCN& scene, XIXMLElement* file);
void readAnimations(CSCN& scene, XIXMLElement* file);
// "Options" of "Animations": the animation rendering options (after writeAnimations).
void writeAnimationOptions(CSCN& scene, XIXMLElement* file);
void readAnimationOptions(CSCN& scene, XIXMLElement* file);
void writeViewObjects(CSCN& scene, XIXMLElement* file);
void readViewObjects(CSCN& scene, XIXMLElement* file);
// "Working.Window" with its "Parallel.Views"; the reader fails when the element is missing.
void writeWorkingWindow(CSCN& scene, XIXMLElement* file);
void readWorkingWindow(CSCN& scene, XIXMLElement* file);
// The "Object.Definition" elements.
void writeObjectDefinitions(CSCN& scene, XIXMLElement* file);
void readObjectDefinitions(CSCN& scene, XIXMLElement* file);
void writeObjectInstances(CSCN& scene, XIXMLElement* file);
void readObjectInstances(CSCN& scene, XIXMLElement* file);
// "InsertionObject" (read only).
void readInsertionObject(CSCN& scene, XIXMLElement* file);
void writeScenarios(CSCN& scene, XIXMLElement* file);
void readScenarios(CSCN& scene, XIXMLElement* file);
void write3DPaths(CSCN& scene, XIXMLElement* file);
void read3DPaths(CSCN& scene, XIXMLElement* file);
void writeGrounds(CSCN& scene, XIXMLElement* file);
void readGrounds(CSCN& scene, XIXMLElement* file);
void writeLayers(CSCN& scene, XIXMLElement* file);
void readLayers(CSCN& scene, XIXMLElement* file);
void writeLayersInfo(CSCN& scene, XIXMLElement* file);
void readLayersInfo(CSCN& scene, XIXMLElement* file);

// The legacy token blocks of documents older than 2.0.0, read from a block's token reader: the
// "Lights" records, and the "Materials" records with the product flag (the document was written
// by the product itself) set for the duration.
void readLegacyLights(CSCN& scene, CTokenReader& reader);
void readLegacyMaterials(CSCN& scene, CTokenReader& reader, bool productFile);

// The sun rule of old documents not written by the product itself: an inactive heliodon 0 named
// "Heliodon" takes over from a light named "Sun".
void convertOldSun(CSCN& scene);

}  // namespace Sections
}  // namespace NvScn

#endif
