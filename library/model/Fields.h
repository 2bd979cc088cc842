// Field lists: each object kind states its fields once, in document order, as a member template
//
//     template <class V> void visitFields(V& v)
//     {
//         v.text("Name", mName, "");
//         v.label("Type", mType, kLightTypes, 0);
//         v.flag("Active", mActive, true);
//         v.real("Power", mPower, 3.0, [](double p) { return clampPower(p); });
//         v.integer("UI.Value", mUIValue, 0, kOptional);
//         v.object("Lens.Flare", mLensFlare);
//     }
//
// and the visitors below drive from it the defaults, the XML writing, the XML reading (in the same
// order, stopping at the first missing required item) and a textual dump used to compare objects.
// Trailing options of a field: kOptional (absent on reading keeps the current value; for a flag,
// absence leaves it as it was and presence sets it), a filter callable through which read values pass
// (the setter's range rule), kConvertDefault (a vector default goes through the scene's vector fix-up,
// as the objects made during a load need), kFresh (an identifier's default is a fresh identifier),
// kFindOrCreate (a sub-object shares an existing child element instead of appending its own),
// kStoredMinus128 (a colour held as each file value minus 128), kKeptIdentifier (an identifier
// taken from the file only when the reading context keeps identifiers), kOmitEmpty (an empty
// location is not written), AlternateName{"Old.Name"} (an older element name that reading also
// accepts).
#ifndef SCN_FIELDS_H
#define SCN_FIELDS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "ScnBase.h"
#include "ScnHeliodon.h"
#include "ScnXML.h"
#include "model/Guard.h"
#include "model/ObjectMgr.h"
#include "model/Uuid.h"
#include "platform/Failure.h"

namespace NvScn {

class CSCN;

// One value of an enumeration and its label in the document.
struct LabelEntry {
    int32_t value;
    const char* label;
};

// The labels of an enumeration, in table order; a value may have several labels (the first one is
// written), and the first and last labels name the table in messages.
class LabelTable {
public:
    template <size_t N>
    constexpr LabelTable(const LabelEntry (&entries)[N]) : mEntries(entries), mCount(N)
    {
    }

    // The label written for value; throws "No label for the value (%d) [%s..%s]".
    const char* labelOf(int32_t value) const;
    // The value of a label; throws "Invalid label (%s) [%s..%s]".
    int32_t valueOf(const char* label) const;
    // Whether value has a label.
    bool hasLabel(int32_t value) const;

