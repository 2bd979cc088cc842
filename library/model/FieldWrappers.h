// The wrappers through which object kinds write and read their field lists: the one form of their
// putInXML and initWithXML (putFieldsInXML, initFieldsWithXML), the unguarded steps inside them
// (writeFields, readFields) for the few kinds that add to them, the defaults of a constructor
// (setFieldDefaults), and the list sections of the document (writeList, readList).
//
// A kind names its element once, as a member `static constexpr const char* kElementName`; a kind
// whose element name depends on its state offers `const char* elementName() const` instead.
#ifndef SCN_FIELD_WRAPPERS_H
#define SCN_FIELD_WRAPPERS_H

#include <type_traits>
#include <utility>

#include "ScnXML.h"
#include "model/FieldForms.h"
#include "model/FieldVisitors.h"
#include "model/Guard.h"
#include "model/ObjectMgr.h"

namespace NvScn {

namespace FieldWrapping {

template <class Object>
using ElementNameCall = decltype(std::declval<const Object&>().elementName());

// The scene of an object (its vector fix-up and reports), null for a kind without one.
template <class Object>
auto sceneOf(const Object& object, int) -> decltype(object.getScene())
{
    return object.getScene();
}
template <class Object>
const CSCN* sceneOf(const Object&, long)
{
    return nullptr;
}

}  // namespace FieldWrapping

// The element name of an object: elementName() when its kind has one, else its kElementName.
template <class Object>
const char* elementNameOf(const Object& object)
{
    if constexpr (FieldOptions::Detected<FieldWrapping::ElementNameCall, Object>::value) {
        return object.elementName();
    } else {
        (void)object;
        return Object::kElementName;
    }
}

// Sets every field of an object to its default; the constructor of every kind calls it once its
// sub-objects are made.
template <class Object>
void setFieldDefaults(Object& object)
{
    FieldDefaults defaults(FieldWrapping::sceneOf(object, 0));
    object.visitFields(defaults);
}

// Writes the object's fields into a new child of parent (which must exist) named after the object,
// and answers that element. Options: kFindOrCreate writes into the first child of that name,
// made only when absent; kReplaceExisting first deletes every child of that name and of its
// AlternateName.
template <class Object, class... Options>
NuvoraXML::XIXMLElement* writeFields(Object& object, NuvoraXML::XIXMLElement* parent, const Options&... options)
{
    const char* name = elementNameOf(object);
    XmlForm::require(parent);
    if constexpr (FieldOptions::has<ReplaceExistingTag, Options...>()) {
        XmlForm::removeChildren(parent, name);
        if (const char* older = FieldOptions::alternateName(options...)) {
            XmlForm::removeChildren(parent, older);
        }
    }
    FieldWriter writer(XmlForm::childToWrite<Options...>(parent, name));
    object.visitFields(writer);
    return writer.element();
}

// Reads the object's fields from element, which must exist (see FieldReader for what a read
// does). Options: kNamedOrChild reads from element when it bears the object's element name, else
// from its first child of that name (which must exist); kKeepIdentifiers takes the identifiers
// marked kKeptIdentifier from the file.
template <class Object, class... Options>
void readFields(Object& object, NuvoraXML::XIXMLElement* element, const Options&...)
{
    if constexpr (FieldOptions::has<NamedOrChildTag, Options...>()) {
        element = XmlForm::namedOrChild(element, elementNameOf(object));
    } else {
        XmlForm::require(element);
    }
    FieldReader reader(element, FieldWrapping::sceneOf(object, 0), FieldOptions::has<KeepIdentifiersTag, Options...>());
    object.visitFields(reader);
}

// The putInXML of an object kind: writeFields with its options; a failure is reported for where
// (for example "CScnLight::putInXML") through the object's owner and answers null.
template <class Object, class... Options>
NuvoraXML::XIXMLElement* putFieldsInXML(Object& object, NuvoraXML::XIXMLElement* parent, const char* where,
                                        const Options&... options) noexcept
{
    return guarded(object.getOwner(), where, static_cast<NuvoraXML::XIXMLElement*>(nullptr),
                   [&] { return writeFields(object, parent, options...); });
}

// The initWithXML of an object kind: readFields with its options; a failure is reported for where
// and answers false, the fields read before it keeping their new values.
template <class Object, class... Options>
bool initFieldsWithXML(Object& object, NuvoraXML::XIXMLElement* element, const char* where,
                       const Options&... options) noexcept
{
    return guarded(object.getOwner(), where, false, [&] {
        readFields(object, element, options...);
        return true;
    });
}

// List section form: every element named listName under parent is deleted, one fresh list element
// is appended (also for an empty list), and each object writes its item under it with its own
// putInXML, which reports a failing item and leaves it out. Answers the list element.
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

// Reads the first list element under parent: when it holds at least one item element (named
// Impl::kElementName), the list is emptied and one object is appended and read per item, in
// document order, by read(object, item); otherwise the list is left exactly as it was. Answers
// the list element, or null.
template <class Impl, class Iface, class Read>
NuvoraXML::XIXMLElement* readList(NuvoraXML::XIXMLElement* parent, const char* listName,
                                  TObjectMgr<Impl, Iface>& list, Read&& read)
{
    NuvoraXML::XIXMLElement* element = XmlForm::findChild(parent, listName);
    if (element == nullptr) {
        return nullptr;
    }
    NuvoraXML::XIXMLElement* item = XmlForm::findChild(element, Impl::kElementName);
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

// The same, each object read by its own initWithXML, which reports a failing item; the others
// are read.
template <class Impl, class Iface>
NuvoraXML::XIXMLElement* readList(NuvoraXML::XIXMLElement* parent, const char* listName,
                                  TObjectMgr<Impl, Iface>& list)
{
    return readList(parent, listName, list,
                    [](Impl& object, NuvoraXML::XIXMLElement* item) { object.initWithXML(item); });
}

}  // namespace NvScn

#endif
