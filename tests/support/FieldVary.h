// Test-side tools for field lists: a visitor that moves every field away from its default, and the
// XML round trip of an object (putInXML, the writer's bytes, the tree reader, initWithXML).
#ifndef SCN_TEST_FIELD_VARY_H
#define SCN_TEST_FIELD_VARY_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Fields.h"
#include "model/Scene.h"
#include "support/TestSupport.h"
#include "support/XmlSupport.h"
#include "xml/XMLNodes.h"

namespace ScnTest {

using NuvoraXML::XIXMLElement;

// Sets every field of a field list to a value other than its default that the field's read filters
// keep as it is, so that a written and re-read object can be compared field by field. Successive
// fields get different values.
class FieldVary {
public:
    template <class... O>
    void flag(const char*, bool& value, bool initial, const O&...)
    {
        value = !initial;
    }
    template <class T, class... O>
    void integer(const char*, T& value, T initial, const O&... options)
    {
        value = pick(initial, static_cast<T>(initial + next()), options...);
    }
    template <class... O>
    void real(const char*, double& value, double initial, const O&... options)
    {
        // Multiples of 1/8 print exactly with six decimals.
        value = pick(initial, 0.125 * next(), options...);
    }
    template <class... O>
    void text(const char*, std::string& value, const char*, const O&...)
    {
        value = "Texte \xC3\xA9t\xC3\xA9 <&\"'> " + std::to_string(next());
    }
    template <class... O>
    void label(const char*, int32_t& value, const NvScn::LabelTable& table, int32_t initial,
               const O&... options)
    {
        value = initial;
        for (const NvScn::LabelEntry& entry : table) {
            if (NvScn::FieldOptions::filter(entry.value, options...) != initial) {
                value = NvScn::FieldOptions::filter(entry.value, options...);
                return;
            }
        }
    }
    template <class... O>
    void identifier(const char*, NvScn::CScnUUID& value, const NvScn::CScnUUID&, const O&...)
    {
        value = NvScn::newUuid();
    }
    template <class... O>
    void vector(const char*, NvScn::CScnVector& value, const NvScn::CScnVector& initial, const O&...)
    {
        value = varied(initial, next());
    }
    template <class... O>
    void color(const char*, NvScn::CScnColor& value, const NvScn::CScnColor& initial, const O&...)
    {
        value = varied(initial, next());
    }
    template <class... O>
    void uuidList(const char*, NvScn::TObjectMgr<NvScn::CScnUUIDX, NvScn::CScnUUID>& list, const O&...)
    {
        list.clear();
        list.append();
        list.append();
    }
    template <class Sub, class... O>
    void object(const char*, Sub& sub, const O&...)
    {
        sub.visitFields(*this);
    }
    // A list gets two items, each varied.
    template <class List, class... O>
    void list(const char*, List& items, const O&...)
    {
        items.clear();
        for (int i = 0; i < 2; ++i) {
            auto* item = items.append();
            ASSERT_NE(item, nullptr);
            item->visitFields(*this);
        }
    }
    // A list of points gets two points, each varied.
    template <class List, class... O>
    void vectorList(const char* name, const char*, List& items, const O&...)
    {
        items.clear();
        for (int i = 0; i < 2; ++i) {
            auto* item = items.append();
            ASSERT_NE(item, nullptr);
            vector(name, *item, NvScn::CScnVector{0.0, 0.0, 0.0});
        }
    }
    // Texts in two languages.
    template <class... O>
    void languageTexts(const char*, NvScn::CLanguageTexts& texts, const O&...)
    {
        texts.clear();
        texts.set(NvScn::languageCode("en"), ("Text <&> " + std::to_string(next())).c_str());
        texts.set(NvScn::languageCode("fr"), ("Texte \xC3\xA9t\xC3\xA9 " + std::to_string(next())).c_str());
    }
    template <class... O>
    void date(const char*, NvScn::CScnTime& time, const O&...)
    {
        varyDate(time);
    }
    template <class... O>
    void place(const char*, NvScn::CScnPlace& place, const O&...)
    {
        varyPlace(place);
    }
    template <size_t N, class... O>
    void colorArray(const char* name, const char* itemName, NvScn::CScnColor (&values)[N],
                    const NvScn::CScnColor (&initial)[N], const O&... options)
    {
        array(name, itemName, values, initial, options...);
    }
    template <class T, size_t N, class... O>
    void array(const char*, const char*, T (&values)[N], const T (&initial)[N], const O&...)
    {
        for (size_t i = 0; i < N; ++i) {
            values[i] = varied(initial[i], next());
        }
    }
    template <class... O>
    void vector2D(const char*, NvScn::CScnVector2D& value, const NvScn::CScnVector2D& initial, const O&...)
    {
        value = varied(initial, next());
    }
    template <class... O>
    void matrix(const char* name, double (&values)[16], const double (&initial)[16], const O&... options)
    {
        array(name, nullptr, values, initial, options...);
    }
    template <class... O>
    void hexNumber(const char*, uint32_t& value, uint32_t initial, const O&...)
    {
        value = initial + 0x10000001u * static_cast<uint32_t>(next());
    }
    template <class... O>
    void labelText(const char* name, int32_t& value, const NvScn::LabelTable& table, int32_t initial,
                   const O&... options)
    {
        label(name, value, table, initial, options...);
    }
    template <class... O>
    void attributeText(const char* name, std::string& value, const char* initial, const O&... options)
    {
        text(name, value, initial, options...);
    }
    template <class List, class... O>
    void children(List& items, const O&... options)
    {
        list(nullptr, items, options...);
    }
    template <class... O>
    void location(const char*, std::string& value, const char*, const O&...)
    {
        value = "file:///C|/Dossier \xC3\xA9t\xC3\xA9/<&>" + std::to_string(next()) + ".tif";
    }
    template <class... O>
    void presentColor(const char*, bool& present, NvScn::CScnColor& value, const NvScn::CScnColor& initial,
                      const O&...)
    {
        present = true;
        value = varied(initial, next());
    }
    // A fragment gains an attribute and a child element with text.
    template <class Fragment, class... O>
    void fragment(const char*, Fragment& value, const O&...)
    {
        addToFragment(value.element(), next());
    }
    template <class Group>
    void olderPlacement(const char*, Group&&)
    {
    }
    template <class Value, class... O>
    void ownForm(const char*, Value& value, const O&...)
    {
        value.vary(next());
    }

private:
    int next() { return ++mCounter; }
    // The candidate through the filters, or, when that lands on the default, the next one, then a
    // hundred times the candidate (for filters that fold small values onto the default).
    template <class T, class... O>
    T pick(T initial, T candidate, const O&... options)
    {
        T value = NvScn::FieldOptions::filter(candidate, options...);
        if (value == initial) {
            value = NvScn::FieldOptions::filter(static_cast<T>(candidate + 1), options...);
        }
        if (value == initial) {
            value = NvScn::FieldOptions::filter(static_cast<T>(candidate * 100), options...);
        }
        return value;
    }
    static void addToFragment(XIXMLElement* element, int step);
    static NvScn::CScnColor varied(const NvScn::CScnColor& initial, int step);
    static NvScn::CScnVector varied(const NvScn::CScnVector& initial, int step)
    {
        return {initial.x + step + 0.5, initial.y - step - 0.25, initial.z + 2 * step + 0.125};
    }
    static NvScn::CScnVector2D varied(const NvScn::CScnVector2D& initial, int step)
    {
        return {initial.x + step + 0.75, initial.y - 2 * step - 0.375};
    }
    // Multiples of 1/8 print exactly with six decimals.
    static double varied(double initial, int step) { return initial + 0.125 * step; }
    static void varyDate(NvScn::CScnTime& time);
    static void varyPlace(NvScn::CScnPlace& place);