    const LabelEntry* begin() const { return mEntries; }
    const LabelEntry* end() const { return mEntries + mCount; }

private:
    const LabelEntry* mEntries;
    size_t mCount;
};

// Option: the item may be absent on reading; the field then keeps its value.
struct OptionalTag {};
constexpr OptionalTag kOptional{};
// Option: a vector default goes through the scene's vector fix-up.
struct ConvertDefaultTag {};
constexpr ConvertDefaultTag kConvertDefault{};
// Option: a sub-object writes into the first child of its name, creating it only when absent.
struct FindOrCreateTag {};
constexpr FindOrCreateTag kFindOrCreate{};
// Option: a colour is held as each file value minus 128 (modulo 256).
struct StoredMinus128Tag {};
constexpr StoredMinus128Tag kStoredMinus128{};
// Option: an identifier is read only when the reading context keeps identifiers.
struct KeptIdentifierTag {};
constexpr KeptIdentifierTag kKeptIdentifier{};
// Option: an identifier's default is a fresh one.
struct FreshTag {};
constexpr FreshTag kFresh{};
// Option: a location is written only when it is not empty.
struct OmitEmptyTag {};
constexpr OmitEmptyTag kOmitEmpty{};
// Option: an older name of the item, looked up on reading when the current name is absent.
struct AlternateName {
    const char* name;
};

namespace FieldOptions {

template <class... Options>
constexpr bool isOptional()
{
    return (std::is_same<std::decay_t<Options>, OptionalTag>::value || ...);
}

template <class... Options>
constexpr bool convertsDefault()
{
    return (std::is_same<std::decay_t<Options>, ConvertDefaultTag>::value || ...);
}

template <class Tag, class... Options>
constexpr bool has()
{
    return (std::is_same<std::decay_t<Options>, Tag>::value || ...);
}

inline const char* alternateOne(const AlternateName& option) { return option.name; }
template <class Option>
const char* alternateOne(const Option&)
{
    return nullptr;
}

// The older name given among the options, or null.
template <class... Options>
const char* alternateName(const Options&... options)
{
    const char* name = nullptr;
    ((name = name != nullptr ? name : alternateOne(options)), ...);
    return name;
}

template <class... Options>
constexpr bool drawsFresh()
{
    return (std::is_same<std::decay_t<Options>, FreshTag>::value || ...);
}

template <class T, class Option>
T applyOne(T value, const Option& option)
{
    if constexpr (std::is_invocable_r<T, const Option&, T>::value) {
        return option(value);
    } else {
        return value;
    }
}

// Passes a read value through every filter option, in order.
template <class T, class... Options>
T filter(T value, const Options&... options)
{
    ((value = applyOne(value, options)), ...);
    return value;
}

}  // namespace FieldOptions

// The XML forms every kind uses; each helper names the item it writes or reads.
namespace XmlForm {

using NuvoraXML::XIXMLElement;

// The element itself; fails with the missing-pointer error when it is null.
XIXMLElement* require(XIXMLElement* element);
// The first child element of that name, or null.
XIXMLElement* findChild(XIXMLElement* parent, const char* name);
// The first child element of that name; fails with the missing-pointer error when absent.
XIXMLElement* requireChild(XIXMLElement* parent, const char* name);
// Appends a child element of that name.
XIXMLElement* addChild(XIXMLElement* parent, const char* name);
// Deletes every child element of that name.
void removeChildren(XIXMLElement* parent, const char* name);
// The value of an attribute, or null.
const char* findAttribute(XIXMLElement* element, const char* name);
// Appends an attribute.
void addAttribute(XIXMLElement* element, const char* name, const char* value);
// An element's text; fails with the missing-pointer error when it has none.
const char* requireText(XIXMLElement* element);
// The first child element of that name, appended when there is none.
XIXMLElement* findOrAddChild(XIXMLElement* parent, const char* name);
// Location form: a child element whose text is the location (no text when it is empty).
void writeLocation(XIXMLElement* parent, const char* name, const std::string& location);
// An element's text, empty when it has none.
std::string readLocation(XIXMLElement* element);

void writeInteger(XIXMLElement* parent, const char* name, int32_t value);
int32_t readInteger(XIXMLElement* element);
void writeReal(XIXMLElement* parent, const char* name, double value);
double readReal(XIXMLElement* element);
// Name form: a child element carrying the text in the attribute "en".
void writeName(XIXMLElement* parent, const char* name, const std::string& text);
std::string readName(XIXMLElement* element);
// Vector form: attributes "X", "Y", "Z".
void writeVector(XIXMLElement* parent, const char* name, const CScnVector& value);
// Reads the three attributes and applies the scene's vector fix-up (none without scene).
CScnVector readVector(XIXMLElement* element, const CSCN* scene);
// Colour form: attributes "R", "G", "B"; the older form has children "Red", "Green", "Blue".
void writeColor(XIXMLElement* parent, const char* name, const CScnColor& value);
CScnColor readColor(XIXMLElement* element);
// Identifier form: an attribute holding the 32-digit text.
void writeUuid(XIXMLElement* element, const char* name, const CScnUUID& value);
// Parses an identifier attribute's value; fails with "exception" when it is not 32 digits.
CScnUUID parseUuid(const char* text);
// UUID list form: a list element holding one "UUID" child per identifier.
void writeUuidList(XIXMLElement* parent, const char* name, TObjectMgr<CScnUUIDX, CScnUUID>& list);
void readUuidList(XIXMLElement* element, TObjectMgr<CScnUUIDX, CScnUUID>& list);
// Date form: integer children "Month", "Day", "Hour", "Minute", "Year"; on reading the first four
// are required and "Year" is optional (absent: the year is kept); values go through the setters.
void writeDate(XIXMLElement* parent, const char* name, const CScnTime& time);
void readDate(XIXMLElement* element, CScnTime& time);
// Place form: integer children "Longitude", "Latitude", "TimeZone" and the flag "Daylight".
void writePlace(XIXMLElement* parent, const char* name, const CScnPlace& place);
void readPlace(XIXMLElement* element, CScnPlace& place);
// Fixed-size colour array: a list element holding exactly count colour items in index order;
// reading fails with the missing-pointer error on fewer items and the assertion error on more.
void writeColorArray(XIXMLElement* parent, const char* name, const char* itemName,
                     const CScnColor* values, size_t count);
void readColorArray(XIXMLElement* element, const char* itemName, CScnColor* values, size_t count);
// The element itself when it bears that name, else its first child of that name; fails with the
// missing-pointer error when element is null or has no such child.
XIXMLElement* namedOrChild(XIXMLElement* element, const char* name);

}  // namespace XmlForm

// Sets a time to the machine's current local date and time (the default of every date field).
void setToLocalNow(CScnTime& time);

// Sets every field to its default.
class FieldDefaults {
public:
    explicit FieldDefaults(const CSCN* scene) : mScene(scene) {}

