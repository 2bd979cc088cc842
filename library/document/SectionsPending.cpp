// Sections of object kinds that this library version holds without their content yet. A save
// keeps each such section of a loaded document as the load found it, byte for byte: its elements
// move, unchanged, to their place in the writer order, and only a section that the document lacks
// is added, empty. A load leaves the scene's objects as they are. Each kind that gets its content moves
// its pair of functions out of this file into the section file of its area.
#include <vector>

#include "document/Sections.h"
#include "model/Fields.h"

namespace NvScn {
namespace Sections {

namespace {

// Moves every child of the file element named name to the end, in order; answers whether there
// was one.
bool keepAsLoaded(XIXMLElement* file, const char* name)
{
    std::vector<XIXMLElement*> found;
    for (XIXMLElement* element = XmlForm::findChild(file, name); element != nullptr;
         element = element->GetNextNamesake()) {
        found.push_back(element);
    }
    for (XIXMLElement* element : found) {
        file->MoveNode(element->AsNode(), nullptr);
    }
    return !found.empty();
}

// The section as it was loaded, or an empty one when the document has none.
void keepOrAddEmpty(XIXMLElement* file, const char* name)
{
    if (!keepAsLoaded(file, name)) {
        XmlForm::addChild(file, name);
    }
}

}  // namespace

void writeProperties(CSCN&, XIXMLElement* file) { keepOrAddEmpty(file, kProperties); }
void readProperties(CSCN&, XIXMLElement*) {}

}  // namespace Sections
}  // namespace NvScn
