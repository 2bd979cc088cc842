// The visitors of field lists. Each object kind states its fields once, in document order, as
//
//     template <class V> void visitFields(V& v) { v.text("Name", mName, ""); ... }
//
// and each visitor below makes one thing of that list: FieldDefaults the defaults, FieldWriter the
// XML writing, FieldReader the XML reading (in the same order, stopping at the first missing
// required item), FieldDumper a textual dump that tests compare. model/Fields.h lists every field
// form; a new form is a member of the same name in each of the four visitors (and in the tests'
// FieldVary).
#ifndef SCN_FIELD_VISITORS_H
#define SCN_FIELD_VISITORS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "ScnBase.h"
#include "ScnHeliodon.h"
#include "ScnXML.h"
#include "model/FieldForms.h"
#include "model/ObjectMgr.h"
#include "model/Uuid.h"
#include "platform/Failure.h"

namespace NvScn {

// Lists of child objects. A list field holds a TObjectMgr<Impl, Iface>, or any container with
// size(), at(index) (a pointer to the item), clear() and append() (a pointer to a new item, null
// when none can be made); a container whose items' kind depends on their element offers
// appendFor(item element) instead of append(). Every item is an object kind with its own field
// list and the static element name kElementName of its items.
namespace FieldLists {

// The item kind of a list.
template <class List>
using ItemOf = std::remove_pointer_t<decltype(std::declval<List&>().at(0))>;

template <class List>
using AppendForCall = decltype(std::declval<List&>().appendFor(std::declval<NuvoraXML::XIXMLElement*>()));

// A new item at the end of the list, made for the item element; fails with the missing-pointer
// error when none can be made.
template <class List>
ItemOf<List>* append(List& list, NuvoraXML::XIXMLElement* item)
{
    if constexpr (FieldOptions::Detected<AppendForCall, List>::value) {
        return Nuvora::checkPointer(list.appendFor(item), nullptr);
    } else {
        (void)item;
        return Nuvora::checkPointer(list.append(), nullptr);
    }
}

}  // namespace FieldLists

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
        if constexpr (FieldOptions::has<ConvertDefaultTag, O...>()) {
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
    template <class List, class... O>
    void list(const char*, List& items, const O&...)
    {
        items.clear();
    }
    template <class List, class... O>
    void vectorList(const char*, const char*, List& items, const O&...)
    {
        items.clear();
    }
    template <class... O>
    void languageTexts(const char*, CLanguageTexts& texts, const O&...)
    {
        texts.clear();
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
    void colorArray(const char* name, const char* itemName, CScnColor (&values)[N],
                    const CScnColor (&initial)[N], const O&... options)
    {
        array(name, itemName, values, initial, options...);
    }
    template <class T, size_t N, class... O>
    void array(const char*, const char*, T (&values)[N], const T (&initial)[N], const O&...)
    {
        for (size_t i = 0; i < N; ++i) {
            values[i] = initial[i];
        }
    }
    template <class... O>
    void vector2D(const char*, CScnVector2D& value, const CScnVector2D& initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void matrix(const char* name, double (&values)[16], const double (&initial)[16], const O&... options)
    {
        array(name, nullptr, values, initial, options...);
    }
    template <class... O>
    void hexNumber(const char*, uint32_t& value, uint32_t initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void labelText(const char*, int32_t& value, const LabelTable&, int32_t initial, const O&...)
    {
        value = initial;
    }
    template <class... O>
    void attributeText(const char*, std::string& value, const char* initial, const O&...)
    {
        value = initial;
    }
    template <class List, class... O>
    void children(List& items, const O&...)
    {
        items.clear();
    }
    template <class Value, class... O>
    void ownForm(const char*, Value& value, const O&...)
    {
        value.setDefault();
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
    void label(const char* name, int32_t& value, const LabelTable& table, int32_t, const O&... options)
    {
        if (const char* failure = FieldOptions::unlabelledFailure(options...)) {
            if (!table.hasLabel(value)) {
                Nuvora::fail(failure);
            }
        }
        XmlForm::addAttribute(mElement, name, table.labelOf(value));
    }
    // With kOmitEmpty the null identifier is not written.
    template <class... O>
    void identifier(const char* name, CScnUUID& value, const CScnUUID&, const O&...)
    {
        if (FieldOptions::has<OmitEmptyTag, O...>() && isNullUuid(value)) {
            return;
        }
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
    // The list element (also for an empty list, unless kOmitEmpty), one item element per object
    // in list order.
    template <class List, class... O>
    void list(const char* name, List& items, const O&...)
    {
        if (FieldOptions::has<OmitEmptyTag, O...>() && items.size() == 0) {
            return;
        }
        NuvoraXML::XIXMLElement* element = XmlForm::addChild(mElement, name);
        const char* itemName = FieldLists::ItemOf<List>::kElementName;
        for (size_t i = 0; i < items.size(); ++i) {
            FieldWriter inner(XmlForm::addChild(element, itemName));
            items.at(i)->visitFields(inner);
        }
    }
    // The list element (also for an empty list, unless kOmitEmpty), one vector item per point.
    template <class List, class... O>
    void vectorList(const char* name, const char* itemName, List& items, const O&...)
    {
        if (FieldOptions::has<OmitEmptyTag, O...>() && items.size() == 0) {
            return;
        }
        NuvoraXML::XIXMLElement* element = XmlForm::addChild(mElement, name);
        for (size_t i = 0; i < items.size(); ++i) {
            XmlForm::writeVector(element, itemName, *items.at(i));
        }
    }
    template <class... O>
    void languageTexts(const char* name, CLanguageTexts& texts, const O&...)
    {
        XmlForm::writeLanguageTexts(mElement, name, texts);
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
    // With kOmitEmpty a fragment without attributes or children is not written.
    template <class Fragment, class... O>
    void fragment(const char* name, Fragment& value, const O&...)
    {
        if (FieldOptions::has<OmitEmptyTag, O...>() && value.element()->GetFirstAttribute() == nullptr &&
            value.element()->GetFirstChild() == nullptr) {
            return;
        }
        value.write(XmlForm::addChild(mElement, name));
    }
    template <class Group>
    void olderPlacement(const char*, Group&&)
    {
    }
    template <class Sub, class... O>
    void object(const char* name, Sub& sub, const O&...)
    {
        FieldWriter inner(XmlForm::childToWrite<O...>(mElement, name));
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
                    const CScnColor (&initial)[N], const O&... options)
    {
        array(name, itemName, values, initial, options...);
    }
    // The list element holding one item per value, in index order.
    template <class T, size_t N, class... O>
    void array(const char* name, const char* itemName, T (&values)[N], const T (&)[N], const O&...)
    {
        NuvoraXML::XIXMLElement* element = XmlForm::addChild(mElement, name);
        for (size_t i = 0; i < N; ++i) {
            writeItem(element, itemName, values[i]);
        }
    }
    template <class... O>
    void vector2D(const char* name, CScnVector2D& value, const CScnVector2D&, const O&...)
    {
        XmlForm::writeVector2D(mElement, name, value);
    }
    template <class... O>
    void matrix(const char* name, double (&values)[16], const double (&)[16], const O&...)
    {
        XmlForm::writeMatrix(mElement, name, values);
    }
    template <class... O>
    void hexNumber(const char* name, uint32_t& value, uint32_t, const O&...)
    {
        XmlForm::writeHex(mElement, name, value);
    }
    template <class... O>
    void labelText(const char* name, int32_t& value, const LabelTable& table, int32_t, const O&...)
    {
        XmlForm::writeLabelText(mElement, name, table.labelOf(value));
    }
    template <class... O>
    void attributeText(const char* name, std::string& value, const char*, const O&...)
    {
        XmlForm::addAttribute(mElement, name, value.c_str());
    }
    // One item element per object directly in this element, in list order.
    template <class List, class... O>
    void children(List& items, const O&...)
    {
        const char* itemName = FieldLists::ItemOf<List>::kElementName;
        for (size_t i = 0; i < items.size(); ++i) {
            FieldWriter inner(XmlForm::addChild(mElement, itemName));
            items.at(i)->visitFields(inner);
        }
    }

    template <class Value, class... O>
    void ownForm(const char* name, Value& value, const O&...)
    {
        value.write(mElement, name);
    }

    // Each channel plus offset, modulo 256; the first byte stays.
    static CScnColor shifted(const CScnColor& value, int offset);
    NuvoraXML::XIXMLElement* element() const { return mElement; }

private:
    static void writeItem(NuvoraXML::XIXMLElement* parent, const char* name, const CScnColor& value)
    {
        XmlForm::writeColor(parent, name, value);
    }
    static void writeItem(NuvoraXML::XIXMLElement* parent, const char* name, const CScnVector& value)
    {
        XmlForm::writeVector(parent, name, value);
    }
    static void writeItem(NuvoraXML::XIXMLElement* parent, const char* name, const CScnVector2D& value)
    {
        XmlForm::writeVector2D(parent, name, value);
    }

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
        if (FieldOptions::has<OptionalTag, O...>() && !present) {
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
        if (const char* text = attribute(name, options...)) {
            value = FieldOptions::filter(table.valueOf(text), options...);
        }
    }
    template <class... O>
    void identifier(const char* name, CScnUUID& value, const CScnUUID& initial, const O&... options)
    {
        if constexpr (FieldOptions::has<KeptIdentifierTag, O...>()) {
            if (!mKeepIdentifiers) {
                return;
            }
            if (const char* text = XmlForm::findAttribute(mElement, name)) {
                value = FieldOptions::filter(XmlForm::parseUuid(text), options...);
            }
        } else if (const char* text = attribute(name, options...)) {
            value = FieldOptions::filter(XmlForm::parseUuid(text), options...);
        } else if (FieldOptions::has<OmitEmptyTag, O...>()) {
            // An identifier left out for being null.
            value = initial;
        }
    }
    template <class... O>
    void vector(const char* name, CScnVector& value, const CScnVector&, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            CScnVector read{};
            if constexpr (FieldOptions::has<NoFixUpTag, O...>()) {
                read = XmlForm::readVector(item, nullptr);
            } else if constexpr (FieldOptions::has<DirectionTag, O...>()) {
                read = XmlForm::readDirection(item, mScene);
            } else {
                read = XmlForm::readVector(item, mScene);
            }
            value = FieldOptions::filter(read, options...);
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
    // The list is emptied and one object appended and read per item element, in document order;
    // a failing item ends the read. With kOmitEmpty an absent list element reads as an empty list.
    template <class List, class... O>
    void list(const char* name, List& items, const O&... options)
    {
        NuvoraXML::XIXMLElement* element = listElement(name, items, options...);
        if (element == nullptr) {
            return;
        }
        const char* itemName = FieldLists::ItemOf<List>::kElementName;
        for (NuvoraXML::XIXMLElement* item = XmlForm::findChild(element, itemName); item != nullptr;
             item = item->GetNextNamesake()) {
            FieldReader inner(item, mScene, mKeepIdentifiers);
            FieldLists::append(items, item)->visitFields(inner);
        }
    }
    // As a list: one point appended per item element, through the scene's vector fix-up.
    template <class List, class... O>
    void vectorList(const char* name, const char* itemName, List& items, const O&... options)
    {
        NuvoraXML::XIXMLElement* element = listElement(name, items, options...);
        if (element == nullptr) {
            return;
        }
        for (NuvoraXML::XIXMLElement* item = XmlForm::findChild(element, itemName); item != nullptr;
             item = item->GetNextNamesake()) {
            CScnVector value = XmlForm::readVector(item, mScene);
            static_cast<CScnVector&>(*FieldLists::append(items, item)) = value;
        }
    }
    template <class... O>
    void languageTexts(const char* name, CLanguageTexts& texts, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readLanguageTexts(item, texts);
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
                    const CScnColor (&initial)[N], const O&... options)
    {
        array(name, itemName, values, initial, options...);
    }
    // Exactly N items (see XmlForm::fixedItems); the values change only when every item reads.
    template <class T, size_t N, class... O>
    void array(const char* name, const char* itemName, T (&values)[N], const T (&)[N], const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            std::vector<NuvoraXML::XIXMLElement*> items = XmlForm::fixedItems(item, itemName, N);
            T read[N];
            for (size_t i = 0; i < N; ++i) {
                read[i] = readItem(items[i], static_cast<T*>(nullptr));
            }
            for (size_t i = 0; i < N; ++i) {
                values[i] = read[i];
            }
        }
    }
    template <class... O>
    void vector2D(const char* name, CScnVector2D& value, const CScnVector2D&, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(XmlForm::readVector2D(item), options...);
        }
    }
    template <class... O>
    void matrix(const char* name, double (&values)[16], const double (&)[16], const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            XmlForm::readMatrix(item, values);
        }
    }
    template <class... O>
    void hexNumber(const char* name, uint32_t& value, uint32_t, const O&... options)
    {
        if (attribute(name, options...) != nullptr) {
            value = FieldOptions::filter(XmlForm::readHex(mElement, name), options...);
        }
    }
    template <class... O>
    void labelText(const char* name, int32_t& value, const LabelTable& table, int32_t, const O&... options)
    {
        if (NuvoraXML::XIXMLElement* item = child(name, options...)) {
            value = FieldOptions::filter(table.valueOf(XmlForm::readLabelText(item)), options...);
        }
    }
    template <class... O>
    void attributeText(const char* name, std::string& value, const char*, const O&... options)
    {
        if (const char* text = attribute(name, options...)) {
            value = FieldOptions::filter(std::string(text), options...);
        }
    }
    // The list is emptied and one object appended and read per item element of this element, in
    // document order; other children are passed over.
    template <class List, class... O>
    void children(List& items, const O&...)
    {
        items.clear();
        const char* itemName = FieldLists::ItemOf<List>::kElementName;
        for (NuvoraXML::XIXMLElement* item = XmlForm::findChild(mElement, itemName); item != nullptr;
             item = item->GetNextNamesake()) {
            FieldReader inner(item, mScene, mKeepIdentifiers);
            FieldLists::append(items, item)->visitFields(inner);
        }
    }

    // The value reads its own element; null when an optional one is absent.
    template <class Value, class... O>
    void ownForm(const char* name, Value& value, const O&... options)
    {
        value.read(child(name, options...), mScene);
    }

    NuvoraXML::XIXMLElement* element() const { return mElement; }
    const CSCN* scene() const { return mScene; }
    bool keepsIdentifiers() const { return mKeepIdentifiers; }

private:
    // The list element of a list field, with items emptied, or null when the list is absent and
    // keeps its items (with kOmitEmpty an absent list reads as an empty one).
    template <class List, class... O>
    NuvoraXML::XIXMLElement* listElement(const char* name, List& items, const O&... options)
    {
        NuvoraXML::XIXMLElement* element = nullptr;
        if constexpr (FieldOptions::has<OmitEmptyTag, O...>()) {
            element = lookup(name, options...);
        } else {
            element = child(name, options...);
        }
        if (element != nullptr || FieldOptions::has<OmitEmptyTag, O...>()) {
            items.clear();
        }
        return element;
    }
    // The item under its name or its older one, or null.
    template <class... O>
    NuvoraXML::XIXMLElement* lookup(const char* name, const O&... options)
    {
        NuvoraXML::XIXMLElement* item = XmlForm::findChild(mElement, name);
        if (const char* older = FieldOptions::alternateName(options...)) {
            if (item == nullptr) {
                item = XmlForm::findChild(mElement, older);
            }
        }
        return item;
    }
    // The item; a missing required one ends the read.
    template <class... O>
    NuvoraXML::XIXMLElement* child(const char* name, const O&... options)
    {
        NuvoraXML::XIXMLElement* item = lookup(name, options...);
        if constexpr (!FieldOptions::has<OptionalTag, O...>()) {
            if (item == nullptr) {
                requireMissing();
            }
        }
        return item;
    }
    // The attribute under its name or its older one, or null; a missing required one ends the read.
    template <class... O>
    const char* attribute(const char* name, const O&... options)
    {
        const char* value = XmlForm::findAttribute(mElement, name);
        if (const char* older = FieldOptions::alternateName(options...)) {
            if (value == nullptr) {
                value = XmlForm::findAttribute(mElement, older);
            }
        }
        if constexpr (!FieldOptions::has<OptionalTag, O...>()) {
            if (value == nullptr) {
                requireMissing();
            }
        }
        return value;
    }
    [[noreturn]] static void requireMissing();
    static CScnColor readItem(NuvoraXML::XIXMLElement* item, CScnColor*) { return XmlForm::readColor(item); }
    CScnVector readItem(NuvoraXML::XIXMLElement* item, CScnVector*) const
    {
        return XmlForm::readVector(item, mScene);
    }
    static CScnVector2D readItem(NuvoraXML::XIXMLElement* item, CScnVector2D*)
    {
        return XmlForm::readVector2D(item);
    }

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
        line(name, vectorText(value));
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
    // "name=[]", or "name=[", each item's fields between "{" and "}" one level in, then "]".
    template <class List, class... O>
    void list(const char* name, List& items, const O&...)
    {
        if (items.size() == 0) {
            line(name, "[]");
            return;
        }
        line(name, "[");
        FieldDumper item(mOut, mDepth + 1);
        for (size_t i = 0; i < items.size(); ++i) {
            item.line("", "{");
            FieldDumper inner(mOut, mDepth + 2);
            items.at(i)->visitFields(inner);
            item.line("", "}");
        }
        line("", "]");
    }
    // "name=[x y z; x y z]".
    template <class List, class... O>
    void vectorList(const char* name, const char*, List& items, const O&...)
    {
        std::string all;
        for (size_t i = 0; i < items.size(); ++i) {
            all += (i == 0 ? "" : "; ") + vectorText(*items.at(i));
        }
        line(name, "[" + all + "]");
    }
    template <class... O>
    void languageTexts(const char* name, CLanguageTexts& texts, const O&...)
    {
        line(name, languageTextsText(texts));
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
    void colorArray(const char* name, const char* itemName, CScnColor (&values)[N],
                    const CScnColor (&initial)[N], const O&... options)
    {
        array(name, itemName, values, initial, options...);
    }
    template <class T, size_t N, class... O>
    void array(const char* name, const char*, T (&values)[N], const T (&)[N], const O&...)
    {
        std::string all;
        for (size_t i = 0; i < N; ++i) {
            all += (i == 0 ? "" : " ") + itemText(values[i]);
        }
        line(name, "[" + all + "]");
    }
    template <class... O>
    void vector2D(const char* name, CScnVector2D& value, const CScnVector2D&, const O&...)
    {
        line(name, realText(value.x) + " " + realText(value.y));
    }
    template <class... O>
    void matrix(const char* name, double (&values)[16], const double (&initial)[16], const O&... options)
    {
        array(name, nullptr, values, initial, options...);
    }
    template <class... O>
    void hexNumber(const char* name, uint32_t& value, uint32_t, const O&...)
    {
        line(name, std::to_string(value));
    }
    template <class... O>
    void labelText(const char* name, int32_t& value, const LabelTable&, int32_t, const O&...)
    {
        line(name, std::to_string(value));
    }
    template <class... O>
    void attributeText(const char* name, std::string& value, const char*, const O&...)
    {
        line(name, '"' + value + '"');
    }
    // Shown as a list named after the item element.
    template <class List, class... O>
    void children(List& items, const O&... options)
    {
        list(FieldLists::ItemOf<List>::kElementName, items, options...);
    }
    template <class Value, class... O>
    void ownForm(const char* name, Value& value, const O&...)
    {
        line(name, value.text());
    }

private:
    void line(const char* name, const std::string& value);
    static std::string realText(double value);
    static std::string vectorText(const CScnVector& value);
    static std::string uuidText(const CScnUUID& value);
    static std::string colorText(const CScnColor& value);
    static std::string itemText(const CScnColor& value) { return colorText(value); }
    static std::string itemText(const CScnVector& value)
    {
        return "(" + realText(value.x) + " " + realText(value.y) + " " + realText(value.z) + ")";
    }
    static std::string itemText(const CScnVector2D& value)
    {
        return "(" + realText(value.x) + " " + realText(value.y) + ")";
    }
    static std::string itemText(double value) { return realText(value); }
    static std::string languageTextsText(const CLanguageTexts& texts);

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

}  // namespace NvScn

#endif