    template <class... O>
    void flag(const char*, bool& value, bool initial, const O&...)
    {
        value = initial;
    }
    template <class T, class... O>
    void integer(const char*, T& value, T initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void real(const char*, double& value, double initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void text(const char*, std::string& value, const char* initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void label(const char*, int32_t& value, const LabelTable&, int32_t initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void identifier(const char*, CScnUUID& value, const CScnUUID& initial, const O&...)
    {
        if constexpr (FieldOptions::has<FreshTag, O...>()) {
            value = newUuid();
        } else {
            value = initial;
        }
    }
    template <class... O>
    void vector(const char*, CScnVector& value, const CScnVector& initial, const O&...)
    {
        value = initial;
        if constexpr (FieldOptions::convertsDefault<O...>()) {
            convert(value);
        }
    }
    template <class... O>
    void color(const char*, CScnColor& value, const CScnColor& initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void uuidList(const char*, TObjectMgr<CScnUUIDX, CScnUUID>& list, const O&...)
    {
        list.clear();
    }
    template <class... O>
    void location(const char*, std::string& value, const char* initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void presentColor(const char*, bool& present, CScnColor& value, const CScnColor& initial, const O&...)
    {
        present = false;
        value = initial;
    }
    template <class Fragment, class... O>
    void fragment(const char*, Fragment& value, const O&...)
    {
        value.clear();
    }
    // The items of an older placement belong to fields stated elsewhere in the list.
    template <class Group>
    void olderPlacement(const char*, Group&&)
    {
    }
    template <class Sub, class... O>
    void object(const char*, Sub& sub, const O&...)
    {
        FieldDefaults inner(mScene);
        sub.visitFields(inner);
    }
    template <class... O>
    void date(const char*, CScnTime& time, const O&...)
    {
        setToLocalNow(time);
    }
    template <class... O>
    void place(const char*, CScnPlace& place, const O&...)
    {
        place.setLongitude(0);
        place.setLatitude(0);
        place.setTimeZone(0);
        place.setDaylight(false);
    }
    template <size_t N, class... O>
    void colorArray(const char*, const char*, CScnColor (&values)[N], const CScnColor (&initial)[N],
                    const O&...)
    {
        for (size_t i = 0; i < N; ++i) {
            values[i] = initial[i];
        }
    }

private:
    void convert(CScnVector& value) const;
    const CSCN* mScene;
};

// Writes every field into an element, in list order.
class FieldWriter {
public:
    explicit FieldWriter(NuvoraXML::XIXMLElement* element) : mElement(element) {}

    template <class... O>
    void flag(const char* name, bool& value, bool, const O&...)
    {
        if (value) {
            XmlForm::addChild(mElement, name);
        }
    }
    template <class T, class... O>
    void integer(const char* name, T& value, T, const O&...)
    {
        XmlForm::writeInteger(mElement, name, static_cast<int32_t>(value));
    }
    template <class... O>
    void real(const char* name, double& value, double, const O&...)
    {
        XmlForm::writeReal(mElement, name, value);
    }
    template <class... O>
    void text(const char* name, std::string& value, const char*, const O&...)
    {
        XmlForm::writeName(mElement, name, value);
    }
    template <class... O>
    void label(const char* name, int32_t& value, const LabelTable& table, int32_t, const O&...)
    {
        XmlForm::addAttribute(mElement, name, table.labelOf(value));
    }
    template <class... O>
    void identifier(const char* name, CScnUUID& value, const CScnUUID&, const O&...)
    {
        XmlForm::writeUuid(mElement, name, value);
    }
    template <class... O>
    void vector(const char* name, CScnVector& value, const CScnVector&, const O&...)
    {
        XmlForm::writeVector(mElement, name, value);
    }
    template <class... O>
    void color(const char* name, CScnColor& value, const CScnColor&, const O&...)
    {
        if constexpr (FieldOptions::has<StoredMinus128Tag, O...>()) {
            XmlForm::writeColor(mElement, name, shifted(value, 128));
        } else {
            XmlForm::writeColor(mElement, name, value);
        }
    }
    template <class... O>
    void uuidList(const char* name, TObjectMgr<CScnUUIDX, CScnUUID>& list, const O&...)
    {
        XmlForm::writeUuidList(mElement, name, list);
    }
    template <class... O>
    void location(const char* name, std::string& value, const char*, const O&...)
    {
        if (!FieldOptions::has<OmitEmptyTag, O...>() || !value.empty()) {
            XmlForm::writeLocation(mElement, name, value);
        }
    }
    template <class... O>
    void presentColor(const char* name, bool& present, CScnColor& value, const CScnColor&, const O&...)
    {
        if (present) {
            XmlForm::writeColor(mElement, name, value);
        }
    }
    template <class Fragment, class... O>
    void fragment(const char* name, Fragment& value, const O&...)
    {
        value.write(XmlForm::addChild(mElement, name));
    }
    template <class Group>
    void olderPlacement(const char*, Group&&)
    {
    }
    template <class Sub, class... O>
    void object(const char* name, Sub& sub, const O&...)
    {
        NuvoraXML::XIXMLElement* element = nullptr;
        if constexpr (FieldOptions::has<FindOrCreateTag, O...>()) {
            element = XmlForm::findOrAddChild(mElement, name);
        } else {
            element = XmlForm::addChild(mElement, name);
        }
        FieldWriter inner(element);
        sub.visitFields(inner);
    }
    template <class... O>
    void date(const char* name, CScnTime& time, const O&...)
    {
        XmlForm::writeDate(mElement, name, time);
    }
    template <class... O>
    void place(const char* name, CScnPlace& place, const O&...)
    {
        XmlForm::writePlace(mElement, name, place);
    }
    template <size_t N, class... O>
    void colorArray(const char* name, const char* itemName, CScnColor (&values)[N],
                    const CScnColor (&)[N], const O&...)
    {
        XmlForm::writeColorArray(mElement, name, itemName, values, N);
    }

    // Each channel plus offset, modulo 256; the first byte stays.
    static CScnColor shifted(const CScnColor& value, int offset);
    NuvoraXML::XIXMLElement* element() const { return mElement; }

private:
    NuvoraXML::XIXMLElement* mElement;
};

// Reads every field from an element, in list order: flags by presence, optional items only when
// present, and the first missing required item ends the read with the missing-pointer error,
// leaving the fields read so far set. Read values pass through the field's filters.
class FieldReader {
public:
    // keepIdentifiers: identifiers marked kKeptIdentifier are taken from the file (the document
    // loader reads so); the objects' own initWithXML reads without.
    FieldReader(NuvoraXML::XIXMLElement* element, const CSCN* scene, bool keepIdentifiers = false)
        : mElement(element), mScene(scene), mKeepIdentifiers(keepIdentifiers)
    {
    }

    template <class... O>
    void flag(const char* name, bool& value, bool, const O&... options)
    {
        bool present = XmlForm::findChild(mElement, name) != nullptr;
        if (FieldOptions::isOptional<O...>() && !present) {
            return;
        }
        value = FieldOptions::filter(present, options...);
    }
    template <class T, class... O>
    void integer(const char* name, T& value, T, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(static_cast<T>(XmlForm::readInteger(item)), options...);
        }
    }
    template <class... O>
    void real(const char* name, double& value, double, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(XmlForm::readReal(item), options...);
        }
    }
    template <class... O>
    void text(const char* name, std::string& value, const char*, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(XmlForm::readName(item), options...);
        }
    }
    template <class... O>
    void label(const char* name, int32_t& value, const LabelTable& table, int32_t, const O&... options)
    {
        if (const char* text = attribute<O...>(name)) {
            value = FieldOptions::filter(table.valueOf(text), options...);
        }
    }
    template <class... O>
    void identifier(const char* name, CScnUUID& value, const CScnUUID&, const O&... options)
    {
        if constexpr (FieldOptions::has<KeptIdentifierTag, O...>()) {
            if (!mKeepIdentifiers) {
                return;
            }
            if (const char* text = XmlForm::findAttribute(mElement, name)) {
                value = FieldOptions::filter(XmlForm::parseUuid(text), options...);
            }
        } else if (const char* text = attribute<O...>(name)) {
            value = FieldOptions::filter(XmlForm::parseUuid(text), options...);
        }
    }
    template <class... O>
    void vector(const char* name, CScnVector& value, const CScnVector&, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(XmlForm::readVector(item, mScene), options...);
        }
    }
    template <class... O>
    void color(const char* name, CScnColor& value, const CScnColor&, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            CScnColor read = XmlForm::readColor(item);
            if constexpr (FieldOptions::has<StoredMinus128Tag, O...>()) {
                read = FieldWriter::shifted(read, -128);
            }
            value = FieldOptions::filter(read, options...);
        }
    }
    template <class... O>
    void uuidList(const char* name, TObjectMgr<CScnUUIDX, CScnUUID>& list, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readUuidList(item, list);
        }
    }
    template <class... O>
    void location(const char* name, std::string& value, const char*, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(XmlForm::readLocation(item), options...);
        }
    }
    // The colour is present when its element is.
    template <class... O>
    void presentColor(const char* name, bool& present, CScnColor& value, const CScnColor&, const O&...)
    {
        NuvoraXML::XIXMLElement* item = XmlForm::findChild(mElement, name);
        present = item != nullptr;
        if (item != nullptr) {
            value = XmlForm::readColor(item);
        }
    }
    template <class Fragment, class... O>
    void fragment(const char* name, Fragment& value, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value.read(item);
        }
    }
    // Items that older documents keep in this element: read through group(reader) only when the
    // marker item is present.
    template <class Group>
    void olderPlacement(const char* marker, Group&& group)
    {
        if (XmlForm::findChild(mElement, marker) != nullptr) {
            group(*this);
        }
    }
    template <class Sub, class... O>
    void object(const char* name, Sub& sub, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            FieldReader inner(item, mScene, mKeepIdentifiers);
            sub.visitFields(inner);
        }
    }
    template <class... O>
    void date(const char* name, CScnTime& time, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readDate(item, time);
        }
    }
    template <class... O>
    void place(const char* name, CScnPlace& place, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readPlace(item, place);
        }
    }
    template <size_t N, class... O>
    void colorArray(const char* name, const char* itemName, CScnColor (&values)[N],
                    const CScnColor (&)[N], const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readColorArray(item, itemName, values, N);
        }
    }

    NuvoraXML::XIXMLElement* element() const { return mElement; }
    const CSCN* scene() const { return mScene; }
    bool keepsIdentifiers() const { return mKeepIdentifiers; }

