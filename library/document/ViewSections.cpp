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
    if (XIXMLElement* element = XmlForm::findChild(list, kOptionsElementName)) {
        options->initWithXML(element);
    }
}

// The element that the options of a list are written under: the list element, made when absent.
// Options that a loaded list element holds (in the sections kept as they were loaded) give way, in
// their place, to an empty element that the options' writer fills.
XIXMLElement* listFor(XIXMLElement* file, const char* name)
{
    XIXMLElement* list = XmlForm::findOrAddChild(file, name);
    if (XIXMLElement* loaded = XmlForm::findChild(list, kOptionsElementName)) {
        XIXMLElement* renewed = XmlForm::addChild(list, kOptionsElementName);
        list->MoveNode(renewed->AsNode(), loaded->AsNode());
        loaded->AsNode()->Delete();
    }
    return list;
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
    XmlForm::removeChildren(file, kPreview);
    scene.getPreviewRenderingOpt()->putInXML(XmlForm::addChild(file, kPreview));
}

void readPreview(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, kPreview), scene.getPreviewRenderingOpt());
}

void writeHeliodonOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getHeliodonOpt()->putInXML(listFor(file, kHeliodons));
}

void readHeliodonOptions(CSCN& scene, XIXMLElement* file)
{
    // Older documents hold a single "Heliodon" element with the study options inside.
    XIXMLElement* holder = XmlForm::findChild(file, kHeliodons);
    if (holder == nullptr) {
        holder = XmlForm::findChild(file, kOldHeliodon);
    }
    if (holder != nullptr) {
        if (XIXMLElement* options = XmlForm::findChild(holder, CHeliodonOpt::kElementName)) {
            scene.getHeliodonOpt()->initWithXML(options);
        }
    }
}

void writePerspectiveViews(CSCN& scene, XIXMLElement* file)
{
    scene.getPerspectiveViewsOpt()->putInXML(writeList(file, kPerspectiveViews, scene.cameras()));
}

void readPerspectiveViews(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list = readList(file, kPerspectiveViews, scene.cameras(), loadView<CCamera>);
    readListOptions(list, scene.getPerspectiveViewsOpt());
}

void readOldImage(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* image = XmlForm::findChild(file, kOldImage);
    if (image == nullptr) {
        return;
    }
    // The old element is laid out either as an "Options" element or as a "Rendering" one.
    CAnimRenderingOpt& options = scene.perspectiveViewsOptions();
    if (XmlForm::findChild(image, CAnimRenderingOpt::kRenderingElementName) != nullptr) {
        options.initWithXML(image);
    } else {
        options.initRenderingWithXML(image);
    }
}

void writeParallelViews(CSCN& scene, XIXMLElement* file)
{
    scene.getParallelViewsOpt()->putInXML(writeList(file, kParallelViews, scene.parallelViews()));
}

void readParallelViews(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list =
        readList(file, kParallelViews, scene.parallelViews(), loadView<CScnParallelView>);
    readListOptions(list, scene.getParallelViewsOpt());
}

void writePanoramaOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getPanoramaOpt()->putInXML(listFor(file, kPanoramas));
}

void readPanoramaOptions(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, kPanoramas), scene.getPanoramaOpt());
}

void writeAnimationOptions(CSCN& scene, XIXMLElement* file)
{
    scene.getAnimationsOpt()->putInXML(listFor(file, kAnimations));
}

void readAnimationOptions(CSCN& scene, XIXMLElement* file)
{
    readListOptions(XmlForm::findChild(file, kAnimations), scene.getAnimationsOpt());
}

void writeViewObjects(CSCN& scene, XIXMLElement* file)
{
    scene.getViewObjectsOpt()->putInXML(writeList(file, kViewObjects, scene.viewObjects()));
}

void readViewObjects(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list = readList(file, kViewObjects, scene.viewObjects(), loadView<CViewObject>);
    readListOptions(list, scene.getViewObjectsOpt());
}

void writeWorkingWindow(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, kWorkingWindow);
    writeList(XmlForm::addChild(file, kWorkingWindow), kParallelViews, scene.workingWindowViews());
}

void readWorkingWindow(CSCN& scene, XIXMLElement* file)
{
    readList(XmlForm::requireChild(file, kWorkingWindow), kParallelViews, scene.workingWindowViews(),
             loadView<CScnParallelView>);
}

}  // namespace Sections
}  // namespace NvScn
