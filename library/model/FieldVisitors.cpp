#include "model/FieldVisitors.h"

#include <charconv>
#include <string>

#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

void FieldDefaults::convert(CScnVector& value) const
{
    if (mScene != nullptr) {
        mScene->fixVector(value);
    }
}

CScnColor FieldWriter::shifted(const CScnColor& value, int offset)
{
    auto shift = [offset](uint8_t channel) { return static_cast<uint8_t>((channel + offset) & 0xFF); };
    return CScnColor{value.zero, shift(value.red), shift(value.green), shift(value.blue)};
}

void FieldReader::requireMissing()
{
    Nuvora::failNullPointer(nullptr);
}

void FieldDumper::line(const char* name, const std::string& value)
{
    mOut.append(static_cast<size_t>(mDepth) * 2, ' ');
    mOut += name;
    if (*name != '\0') {
        mOut += '=';
    }
    mOut += value;
    mOut += '\n';
}

std::string FieldDumper::realText(double value)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string FieldDumper::vectorText(const CScnVector& value)
{
    return realText(value.x) + " " + realText(value.y) + " " + realText(value.z);
}

std::string FieldDumper::colorText(const CScnColor& value)
{
    return std::to_string(value.zero) + " " + std::to_string(value.red) + " " + std::to_string(value.green) +
           " " + std::to_string(value.blue);
}

std::string FieldDumper::languageTextsText(const CLanguageTexts& texts)
{
    std::string all;
    for (const CLanguageTexts::Entry& entry : texts.entries()) {
        all += (all.empty() ? "" : " ") + std::to_string(entry.first) + "=\"" + entry.second + '"';
    }
    return "[" + all + "]";
}

std::string FieldDumper::uuidText(const CScnUUID& value)
{
    char text[kUuidTextLength + 1];
    uuidToText(value, text);
    return text;
}

}  // namespace NvScn