private:
    template <class... O>
    NuvoraXML::XIXMLElement* child(const char* name, const O&... options)
    {
        NuvoraXML::XIXMLElement* item = XmlForm::findChild(mElement, name);
        if (const char* older = FieldOptions::alternateName(options...)) {
            if (item == nullptr) {
                item = XmlForm::findChild(mElement, older);
            }
        }
        if constexpr (!FieldOptions::isOptional<O...>()) {
            if (item == nullptr) {
                requireMissing();
            }
        }
        return item;
    }
    template <class... O>
    const char* attribute(const char* name)
    {
        const char* value = XmlForm::findAttribute(mElement, name);
        if constexpr (!FieldOptions::isOptional<O...>()) {
            if (value == nullptr) {
                requireMissing();
            }
        }
        return value;
    }
    [[noreturn]] static void requireMissing();

    NuvoraXML::XIXMLElement* mElement;
    const CSCN* mScene;
    bool mKeepIdentifiers;
};

// Renders every field as "name=value" lines, nested objects indented; two objects of a kind hold
// the same values when their dumps are equal.
class FieldDumper {
public:
    explicit FieldDumper(std::string& out, int depth = 0) : mOut(out), mDepth(depth) {}

    template <class... O>
    void flag(const char* name, bool& value, bool, const O&...)
    {
        line(name, value ? "true" : "false");
    }
    template <class T, class... O>
    void integer(const char* name, T& value, T, const O&...)
    {
        line(name, std::to_string(value));
    }
    template <class... O>
    void real(const char* name, double& value, double, const O&...)
    {
        line(name, realText(value));
    }
    template <class... O>
    void text(const char* name, std::string& value, const char*, const O&...)
    {
        line(name, '"' + value + '"');
    }
    template <class... O>
    void label(const char* name, int32_t& value, const LabelTable&, int32_t, const O&...)
    {
        line(name, std::to_string(value));
    }
    template <class... O>
    void identifier(const char* name, CScnUUID& value, const CScnUUID&, const O&...)
    {
        line(name, uuidText(value));
    }
    template <class... O>
    void vector(const char* name, CScnVector& value, const CScnVector&, const O&...)
    {
        line(name, realText(value.x) + " " + realText(value.y) + " " + realText(value.z));
    }
    template <class... O>
    void color(const char* name, CScnColor& value, const CScnColor&, const O&...)
    {
        line(name, colorText(value));
    }
    template <class... O>
    void uuidList(const char* name, TObjectMgr<CScnUUIDX, CScnUUID>& list, const O&...)
    {
        std::string all;
        for (size_t i = 0; i < list.size(); ++i) {
            all += (i == 0 ? "" : " ") + uuidText(*list.at(i));
        }
        line(name, "[" + all + "]");
    }
    template <class... O>
    void location(const char* name, std::string& value, const char*, const O&...)
    {
        line(name, '"' + value + '"');
    }
    template <class... O>
    void presentColor(const char* name, bool& present, CScnColor& value, const CScnColor& initial,
                      const O&... options)
    {
        if (present) {
            color(name, value, initial, options...);
        } else {
            line(name, "absent");
        }
    }
    template <class Fragment, class... O>
    void fragment(const char* name, Fragment& value, const O&...)
    {
        line(name, value.text());
    }
    template <class Group>
    void olderPlacement(const char*, Group&&)
    {
    }
    template <class Sub, class... O>
    void object(const char* name, Sub& sub, const O&...)
    {
        line(name, "{");
        FieldDumper inner(mOut, mDepth + 1);
        sub.visitFields(inner);
        line("", "}");
    }
    template <class... O>
    void date(const char* name, CScnTime& time, const O&...)
    {
        line(name, std::to_string(time.getYear()) + "-" + std::to_string(time.getMonth()) + "-" +
                       std::to_string(time.getDay()) + " " + std::to_string(time.getHour()) + ":" +
                       std::to_string(time.getMinute()));
    }
    template <class... O>
    void place(const char* name, CScnPlace& place, const O&...)
    {
        line(name, std::to_string(place.getLongitude()) + " " + std::to_string(place.getLatitude()) +
                       " " + std::to_string(place.getTimeZone()) +
                       (place.isDaylight() ? " daylight" : " standard"));
    }
    template <size_t N, class... O>
    void colorArray(const char* name, const char*, CScnColor (&values)[N], const CScnColor (&)[N],
                    const O&...)
    {
        std::string all;
        for (size_t i = 0; i < N; ++i) {
            all += (i == 0 ? "" : " ") + colorText(values[i]);
        }
        line(name, "[" + all + "]");
    }

private:
    void line(const char* name, const std::string& value);
    static std::string realText(double value);
    static std::string uuidText(const CScnUUID& value);
    static std::string colorText(const CScnColor& value);

