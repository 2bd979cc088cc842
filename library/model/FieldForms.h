// The value forms of field lists: label tables, the options a field line may carry, and the XML
// form of each kind of value (the free functions of XmlForm, which the visitors of
// model/FieldVisitors.h call and which irregular kinds may call themselves).
#ifndef SCN_FIELD_FORMS_H
#define SCN_FIELD_FORMS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "ScnBase.h"
#include "ScnHeliodon.h"
#include "ScnObjects.h"
#include "ScnXML.h"
#include "model/ObjectMgr.h"
#include "model/Uuid.h"

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

// Options of field lines (the trailing arguments of a field) and of the wrappers of
// model/FieldWrappers.h. A callable among a field's options is a filter: read values pass through
// it (the setter's range rule).

// Field option: the item may be absent on reading; the field then keeps its value (a flag: absence
// leaves it, presence sets it).
struct OptionalTag {};
constexpr OptionalTag kOptional{};
// Field option: a vector default goes through the scene's vector fix-up.
struct ConvertDefaultTag {};
constexpr ConvertDefaultTag kConvertDefault{};
// Field and writing option: a sub-object (or the object written by putFieldsInXML) writes into the
// first child of its name, creating it only when absent.
struct FindOrCreateTag {};
constexpr FindOrCreateTag kFindOrCreate{};
// Field option: a colour is held as each file value minus 128 (modulo 256).
struct StoredMinus128Tag {};
constexpr StoredMinus128Tag kStoredMinus128{};
// Field option: an identifier is read only when the reading keeps identifiers (kKeepIdentifiers).
struct KeptIdentifierTag {};
constexpr KeptIdentifierTag kKeptIdentifier{};
// Field option: an identifier's default is a fresh one.
struct FreshTag {};
constexpr FreshTag kFresh{};
// Field option: a location, a list or an identifier is not written at all when it is empty (an
// optional identifier absent on reading is then the null one).
struct OmitEmptyTag {};
constexpr OmitEmptyTag kOmitEmpty{};
// Field option: a vector is a direction: on reading it takes the legacy axis exchange and the
// linear part of the scene's transformation, not its translation.
struct DirectionTag {};
constexpr DirectionTag kDirection{};
// Field option: a vector is neither a point nor a direction (a scale, three angles): it is read as
// stored, without the scene's vector fix-up.
struct NoFixUpTag {};
constexpr NoFixUpTag kNoFixUp{};
// Field and writing option: an older name of the item, looked up on reading when the current name
// is absent, and deleted with the current one by kReplaceExisting.
struct AlternateName {
    const char* name;
};
// Field option of a label: the text that writing a value without a label fails with, in place of
// "No label for the value (%d) [%s..%s]".
struct UnlabelledFailure {
    const char* text;
};
// Writing option: every child of the parent that bears the object's element name (or its older
// name) is deleted before the object is written, so that the parent holds one.
struct ReplaceExistingTag {};
constexpr ReplaceExistingTag kReplaceExisting{};
// Reading option: the fields are read from the element itself when it bears the object's element
// name, else from its first child of that name.
struct NamedOrChildTag {};
constexpr NamedOrChildTag kNamedOrChild{};
// Reading option: identifiers marked kKeptIdentifier are taken from the file (the document loader
// reads so; an object's own initWithXML keeps its identifiers).
struct KeepIdentifiersTag {};
constexpr KeepIdentifiersTag kKeepIdentifiers{};

