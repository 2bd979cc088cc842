// Field lists: each object kind states its fields once, in document order, as a member template
//
//     template <class V>
//     void visitFields(V& v)
//     {
//         v.text("Name", mName, "");
//         v.label("Type", mType, kLightTypes, 0);
//         v.flag("Active", mActive, true);
//         v.real("Power", mPower, 3.0, &LightRules::power);
//         v.integer("UI.Value", mUIValue, 0, kOptional);
//         v.object("Lens.Flare", mLensFlare);
//         v.list("KeyFrames", mKeyFrames);
//     }
//
// and that one list drives the defaults, the XML writing, the XML reading and a textual dump used
// to compare objects. Include this header in a kind's header; it gathers the three parts:
//   model/FieldForms.h     the value forms: label tables, field options, XmlForm (one XML form per
//                          kind of value, for the visitors and for irregular kinds);
//   model/FieldVisitors.h  the four visitors (defaults, writer, reader, dump) and the list helpers;
//   model/FieldWrappers.h  putFieldsInXML / initFieldsWithXML, writeFields / readFields,
//                          setFieldDefaults, and the section lists writeList / readList.
//
// The field forms (name is the item's element or attribute name; O... are trailing options):
//   flag(name, bool&, initial, O...)                     empty child element present when true
//   integer(name, T&, T initial, O...)                   child element, text "%d" (any integer type)
//   real(name, double&, initial, O...)                   child element, text "%lf"
//   text(name, std::string&, const char* initial, O...)  child element with the text in attribute "en"
//   location(name, std::string&, const char* initial, O...)  child element whose text is the location
//   label(name, int32_t&, const LabelTable&, initial, O...)  attribute holding the value's label
//   identifier(name, CScnUUID&, const CScnUUID& initial, O...)  attribute, 32 hexadecimal digits
//   vector(name, CScnVector&, const CScnVector& initial, O...)  child element, attributes X, Y, Z
//   color(name, CScnColor&, const CScnColor& initial, O...)     child element, attributes R, G, B
//   presentColor(name, bool& present, CScnColor&, initial, O...)  a colour written only when present
//   colorArray(name, itemName, CScnColor (&)[N], const CScnColor (&initial)[N], O...)  N items exactly
//   array(name, itemName, T (&)[N], const T (&initial)[N], O...)  N colour, vector or 2D vector
//                                                        items exactly
//   vector2D(name, CScnVector2D&, const CScnVector2D& initial, O...)  child element, attributes X, Y
//   matrix(name, double (&)[16], const double (&initial)[16], O...)  four "Line" children with an
//                                                        "Index" and the text "%lf, %lf, %lf, %lf"
//   hexNumber(name, uint32_t&, uint32_t initial, O...)   attribute, eight hexadecimal digits
//   labelText(name, int32_t&, const LabelTable&, initial, O...)  child element whose text is the label
//   attributeText(name, std::string&, const char* initial, O...)  attribute holding the text
//   children(List&, O...)                                one item element per child object directly
//                                                        in this element (no list element)
//   uuidList(name, TObjectMgr<CScnUUIDX, CScnUUID>&, O...)  list element, one "UUID" child each
//   vectorList(name, itemName, List&, O...)              list element, one itemName child per point
//                                                        (attributes X, Y, Z; List as for list())
//   languageTexts(name, CLanguageTexts&, O...)           child element, one attribute per language
//   date(name, CScnTime&, O...)                          children Month, Day, Hour, Minute, Year
//   place(name, CScnPlace&, O...)                        children Longitude, Latitude, TimeZone, Daylight
//   fragment(name, CXMLFragment&, O...)                  an element kept as it was read
//   object(name, Sub&, O...)                             child element holding Sub's own field list
//   list(name, List&, O...)                              list element holding one item element per
//                                                        child object (named List's item kElementName),
//                                                        each with its kind's field list
//   ownForm(name, Value&, O...)                          a value with its own XML form: Value offers
//                                                        setDefault(), write(parent, name),
//                                                        read(element or null, scene), text()
//                                                        and, for the tests, vary(step)
//   olderPlacement(marker, group)                        items an older layout keeps in this element
// The options (model/FieldForms.h): kOptional, a filter callable, kConvertDefault, kFresh,
// kKeptIdentifier, kFindOrCreate, kStoredMinus128, kOmitEmpty, kDirection, kNoFixUp,
// AlternateName{"Old.Name"}, UnlabelledFailure{"text"} (a label: what writing a value without a
// label fails with).
#ifndef SCN_FIELDS_H
#define SCN_FIELDS_H

#include "model/FieldForms.h"
#include "model/FieldVisitors.h"
#include "model/FieldWrappers.h"

#endif
