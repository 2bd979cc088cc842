#include "support/FieldVary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "xml/XMLTreeReader.h"

namespace ScnTest {


NvScn::CScnColor FieldVary::varied(const NvScn::CScnColor& initial, int step)
{
    auto flip = [step](uint8_t value, int salt) { return static_cast<uint8_t>(value ^ ((step * 7 + salt) | 1)); };
    return {0, flip(initial.red, 1), flip(initial.green, 2), flip(initial.blue, 3)};
}

void FieldVary::addToFragment(XIXMLElement* element, int step)
{
    std::string text = std::to_string(step);
    element->AddAttribute(element->GetKey("Varied"), text.c_str());
    element->AddElement(element->GetKey("Item"))->AddData(text.c_str());
}

void FieldVary::varyDate(NvScn::CScnTime& time)
{
    time.setMonth(time.getMonth() % 12 + 1);
    time.setDay(time.getDay() % 28 + 1);
    time.setHour((time.getHour() + 1) % 24);
    time.setMinute((time.getMinute() + 1) % 60);
    time.setYear(time.getYear() + 1);
}

void FieldVary::varyPlace(NvScn::CScnPlace& place)
{
    place.setLongitude(place.getLongitude() + 140);
    place.setLatitude(place.getLatitude() - 2932);
    place.setTimeZone(place.getTimeZone() + 60);
    place.setDaylight(!place.isDaylight());
}

void SceneFixture::SetUp()
{
    mManager = NvScn::CScnMgr::create(&mFeedback, nullptr);
    ASSERT_NE(mManager, nullptr);
    mScene = static_cast<NvScn::CSCN*>(mManager);
}

void SceneFixture::TearDown()
{
    if (mManager != nullptr) {
        mManager->release();
    }
}

XmlScratch::XmlScratch(const char* parentName)
{
    NuvoraXML::XIXMLElement* root = mTree.GetRoot();
    mParent = root->AddElement(root->GetKey(parentName));
}

XIXMLElement* firstElement(NuvoraXML::XCXMLTree& tree)
{
    return tree.GetRoot()->GetFirstElement();
}

std::vector<std::string> childNames(XIXMLElement* element)
{
    std::vector<std::string> names;
    for (XIXMLElement* child = element->GetFirstElement(); child != nullptr; child = child->GetNextElement()) {
        names.push_back(child->GetName());
    }
    return names;
}

std::vector<std::string> attributeNames(XIXMLElement* element)
{
    std::vector<std::string> names;
    for (NuvoraXML::XIXMLAttribute* a = element->GetFirstAttribute(); a != nullptr; a = a->GetNext()) {
        names.push_back(a->GetName());
    }
    return names;
}

std::string expectedStoppedDump(const std::string& readDump, const std::string& keptDump,
                               const char* stopField)
{
    std::string stop = std::string(stopField) + "=";
    size_t readAt = 0;
    size_t keptAt = 0;
    while (readAt < readDump.size() && readDump.compare(readAt, stop.size(), stop) != 0) {
        readAt = std::min(readDump.find('\n', readAt), readDump.size() - 1) + 1;
        keptAt = std::min(keptDump.find('\n', keptAt), keptDump.size() - 1) + 1;
    }
    EXPECT_LT(readAt, readDump.size()) << "no field " << stopField;
    return readDump.substr(0, readAt) + keptDump.substr(std::min(keptAt, keptDump.size()));
}

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

}  // namespace

std::string mergedDump(const std::string& readDump, const std::string& keptDump,
                       const std::vector<std::string>& kept)
{
    std::vector<std::string> read = splitLines(readDump);
    std::vector<std::string> before = splitLines(keptDump);
    EXPECT_EQ(read.size(), before.size());
    std::string merged;
    bool keeping = false;
    for (size_t i = 0; i < read.size() && i < before.size(); ++i) {
        if (read[i][0] != ' ' && read[i] != "}") {
            std::string name = read[i].substr(0, read[i].find('='));
            keeping = std::find(kept.begin(), kept.end(), name) != kept.end();
        }
        merged += (keeping ? before[i] : read[i]) + "\n";
    }
    return merged;
}

std::vector<std::string> unchangedLines(const std::string& a, const std::string& b)
{
    std::vector<std::string> same;
    size_t atA = 0;
    size_t atB = 0;
    while (atA < a.size() && atB < b.size()) {
        size_t endA = std::min(a.find('\n', atA), a.size());
        size_t endB = std::min(b.find('\n', atB), b.size());
        std::string lineA = a.substr(atA, endA - atA);
        if (lineA == b.substr(atB, endB - atB) && lineA.back() != '{' && lineA.back() != '}') {
            same.push_back(lineA);
        }
        atA = endA + 1;
        atB = endB + 1;
    }
    return same;
}

XIXMLElement* elementAt(XIXMLElement* element, const std::string& path)
{
    for (size_t at = 0; at < path.size() && element != nullptr;) {
        size_t end = std::min(path.find('/', at), path.size());
        element = NvScn::XmlForm::findChild(element, path.substr(at, end - at).c_str());
        at = end + 1;
    }
    EXPECT_NE(element, nullptr) << "no element at " << path;
    return element;
}

Cut removeChildCut(const char* path, const char* name)
{
    return [=](XIXMLElement* element) { NvScn::XmlForm::removeChildren(elementAt(element, path), name); };
}

Cut removeAttributeCut(const char* path, const char* name)
{
    return [=](XIXMLElement* element) { EXPECT_TRUE(deleteAttribute(elementAt(element, path), name)) << name; };
}

Cut setAttributeCut(const char* path, const char* name, const char* value)
{
    return [=](XIXMLElement* element) {
        XIXMLElement* target = elementAt(element, path);
        target->FindAttribute(target->GetKey(name))->SetValue(value);
    };
}

Cut setTextCut(const char* path, const char* text)
{
    return [=](XIXMLElement* element) { elementAt(element, path)->GetData()->SetText(text); };
}

bool deleteAttribute(XIXMLElement* element, const char* name)
{
    NuvoraXML::XIXMLAttribute* attribute = element->FindAttribute(element->GetKey(name));
    if (attribute == nullptr) {
        return false;
    }
    attribute->Delete();
    return true;
}

}  // namespace ScnTest