    std::string& mOut;
    int mDepth;
};

// The dump of an object's fields (see FieldDumper).
template <class Object>
std::string dumpFields(Object& object)
{
    std::string out;
    FieldDumper dumper(out);
    object.visitFields(dumper);
    return out;
}

// Appends an element named name under parent, writes the object's fields into it and answers it.
template <class Object>
NuvoraXML::XIXMLElement* writeObject(NuvoraXML::XIXMLElement* parent, const char* name, Object& object)
{
    NuvoraXML::XIXMLElement* element = XmlForm::addChild(Nuvora::checkPointer(parent, nullptr), name);
    FieldWriter writer(element);
    object.visitFields(writer);
    return element;
}

// Reads the object's fields from element when it bears that name, else from its first child of
// that name; fails with the missing-pointer error when there is none.
template <class Object>
void readObject(NuvoraXML::XIXMLElement* element, const char* name, Object& object, const CSCN* scene)
{
    FieldReader reader(XmlForm::namedOrChild(element, name), scene);
    object.visitFields(reader);
}

// The wrapped putInXML of an object kind: appends its element named name under parent; on failure
// reports for where (for example "CScnLight::putInXML") through the object's owner and answers null.
template <class Object>
NuvoraXML::XIXMLElement* putObjectInXML(Object& object, NuvoraXML::XIXMLElement* parent,
                                        const char* name, const char* where)
{
    return guarded(object.getOwner(), where, static_cast<NuvoraXML::XIXMLElement*>(nullptr),
                   [&] { return writeObject(parent, name, object); });
}

