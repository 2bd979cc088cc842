#include "Errors.h"
#include "Module.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace KSV {
namespace {

[[noreturn]] void raise(const char* text)
{
    throw std::runtime_error(text);
}

}  // namespace

void throwHostError(GSErrCode error, const char* unit, int line)
{
    char text[512];
    std::snprintf(text, sizeof text, "Error %d at \"%s:%d\"", static_cast<int>(error), unit, line);
    raise(text);
}

void throwNullResult(const char* unit, int line)
{
    char text[512];
    std::snprintf(text, sizeof text, "Pointeur NULL at \"%s:%d\"", unit, line);
    raise(text);
}

void throwAssertion(const char* unit, int line)
{
    char text[512];
    std::snprintf(text, sizeof text, "Assertion failed at \"%s:%d\"", unit, line);
    raise(text);
}

GS::UniString languageCode()
{
    GS::UniString code("def");
    const GSPref::Key* root = GSPref::OpenRootKey(1);
    if (root != nullptr) {
        GS::UniString value;
        if (root->GetValue("language", &value)) {
            code = value;
        }
    }
    return code;
}

int languageIndexOf(const char* code)
{
    struct Entry {
        const char* code;
        int index;
    };
    static const Entry table[] = {
        {"FRA", 1}, {"GER", 2}, {"AUT", 2}, {"CHE", 2}, {"SPA", 3}, {"ITA", 4},
        {"JPN", 5}, {"HUN", 6}, {"RUS", 7}, {"GRE", 8},
    };
    for (const Entry& entry : table) {
        if (code != nullptr && std::strcmp(code, entry.code) == 0) {
            return entry.index;
        }
    }
    return 0;
}

int languageIndex() { return languageIndexOf(languageCode().ToCStr().c_str()); }

ActiveResources::ActiveResources() : mPrevious(RSSetActiveModule(module().resModule)) {}

ActiveResources::~ActiveResources() { RSSetActiveModule(mPrevious); }

GS::UniString getResString(GSResID id, int32_t index)
{
    GS::UniString text;
    bool found = false;
    {
        ActiveResources active;
        found = RSGetIndString(&text, id, index);
    }
    if (!found) {
        raise("String ressource not found");
    }
    return text;
}

void getResString(char* buffer, int32_t bufferSize, GSResID id, int32_t index)
{
    bool found = false;
    {
        ActiveResources active;
        found = RSGetIndString(buffer, bufferSize, id, index);
    }
    if (!found) {
        raise("String ressource not found");
    }
}

}  // namespace KSV