    int mCounter = 0;
};

// A fixture holding one scene whose reports are recorded.
class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    RecordingFeedback mFeedback;
    NvScn::CScnMgr* mManager = nullptr;
    NvScn::CSCN* mScene = nullptr;
};

// Moves every field of object away from its default (see FieldVary).
template <class Object>
void varyFields(Object& object)
{
    FieldVary vary;
    object.visitFields(vary);
}

// The bytes of an element named topName holding object's fields, as FieldWriter writes them.
template <class Object>
std::string writeFieldsText(Object& object, const char* topName)
{
    XmlDocument document(topName);
    NvScn::FieldWriter writer(document.top());
    object.visitFields(writer);
    return writeElement(document.top());
}

// Reads the document element of bytes into object's fields with FieldReader; answers the failure
// text, "" when the read completed.
template <class Object>
std::string readFieldsText(const std::string& bytes, Object& object, const NvScn::CSCN* scene = nullptr)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = parseDocument(bytes);
    NvScn::FieldReader reader(documentElement(*tree), scene);
    try {
        object.visitFields(reader);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// A tree with one element under its root, to receive putInXML.
class XmlScratch {
public:
    explicit XmlScratch(const char* parentName = "Test");
    XIXMLElement* parent() { return mParent; }

private:
    NuvoraXML::XCXMLTree mTree;
    XIXMLElement* mParent;
};

// The bytes the XML writer produces for element and its subtree.
// Parses a document with the tree reader; null after a test failure when it does not parse.
// The first element of a parsed document.
XIXMLElement* firstElement(NuvoraXML::XCXMLTree& tree);
// Names of the child elements of element, in order.
std::vector<std::string> childNames(XIXMLElement* element);
// Names of the attributes of element, in order.
std::vector<std::string> attributeNames(XIXMLElement* element);
// The dump of an object whose read stopped at the top-level field stopField: the lines of readDump
// (the values in the file) before that field, then the lines of keptDump (the values the object
// held before the read) from that field on. Both dumps come from objects of the same kind.
std::string expectedStoppedDump(const std::string& readDump, const std::string& keptDump,
                               const char* stopField);
// The dump of an object that read readDump's values except for the top-level fields named in kept
// (with their nested lines), which hold keptDump's values. Both dumps come from objects of one kind.
std::string mergedDump(const std::string& readDump, const std::string& keptDump,
                       const std::vector<std::string>& kept);
// The value lines (not the braces of nested objects) that two dumps of the same kind share.
std::vector<std::string> unchangedLines(const std::string& a, const std::string& b);
// Deletes the attribute named name of element; false when there is none.
bool deleteAttribute(XIXMLElement* element, const char* name);

// A change made to a parsed element before it is read, to test bad or missing input.
using Cut = std::function<void(XIXMLElement*)>;
// Paths name an element below the cut one: "" is the element itself, "A" its first child A, "A/B"
// the first child B of that.
XIXMLElement* elementAt(XIXMLElement* element, const std::string& path);
// Deletes every child named name of the element at path.
Cut removeChildCut(const char* path, const char* name);
// Deletes the attribute name of the element at path.
Cut removeAttributeCut(const char* path, const char* name);
// Sets the attribute name of the element at path to value.
Cut setAttributeCut(const char* path, const char* name, const char* value);
// Sets the text of the element at path.
Cut setTextCut(const char* path, const char* text);

// A setter given a value and the getter that must then answer the expected one.
template <class Object, class T>
struct SetterCase {
    const char* name;
    void (Object::*set)(T);
    T (Object::*get)() const;
    T in;
    T out;
};

// Runs each case on a fresh object from make; disposed of with done.
template <class Object, class T, size_t N, class Make, class Done>
void expectSetterCases(const SetterCase<Object, T> (&cases)[N], Make make, Done done, const char* context)
{
    for (const SetterCase<Object, T>& c : cases) {
        Object* object = make();
        (object->*c.set)(c.in);
        EXPECT_EQ((object->*c.get)(), c.out) << c.name << " " << context;
        done(object);
    }
}

// Writes source with putInXML, serialises and parses it, and reads the parsed element into target
// with initWithXML. Answers the bytes; ok receives initWithXML's result.
template <class Object>
std::string xmlRoundTrip(Object& source, Object& target, bool* ok = nullptr)
{
    XmlScratch scratch;
    XIXMLElement* element = source.putInXML(scratch.parent());
    if (element == nullptr) {
        if (ok != nullptr) {
            *ok = false;
        }
        return std::string();
    }
    std::string bytes = writeElement(element);
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = parseDocument(bytes);
    bool read = tree != nullptr && target.initWithXML(firstElement(*tree));
    if (ok != nullptr) {
        *ok = read;
    }
    return bytes;
}

// Varies every field of source (each must then differ from target's), takes it through the XML round
// trip into target and expects both objects to hold the same values; name labels the failures.
template <class Object>
void expectRoundTrip(Object& source, Object& target, const char* name)
{
    varyFields(source);
    EXPECT_EQ(unchangedLines(NvScn::dumpFields(source), NvScn::dumpFields(target)), std::vector<std::string>{})
        << name;
    bool ok = false;
    std::string bytes = xmlRoundTrip(source, target, &ok);
    EXPECT_TRUE(ok) << name << "\n" << bytes;
    EXPECT_EQ(NvScn::dumpFields(target), NvScn::dumpFields(source)) << name << "\n" << bytes;
}

}  // namespace ScnTest

#endif