// The wrapped initWithXML of an object kind (see readObject); on failure reports for where and
// answers false, the fields read before the failure keeping their new values.
template <class Object>
bool initObjectWithXML(Object& object, NuvoraXML::XIXMLElement* element, const char* name,
                       const char* where)
{
    return guarded(object.getOwner(), where, false, [&] {
        readObject(element, name, object, object.getScene());
        return true;
    });
}

// Generic list form: every element named listName under parent is deleted, one fresh list element
// is appended (also for an empty list), and each object writes its item under it with putInXML.
template <class Impl, class Iface>
NuvoraXML::XIXMLElement* writeList(NuvoraXML::XIXMLElement* parent, const char* listName,
                                   TObjectMgr<Impl, Iface>& list)
{
    XmlForm::removeChildren(parent, listName);
    NuvoraXML::XIXMLElement* element = XmlForm::addChild(parent, listName);
    for (size_t i = 0; i < list.size(); ++i) {
        list.at(i)->putInXML(element);
    }
    return element;
}

// Reads the first list element under parent: when it holds at least one item element, the list is
// emptied and one object is appended and read per item, in document order, by read(object, item);
// otherwise the list is left exactly as it was. Answers the list element, or null.
template <class Impl, class Iface, class Read>
NuvoraXML::XIXMLElement* readList(NuvoraXML::XIXMLElement* parent, const char* listName,
                                  const char* itemName, TObjectMgr<Impl, Iface>& list, Read&& read)
{
    NuvoraXML::XIXMLElement* element = XmlForm::findChild(parent, listName);
    if (element == nullptr) {
        return nullptr;
    }
    NuvoraXML::XIXMLElement* item = XmlForm::findChild(element, itemName);
    if (item == nullptr) {
        return element;
    }
    list.clear();
    for (; item != nullptr; item = item->GetNextNamesake()) {
        if (Impl* object = list.append()) {
            read(*object, item);
        }
    }
    return element;
}