namespace FieldOptions {

// Whether Tag is among the options.
template <class Tag, class... Options>
constexpr bool has()
{
    return (std::is_same<std::decay_t<Options>, Tag>::value || ...);
}

// The text that the first option of kind Wanted carries in member, or null.
template <class Wanted, class... Options>
const char* firstText(const char* Wanted::*member, const Options&... options)
{
    const char* text = nullptr;
    auto one = [&](const auto& option) {
        if constexpr (std::is_same<std::decay_t<decltype(option)>, Wanted>::value) {
            if (text == nullptr) {
                text = option.*member;
            }
        }
    };
    (void)one;
    (one(options), ...);
    return text;
}

// The older name given among the options, or null.
template <class... Options>
const char* alternateName(const Options&... options)
{
    return firstText<AlternateName>(&AlternateName::name, options...);
}

// The failure text of an unlabelled value given among the options, or null.
template <class... Options>
const char* unlabelledFailure(const Options&... options)
{
    return firstText<UnlabelledFailure>(&UnlabelledFailure::text, options...);
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

// Whether Probe<T> names a valid type, for kinds that offer an optional member.
template <template <class> class Probe, class T, class = void>
struct Detected : std::false_type {};
template <template <class> class Probe, class T>
struct Detected<Probe, T, std::void_t<Probe<T>>> : std::true_type {};

// Passes a read value through every filter option, in order.
template <class T, class... Options>
T filter(T value, const Options&... options)
{
    ((value = applyOne(value, options)), ...);
    return value;
}

}  // namespace FieldOptions

// The language code of a text's first two characters: first * 256 + second, taken as signed
// bytes; a text shorter than two characters ends at its terminator.
int32_t languageCode(const char* text);

// A text given in several languages: one text per language code, kept in the order in which the
// languages were first given.
class CLanguageTexts {
public:
    using Entry = std::pair<int32_t, std::string>;

    // Sets the text of a language, replacing the one it had; a null text stores the empty text.
    void set(int32_t code, const char* text);
    // The text of a language, null when it has none.
    const char* get(int32_t code) const;
    // Number of languages that have a text.
    size_t size() const { return mEntries.size(); }
    void clear() { mEntries.clear(); }
    const std::vector<Entry>& entries() const { return mEntries; }

private:
    std::vector<Entry> mEntries;
};

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
// Language texts form: a child element with one attribute per language, named by the language's
// code (only codes of one or two ASCII letters or digits name an attribute; others are not
// written). Reading replaces the texts by one per attribute, coded by its name's first two
// characters.
void writeLanguageTexts(XIXMLElement* parent, const char* name, const CLanguageTexts& texts);
void readLanguageTexts(XIXMLElement* element, CLanguageTexts& texts);
// The item elements of a fixed-size array, in document order: exactly count children named
// itemName, failing with the missing-pointer error on fewer and the assertion error on more.
std::vector<XIXMLElement*> fixedItems(XIXMLElement* element, const char* itemName, size_t count);
// Reads a direction: the legacy axis exchange and the transformation without its translation.
CScnVector readDirection(XIXMLElement* element, const CSCN* scene);
// Two-dimensional vector form: attributes "X" and "Y", "%lf".
void writeVector2D(XIXMLElement* parent, const char* name, const CScnVector2D& value);
CScnVector2D readVector2D(XIXMLElement* element);
// Hexadecimal identifier form: an attribute holding eight upper-case hexadecimal digits.
void writeHex(XIXMLElement* element, const char* name, uint32_t value);
uint32_t readHex(XIXMLElement* element, const char* name);
// Label text form: a child element whose text is the label of the value in table.
void writeLabelText(XIXMLElement* parent, const char* name, const char* label);
const char* readLabelText(XIXMLElement* element);
// Matrix form: a list element holding four "Line" children, each with an "Index" attribute (0 to 3)
// and the row's four reals as the text "%lf, %lf, %lf, %lf". Reading takes exactly four lines
// (the missing-pointer error on fewer, the assertion error on more), each index once (the
// assertion error for an index out of range or given twice) and four reals per line (the plain
// failure otherwise).
void writeMatrix(XIXMLElement* parent, const char* name, const double* values);
void readMatrix(XIXMLElement* element, double* values);
// The text of the matrix form's line for four reals, the same in every locale.
std::string matrixLineText(const double* row);
// Parses a matrix line into four reals; false when the text is not four reals apart by commas.
bool parseMatrixLine(const char* text, double* row);
// The element itself when it bears that name, else its first child of that name; fails with the
// missing-pointer error when element is null or has no such child.
XIXMLElement* namedOrChild(XIXMLElement* element, const char* name);

// The child of that name that an object writes into: a new one, or with kFindOrCreate among the
// options the first existing one (made only when absent).
template <class... Options>
XIXMLElement* childToWrite(XIXMLElement* parent, const char* name)
{
    if constexpr (FieldOptions::has<FindOrCreateTag, Options...>()) {
        return findOrAddChild(parent, name);
    } else {
        return addChild(parent, name);
    }
}

}  // namespace XmlForm

// Sets a time to the machine's current local date and time (the default of every date field).
void setToLocalNow(CScnTime& time);

}  // namespace NvScn

#endif
