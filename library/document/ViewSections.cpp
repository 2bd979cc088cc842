// The sections of the views and of the options of the preview, heliodon studies, panoramas and
// animations. Views are read as the document loader reads them: their view information keeps the
// identifier stored in the file.
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

namespace {

// Reads the "Options" child of a list element into the list's options, when both are there.
void readListOptions(XIXMLElement* list, CScnRenderingOpt* options)
{
    if (list == nullptr) {
        return;
    }
    if (XIXMLElement* element = XmlForm::findChild(list, "Options")) {
        options->initWithXML(element);
    }
}

// The element that the options of a list are written under: the list element, made when absent.
XIXMLElement* listFor(XIXMLElement* file, const char* name)
{
    return XmlForm::findOrAddChild(file, name);
}

// The document loader's read of a view.
template <class View>
void loadView(View& view, XIXMLElement* element)
{
    view.loadFromXML(element);
}

}  // namespace

void writePreview(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, "Preview");
    scene.getPreviewRenderingOpt()->putInXML(XmlForm::addChild(file, "Preview"));
}

void readPreview(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, "Preview"), scene.getPreviewRenderingOpt());
}

void writeHeliodonOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getHeliodonOpt()->putInXML(listFor(file, "Heliodons"));
}

void readHeliodonOptions(CSCN& scene, XIXMLElement* file)
{
    // Older documents hold a single "Heliodon" element with the study options inside.
    XIXMLElement* holder = XmlForm::findChild(file, "Heliodons");
    if (holder == nullptr) {
        holder = XmlForm::findChild(file, "Heliodon");
    }
    if (holder != nullptr) {
        if (XIXMLElement* options = XmlForm::findChild(holder, "Options")) {
            scene.getHeliodonOpt()->initWithXML(options);
        }
    }
}

void writePerspectiveViews(CSCN& scene, XIXMLElement* file)
{
    scene.getPerspectiveViewsOpt()->putInXML(writeList(file, "Perspective.Views", scene.cameras()));
}

void readPerspectiveViews(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list = readList(file, "Perspective.Views", "Perspective.View", scene.cameras(), loadView<CCamera>);
    readListOptions(list, scene.getPerspectiveViewsOpt());
}

void readOldImage(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* image = XmlForm::findChild(file, "Image");
    if (image == nullptr) {
        return;
    }
    // The old element is laid out either as an "Options" element or as a "Rendering" one.
    CAnimRenderingOpt& options = scene.perspectiveViewsOptions();
    if (XmlForm::findChild(image, "Rendering") != nullptr) {
        options.initWithXML(image);
    } else {
        options.initRenderingWithXML(image);
    }
}

void writeParallelViews(CSCN& scene, XIXMLElement* file)
{
    scene.getParallelViewsOpt()->putInXML(writeList(file, "Parallel.Views", scene.parallelViews()));
}

void readParallelViews(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list =
        readList(file, "Parallel.Views", "Parallel.View", scene.parallelViews(), loadView<CScnParallelView>);
    readListOptions(list, scene.getParallelViewsOpt());
}

void writePanoramaOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getPanoramaOpt()->putInXML(listFor(file, "Panoramas"));
}

void readPanoramaOptions(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, "Panoramas"), scene.getPanoramaOpt());
}

void writeAnimationOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getAnimationsOpt()->putInXML(listFor(file, "Animations"));
}

void readAnimationOptions(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, "Animations"), scene.getAnimationsOpt());
}

void writeViewObjects(CSCN& scene, XIXMLElement* file)
{
    scene.getViewObjectsOpt()->putInXML(writeList(file, "View.Objects", scene.viewObjects()));
}

void readViewObjects(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list = readList(file, "View.Objects", "View.Object", scene.viewObjects(), loadView<CViewObject>);
    readListOptions(list, scene.getViewObjectsOpt());
}

void writeWorkingWindow(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, "Working.Window");
    writeList(XmlForm::addChild(file, "Working.Window"), "Parallel.Views", scene.workingWindowViews());
}

void readWorkingWindow(CSCN& scene, XIXMLElement* file)
{
    readList(XmlForm::requireChild(file, "Working.Window"), "Parallel.Views", "Parallel.View",
             scene.workingWindowViews(), loadView<CScnParallelView>);
}

}  // namespace Sections
}  // namespace NvScn
