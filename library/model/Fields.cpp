#include "model/Fields.h"

#include <charconv>
#include <cstring>
#include <string>

#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

using NuvoraXML::XIXMLAttribute;
using NuvoraXML::XIXMLData;
using NuvoraXML::XIXMLElement;

const char* LabelTable::labelOf(int32_t value) const
{
    for (const LabelEntry& entry : *this) {
        if (entry.value == value) {
            return entry.label;
        }
    }
    Nuvora::fail(("No label for the value (" + std::to_string(value) + ") [" + mEntries[0].label + ".." +
                  mEntries[mCount - 1].label + "]")
                     .c_str());
}

int32_t LabelTable::valueOf(const char* label) const
{
    for (const LabelEntry& entry : *this) {
        if (std::strcmp(entry.label, label) == 0) {
            return entry.value;
        }
    }
    Nuvora::fail((std::string("Invalid label (") + label + ") [" + mEntries[0].label + ".." +
                  mEntries[mCount - 1].label + "]")
                     .c_str());
}

bool LabelTable::hasLabel(int32_t value) const
{
    for (const LabelEntry& entry : *this) {
        if (entry.value == value) {
            return true;
        }
    }
    return false;
}

namespace XmlForm {

namespace {

XIXMLData* requireData(XIXMLElement* element)
{
    return Nuvora::checkPointer(element->GetData(), nullptr);
}

XIXMLAttribute* requireAttribute(XIXMLElement* element, const char* name)
{
    return Nuvora::checkPointer(element->FindAttribute(element->GetKey(name)), nullptr);
}

void writeNumberAttribute(XIXMLElement* element, const char* name, const char* format, double value)
{
    element->AddAttribute(element->GetKey(name), "")->PrintValue(format, value);
}

int32_t readIntegerAttribute(XIXMLElement* element, const char* name)
{
    int32_t value = 0;
    requireAttribute(element, name)->ScanValue("%d", &value);
    return value;
}

double readRealAttribute(XIXMLElement* element, const char* name)
{
    double value = 0;
    requireAttribute(element, name)->ScanValue("%lf", &value);
    return value;
}

uint8_t colorByte(int32_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

XIXMLElement* require(XIXMLElement* element)
{
    return Nuvora::checkPointer(element, nullptr);
}

XIXMLElement* findChild(XIXMLElement* parent, const char* name)
{
    return parent->FindElement(parent->GetKey(name));
}

XIXMLElement* requireChild(XIXMLElement* parent, const char* name)
{
    return Nuvora::checkPointer(findChild(parent, name), nullptr);
}

XIXMLElement* addChild(XIXMLElement* parent, const char* name)
{
    return parent->AddElement(parent->GetKey(name));
}

void removeChildren(XIXMLElement* parent, const char* name)
{
    const char* key = parent->GetKey(name);
    while (XIXMLElement* child = parent->FindElement(key)) {
        child->AsNode()->Delete();
    }
}

const char* findAttribute(XIXMLElement* element, const char* name)
{
    XIXMLAttribute* attribute = element->FindAttribute(element->GetKey(name));
    return attribute != nullptr ? attribute->GetValue() : nullptr;
}

void addAttribute(XIXMLElement* element, const char* name, const char* value)
{
    element->AddAttribute(element->GetKey(name), value);
}

const char* requireText(XIXMLElement* element)
{
    return requireData(element)->GetText();
}

XIXMLElement* findOrAddChild(XIXMLElement* parent, const char* name)
{
    XIXMLElement* child = findChild(parent, name);
    return child != nullptr ? child : addChild(parent, name);
}

void writeLocation(XIXMLElement* parent, const char* name, const std::string& location)
{
    XIXMLElement* element = addChild(parent, name);
    if (!location.empty()) {
        element->AddData(location.c_str());
    }
}

std::string readLocation(XIXMLElement* element)
{
    XIXMLData* data = element->GetData();
    return data != nullptr ? data->GetText() : "";
}

void writeInteger(XIXMLElement* parent, const char* name, int32_t value)
{
    addChild(parent, name)->AddData("")->PrintText("%d", value);
}

int32_t readInteger(XIXMLElement* element)
{
    int32_t value = 0;
    requireData(element)->ScanText("%d", &value);
    return value;
}

void writeReal(XIXMLElement* parent, const char* name, double value)
{
    addChild(parent, name)->AddData("")->PrintText("%lf", value);
}

double readReal(XIXMLElement* element)
{
    double value = 0;
    requireData(element)->ScanText("%lf", &value);
    return value;
}

void writeName(XIXMLElement* parent, const char* name, const std::string& text)
{
    addAttribute(addChild(parent, name), "en", text.c_str());
}

std::string readName(XIXMLElement* element)
{
    return requireAttribute(element, "en")->GetValue();
}

void writeVector(XIXMLElement* parent, const char* name, const CScnVector& value)
{
    XIXMLElement* element = addChild(parent, name);
    writeNumberAttribute(element, "X", "%lf", value.x);
    writeNumberAttribute(element, "Y", "%lf", value.y);
    writeNumberAttribute(element, "Z", "%lf", value.z);
}

CScnVector readVector(XIXMLElement* element, const CSCN* scene)
{
    CScnVector value{readRealAttribute(element, "X"), readRealAttribute(element, "Y"),
                     readRealAttribute(element, "Z")};
    if (scene != nullptr) {
        scene->fixVector(value);
    }
    return value;
}

void writeColor(XIXMLElement* parent, const char* name, const CScnColor& value)
{
    XIXMLElement* element = addChild(parent, name);
    element->AddAttribute(element->GetKey("R"), "")->PrintValue("%d", static_cast<int>(value.red));
    element->AddAttribute(element->GetKey("G"), "")->PrintValue("%d", static_cast<int>(value.green));
    element->AddAttribute(element->GetKey("B"), "")->PrintValue("%d", static_cast<int>(value.blue));
}

CScnColor readColor(XIXMLElement* element)
{
    CScnColor value{};
    if (findAttribute(element, "R") != nullptr) {
        value.red = colorByte(readIntegerAttribute(element, "R"));
        value.green = colorByte(readIntegerAttribute(element, "G"));
        value.blue = colorByte(readIntegerAttribute(element, "B"));
    } else {
        value.red = colorByte(readInteger(requireChild(element, "Red")));
        value.green = colorByte(readInteger(requireChild(element, "Green")));
        value.blue = colorByte(readInteger(requireChild(element, "Blue")));
    }
    return value;
}

void writeUuid(XIXMLElement* element, const char* name, const CScnUUID& value)
{
    char text[kUuidTextLength + 1];
    uuidToText(value, text);
    addAttribute(element, name, text);
}

CScnUUID parseUuid(const char* text)
{
    CScnUUID value{};
    if (!uuidFromText(text, value)) {
        Nuvora::fail();
    }
    return value;
}

void writeUuidList(XIXMLElement* parent, const char* name, TObjectMgr<CScnUUIDX, CScnUUID>& list)
{
    XIXMLElement* element = addChild(parent, name);
    char text[kUuidTextLength + 1];
    for (size_t i = 0; i < list.size(); ++i) {
        uuidToText(*list.at(i), text);
        addChild(element, "UUID")->AddData(text);
    }
}

void readUuidList(XIXMLElement* element, TObjectMgr<CScnUUIDX, CScnUUID>& list)
{
    list.clear();
    for (XIXMLElement* item = findChild(element, "UUID"); item != nullptr; item = item->GetNextNamesake()) {
        CScnUUID value = parseUuid(requireText(item));
        CScnUUID* added = Nuvora::checkPointer(list.append(), nullptr);
        *added = value;
    }
}

}  // namespace XmlForm

void FieldDefaults::convert(CScnVector& value) const
{
    if (mScene != nullptr) {
        mScene->fixVector(value);
    }
}

CScnColor FieldWriter::shifted(const CScnColor& value, int offset)
{
    auto shift = [offset](uint8_t channel) { return static_cast<uint8_t>((channel + offset) & 0xFF); };
    return CScnColor{value.zero, shift(value.red), shift(value.green), shift(value.blue)};
}

void FieldReader::requireMissing()
{
    Nuvora::failNullPointer(nullptr);
}

void FieldDumper::line(const char* name, const std::string& value)
{
    mOut.append(static_cast<size_t>(mDepth) * 2, ' ');
    mOut += name;
    if (*name != '\0') {
        mOut += '=';
    }
    mOut += value;
    mOut += '\n';
}

std::string FieldDumper::realText(double value)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string FieldDumper::uuidText(const CScnUUID& value)
{
    char text[kUuidTextLength + 1];
    uuidToText(value, text);
    return text;
}

}  // namespace NvScn
