#include "model/ObjectDefinition.h"

namespace NvScn {

int32_t languageCode(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    auto first = static_cast<signed char>(text[0]);
    auto second = first != 0 ? static_cast<signed char>(text[1]) : static_cast<signed char>(0);
    return first * 256 + second;
}

void CScnScnObjectDefinition::setName(int32_t code, const char* text)
{
    const char* value = text != nullptr ? text : "";
    for (auto& name : mNames) {
        if (name.first == code) {
            name.second = value;
            return;
        }
    }
    mNames.emplace_back(code, value);
}

const char* CScnScnObjectDefinition::getName(int32_t code) const
{
    for (const auto& name : mNames) {
        if (name.first == code) {
            return name.second.c_str();
        }
    }
    return nullptr;
}

}  // namespace NvScn
