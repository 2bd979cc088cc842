#include "model/FieldForms.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "xml/ValueFormat.h"

namespace NvScn {

using NuvoraXML::XIXMLAttribute;
using NuvoraXML::XIXMLData;
using NuvoraXML::XIXMLElement;

namespace {

// A message formatted without a length limit (the labels come from files).
std::string formatted(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) {
        std::vsnprintf(&text[0], text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

}  // namespace

const char* LabelTable::labelOf(int32_t value) const
{
    for (const LabelEntry& entry : *this) {
        if (entry.value == value) {
            return entry.label;
        }
    }
    Nuvora::fail(formatted(Msg::kNoLabelForValue, value, mEntries[0].label, mEntries[mCount - 1].label).c_str());
}

int32_t LabelTable::valueOf(const char* label) const
{
    for (const LabelEntry& entry : *this) {
        if (std::strcmp(entry.label, label) == 0) {
            return entry.value;
        }
    }
    Nuvora::fail(formatted(Msg::kInvalidLabel, label, mEntries[0].label, mEntries[mCount - 1].label).c_str());
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

int32_t languageCode(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    auto first = static_cast<signed char>(text[0]);
    auto second = first != 0 ? static_cast<signed char>(text[1]) : static_cast<signed char>(0);
    return first * 256 + second;
}

void CLanguageTexts::set(int32_t code, const char* text)
{
    const char* value = text != nullptr ? text : "";
    for (Entry& entry : mEntries) {
        if (entry.first == code) {
            entry.second = value;
            return;
        }
    }
    mEntries.emplace_back(code, value);
}

const char* CLanguageTexts::get(int32_t code) const
{
    for (const Entry& entry : mEntries) {
        if (entry.first == code) {
            return entry.second.c_str();
        }
    }
    return nullptr;
}

namespace XmlForm {

namespace {

bool isCodeCharacter(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The attribute name of a language code, or false when the code is not one or two letters or digits.
bool codeName(int32_t code, char (&name)[3])
{
    auto second = static_cast<signed char>(code & 0xFF);
    int32_t first = (code - second) / 256;
    name[0] = static_cast<char>(first);
    name[1] = static_cast<char>(second);
    name[2] = '\0';
    return isCodeCharacter(first) && (second == 0 || isCodeCharacter(second));
}

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

// Number form: a child element whose text is the value printed with format.
template <class T>
void writeNumberText(XIXMLElement* parent, const char* name, const char* format, T value)
{
    addChild(parent, name)->AddData("")->PrintText(format, value);
}

template <class T>
T readNumberText(XIXMLElement* element, const char* format)
{
    T value = 0;
    requireData(element)->ScanText(format, &value);
    return value;
}

uint8_t colorByte(int32_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

// One value in the XML toolkit's locale-free forms ("%lf", "%08X", ...).
int printValue(char* buffer, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = NuvoraXML::printFormatted(buffer, size, format, args);
    va_end(args);
    return length;
}

bool scanValue(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    bool converted = NuvoraXML::scanFormatted(text, format, args);
    va_end(args);
    return converted;
}

constexpr const char* kMatrixLine = "Line";
constexpr const char* kMatrixIndex = "Index";
constexpr size_t kMatrixSize = 4;

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
    writeNumberText(parent, name, "%d", value);
}

int32_t readInteger(XIXMLElement* element)
{
    return readNumberText<int32_t>(element, "%d");
}

void writeReal(XIXMLElement* parent, const char* name, double value)
{
    writeNumberText(parent, name, "%lf", value);
}

double readReal(XIXMLElement* element)
{
    return readNumberText<double>(element, "%lf");
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

void writeDate(XIXMLElement* parent, const char* name, const CScnTime& time)
{
    XIXMLElement* element = addChild(parent, name);
    writeInteger(element, "Month", time.getMonth());
    writeInteger(element, "Day", time.getDay());
    writeInteger(element, "Hour", time.getHour());
    writeInteger(element, "Minute", time.getMinute());
    writeInteger(element, "Year", time.getYear());
}

void readDate(XIXMLElement* element, CScnTime& time)
{
    time.setMonth(readInteger(requireChild(element, "Month")));
    time.setDay(readInteger(requireChild(element, "Day")));
    time.setHour(readInteger(requireChild(element, "Hour")));
    time.setMinute(readInteger(requireChild(element, "Minute")));
    if (XIXMLElement* year = findChild(element, "Year")) {
        time.setYear(readInteger(year));
    }
}

void writePlace(XIXMLElement* parent, const char* name, const CScnPlace& place)
{
    XIXMLElement* element = addChild(parent, name);
    writeInteger(element, "Longitude", place.getLongitude());
    writeInteger(element, "Latitude", place.getLatitude());
    writeInteger(element, "TimeZone", place.getTimeZone());
    if (place.isDaylight()) {
        addChild(element, "Daylight");
    }
}

void readPlace(XIXMLElement* element, CScnPlace& place)
{
    place.setLongitude(readInteger(requireChild(element, "Longitude")));
    place.setLatitude(readInteger(requireChild(element, "Latitude")));
    place.setTimeZone(readInteger(requireChild(element, "TimeZone")));
    place.setDaylight(findChild(element, "Daylight") != nullptr);
}

void writeLanguageTexts(XIXMLElement* parent, const char* name, const CLanguageTexts& texts)
{
    XIXMLElement* element = addChild(parent, name);
    char code[3];
    for (const CLanguageTexts::Entry& entry : texts.entries()) {
        if (codeName(entry.first, code)) {
            addAttribute(element, code, entry.second.c_str());
        }
    }
}

void readLanguageTexts(XIXMLElement* element, CLanguageTexts& texts)
{
    texts.clear();
    for (XIXMLAttribute* attribute = element->GetFirstAttribute(); attribute != nullptr;
         attribute = attribute->GetNext()) {
        texts.set(languageCode(attribute->GetName()), attribute->GetValue());
    }
}

std::vector<XIXMLElement*> fixedItems(XIXMLElement* element, const char* itemName, size_t count)
{
    std::vector<XIXMLElement*> items;
    for (XIXMLElement* item = findChild(element, itemName); item != nullptr && items.size() <= count;
         item = item->GetNextNamesake()) {
        items.push_back(item);
    }
    if (items.size() < count) {
        Nuvora::failNullPointer(nullptr);
    }
    Nuvora::check(items.size() == count, nullptr);
    return items;
}

CScnVector readDirection(XIXMLElement* element, const CSCN* scene)
{
    CScnVector value = readVector(element, nullptr);
    if (scene != nullptr) {
        scene->fixDirection(value);
    }
    return value;
}

void writeVector2D(XIXMLElement* parent, const char* name, const CScnVector2D& value)
{
    XIXMLElement* element = addChild(parent, name);
    writeNumberAttribute(element, "X", "%lf", value.x);
    writeNumberAttribute(element, "Y", "%lf", value.y);
}

CScnVector2D readVector2D(XIXMLElement* element)
{
    return CScnVector2D{readRealAttribute(element, "X"), readRealAttribute(element, "Y")};
}

void writeHex(XIXMLElement* element, const char* name, uint32_t value)
{
    element->AddAttribute(element->GetKey(name), "")->PrintValue("%08X", static_cast<unsigned int>(value));
}

uint32_t readHex(XIXMLElement* element, const char* name)
{
    unsigned int value = 0;
    requireAttribute(element, name)->ScanValue("%08X", &value);
    return static_cast<uint32_t>(value);
}

void writeLabelText(XIXMLElement* parent, const char* name, const char* label)
{
    addChild(parent, name)->AddData(label);
}

const char* readLabelText(XIXMLElement* element)
{
    return requireText(element);
}

std::string matrixLineText(const double* row)
{
    std::string text;
    char value[400];
    for (size_t i = 0; i < kMatrixSize; ++i) {
        int length = printValue(value, sizeof value, "%lf", row[i]);
        if (length < 0 || static_cast<size_t>(length) >= sizeof value) {
            Nuvora::fail();
        }
        text.append(i == 0 ? "" : ", ").append(value, static_cast<size_t>(length));
    }
    return text;
}

bool parseMatrixLine(const char* text, double* row)
{
    const char* at = text;
    for (size_t i = 0; i < kMatrixSize; ++i) {
        const char* end = std::strchr(at, ',');
        if ((end == nullptr) != (i + 1 == kMatrixSize)) {
            return false;
        }
        std::string part = end != nullptr ? std::string(at, end) : std::string(at);
        if (part.find_first_not_of(" \t\r\n") == std::string::npos || !scanValue(part.c_str(), "%lf", &row[i])) {
            return false;
        }
        at = end != nullptr ? end + 1 : at;
    }
    return true;
}

void writeMatrix(XIXMLElement* parent, const char* name, const double* values)
{
    XIXMLElement* element = addChild(parent, name);
    for (size_t i = 0; i < kMatrixSize; ++i) {
        XIXMLElement* line = addChild(element, kMatrixLine);
        line->AddAttribute(line->GetKey(kMatrixIndex), "")->PrintValue("%d", static_cast<int>(i));
        line->AddData(matrixLineText(values + i * kMatrixSize).c_str());
    }
}

void readMatrix(XIXMLElement* element, double* values)
{
    std::vector<XIXMLElement*> lines = fixedItems(element, kMatrixLine, kMatrixSize);
    double read[kMatrixSize * kMatrixSize];
    bool seen[kMatrixSize] = {};
    for (XIXMLElement* line : lines) {
        int32_t index = readIntegerAttribute(line, kMatrixIndex);
        Nuvora::check(index >= 0 && index < static_cast<int32_t>(kMatrixSize) && !seen[index], nullptr);
        seen[index] = true;
        if (!parseMatrixLine(requireText(line), read + static_cast<size_t>(index) * kMatrixSize)) {
            Nuvora::fail();
        }
    }
    std::memcpy(values, read, sizeof read);
}

XIXMLElement* namedOrChild(XIXMLElement* element, const char* name)
{
    Nuvora::checkPointer(element, nullptr);
    const char* own = element->GetName();
    if (own != nullptr && std::strcmp(own, name) == 0) {
        return element;
    }
    return requireChild(element, name);
}

}  // namespace XmlForm

void setToLocalNow(CScnTime& time)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        local = std::tm{};
        local.tm_mday = 1;
        local.tm_year = 70;
    }
    time.setDay(local.tm_mday);
    time.setMonth(local.tm_mon + 1);
    time.setHour(local.tm_hour);
    time.setMinute(local.tm_min);
    time.setYear(local.tm_year + 1900);
}

}  // namespace NvScn
