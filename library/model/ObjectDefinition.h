// Object definitions: reusable objects that instances place in a scene. This library version
// keeps their display names by language.
#ifndef SCN_OBJECT_DEFINITION_H
#define SCN_OBJECT_DEFINITION_H

#include <string>
#include <utility>
#include <vector>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// The language code of a text's first two characters: first * 256 + second, taken as signed
// bytes; a text shorter than two characters ends at its terminator.
int32_t languageCode(const char* text);

// An object definition with its display name in each language.
class CScnScnObjectDefinition : public TScnFrontier<IScnScnObjectDefinition>, public CScnObject {
public:
    explicit CScnScnObjectDefinition(CBaseObjectMgr* owner) : CScnObject(owner) {}

    // Sets the display name for a language code, replacing the one it had.
    void setName(int32_t languageCode, const char* text);
    // The display name for a language code, null when there is none.
    const char* getName(int32_t languageCode) const;
    // Number of languages that have a display name.
    size_t getNameCount() const { return mNames.size(); }

private:
    std::vector<std::pair<int32_t, std::string>> mNames;
};

}  // namespace NvScn

#endif