// The same, each object read by its own initWithXML.
template <class Impl, class Iface>
NuvoraXML::XIXMLElement* readList(NuvoraXML::XIXMLElement* parent, const char* listName,
                                  const char* itemName, TObjectMgr<Impl, Iface>& list)
{
    return readList(parent, listName, itemName, list,
                    [](Impl& object, NuvoraXML::XIXMLElement* item) { object.initWithXML(item); });
}

// Appends an element named name under parent (which must exist) and writes the fields into it.
template <class Object>
NuvoraXML::XIXMLElement* writeFields(Object& object, NuvoraXML::XIXMLElement* parent, const char* name)
{
    FieldWriter writer(XmlForm::addChild(XmlForm::require(parent), name));
    object.visitFields(writer);
    return writer.element();
}

// Reads the fields from element (which must exist); see FieldReader for keepIdentifiers.
template <class Object>
void readFields(Object& object, NuvoraXML::XIXMLElement* element, const CSCN* scene,
                bool keepIdentifiers = false)
{
    FieldReader reader(XmlForm::require(element), scene, keepIdentifiers);
    object.visitFields(reader);
}

// Sets every field of an object to its default.
template <class Object>
void setFieldDefaults(Object& object)
{
    FieldDefaults defaults(object.getScene());
    object.visitFields(defaults);
}

// The wrapped putInXML of a kind whose element holds its field list: appends the element named
// name under parent; any failure is reported for where (e.g. "CScnAmbient::putInXML") and answers null.
template <class Object>
NuvoraXML::XIXMLElement* putFieldsInXML(Object& object, NuvoraXML::XIXMLElement* parent, const char* name,
                                        const char* where) noexcept
{
    return guarded(object.getOwner(), where, static_cast<NuvoraXML::XIXMLElement*>(nullptr),
                   [&] { return writeFields(object, parent, name); });
}

// The wrapped initWithXML of such a kind: reads its element; any failure is reported for where
// and answers false, the fields read so far keeping their new values.
template <class Object>
bool initFieldsWithXML(Object& object, NuvoraXML::XIXMLElement* element, const char* where,
                       bool keepIdentifiers = false) noexcept
{
    return guarded(object.getOwner(), where, false, [&] {
        readFields(object, element, object.getScene(), keepIdentifiers);
        return true;
    });
}

}  // namespace NvScn

#endif
