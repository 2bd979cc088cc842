// Object definitions: reusable objects that instances place in a scene. This library version
// keeps their display names by language.
#ifndef SCN_OBJECT_DEFINITION_H
#define SCN_OBJECT_DEFINITION_H

#include <cstddef>
#include <cstdint>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// An object definition with its display name in each language.
class CScnScnObjectDefinition : public TScnFrontier<IScnScnObjectDefinition>, public CScnObject {
public:
    static constexpr const char* kElementName = "Object.Definition";

    explicit CScnScnObjectDefinition(CBaseObjectMgr* owner);

    // Sets the display name for a language code, replacing the one it had; null stores the empty
    // name.
    void setName(int32_t languageCode, const char* text) { mNames.set(languageCode, text); }
    // The display name for a language code, null when there is none.
    const char* getName(int32_t languageCode) const { return mNames.get(languageCode); }
    // Number of languages that have a display name.
    size_t getNameCount() const { return mNames.size(); }

    // The fields of its element that this version holds, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.languageTexts("Name", mNames);
    }

private:
    CLanguageTexts mNames;
};

}  // namespace NvScn

#endif
