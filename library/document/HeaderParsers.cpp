#include "document/HeaderParsers.h"

#include <charconv>
#include <cstring>

#include "document/DocumentMessages.h"
#include "document/PIText.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

constexpr size_t kMaxCreatorLength = 127;
constexpr const char* kLibraryTarget = "Scn";
constexpr const char* kApplicationTarget = "Application";
constexpr const char* kNamePrefix = "name=\"";

constexpr const char* kDecimalForm = "library=\"%lf\" file=\"%lf\" min_version=\"%lf\" safe_version=\"%lf\" ";
constexpr const char* kDottedForm =
    "library=\"%d.%d.%d\" file=\"%lf\" min_version=\"%d.%d.%d\" safe_version=\"%d.%d.%d\" ";

}  // namespace

// ---- CHeaderParser ----

void* CHeaderParser::OnStartElement(const char*)
{
    Nuvora::fail(DocMsg::kXmlButNotScn);
}

void CHeaderParser::OnAttribute(const char*, const char*)
{
    Nuvora::fail(DocMsg::kImpossible);
}

void CHeaderParser::OnText(const char*)
{
    Nuvora::fail(DocMsg::kImpossible);
}

void CHeaderParser::OnEndElement(void*)
{
    Nuvora::fail(DocMsg::kImpossible);
}

// ---- CCheckSCNFile ----

CCheckSCNFile::CCheckSCNFile() : mLibrary{}, mMinimum{}, mSafe{}, mFileMajor(0), mFileMinor(0) {}

void CCheckSCNFile::parseLibraryText(const char* text)
{
    double library = 0.0;
    double file = 0.0;
    double minimum = 0.0;
    double safe = 0.0;
    if (PIText::scan(text, kDecimalForm, &library, &file, &minimum, &safe) >= 2) {
        mLibrary = PIText::versionFromDecimal(library);
        mMinimum = PIText::versionFromDecimal(minimum);
        mSafe = PIText::versionFromDecimal(safe);
    } else {
        int32_t v[9] = {};
        file = 0.0;
        if (PIText::scan(text, kDottedForm, &v[0], &v[1], &v[2], &file, &v[3], &v[4], &v[5], &v[6], &v[7],
                         &v[8]) == 10) {
            mLibrary = PIText::makeVersion(v[0], v[1], v[2]);
            mMinimum = PIText::makeVersion(v[3], v[4], v[5]);
            mSafe = PIText::makeVersion(v[6], v[7], v[8]);
        } else {
            file = 0.0;
        }
    }
    // The tenths carry the same rounding as the versions, so that "5.1" reads as 5.1.
    mFileMajor = PIText::integerPart(file);
    mFileMinor = PIText::integerPart((file - mFileMajor) * 10.0 + 0.0001);
}

bool CCheckSCNFile::OnPI(const char* target, const char* data)
{
    if (std::strcmp(target, kLibraryTarget) != 0) {
        return true;
    }
    parseLibraryText(data != nullptr ? data : "");
    return false;
}

// ---- CCheckSCNCreatorFile ----

bool CCheckSCNCreatorFile::OnPI(const char* target, const char* data)
{
    if (std::strcmp(target, kApplicationTarget) != 0) {
        return true;
    }
    const size_t prefixLength = std::strlen(kNamePrefix);
    if (data != nullptr && std::strncmp(data, kNamePrefix, prefixLength) == 0) {
        const char* name = data + prefixLength;
        size_t length = std::strcspn(name, "\"");
        mCreator.assign(name, length < kMaxCreatorLength ? length : kMaxCreatorLength);
    }
    return false;
}

void describe(char* buffer, int32_t bufferSize, const char* format, int32_t first, int32_t second)
{
    if (buffer == nullptr || bufferSize <= 0) {
        return;
    }
    char text[64];
    char* p = text;
    char* end = text + sizeof text;
    const int32_t values[2] = {first, second};
    int used = 0;
    for (const char* f = format; *f != '\0' && p < end; ++f) {
        if (f[0] == '%' && f[1] == 'd' && used < 2) {
            p = std::to_chars(p, end, values[used++]).ptr;
            ++f;
        } else {
            *p++ = *f;
        }
    }
    size_t length = static_cast<size_t>(p - text);
    size_t room = static_cast<size_t>(bufferSize) - 1;
    if (length > room) {
        length = room;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

}  // namespace NvScn
