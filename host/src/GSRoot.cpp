// Strings, exceptions, preferences, the debug log and memory handles of the host.
#include "GSRoot.h"
#include "HostState.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace cadhost {

std::atomic<HostState*> gHostState{nullptr};

HostState& createHost()
{
    static HostState* state = [] {
        HostState* s = new HostState;
        const char* home = std::getenv("CADHOST_HOME");
        if (home != nullptr && *home != '\0') {
            s->hostFolder = home;
        } else {
            const char* user = std::getenv("HOME");
            s->hostFolder = std::string(user != nullptr && *user != '\0' ? user : "/tmp") + "/.cadhost";
        }
        s->driveRoot = s->hostFolder + "/drives";
        gHostState.store(s, std::memory_order_release);
        return s;
    }();
    return *state;
}

bool readWholeFile(const std::string& path, std::string* content)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    content->clear();
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content->append(buffer, n);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool makeFolders(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void setHostFolder(const std::string& folder)
{
    host().hostFolder = folder;
    host().driveRoot = folder + "/drives";
}
const std::string& hostFolder() { return host().hostFolder; }
void setDriveRoot(const std::string& folder) { host().driveRoot = folder; }
const std::string& driveRoot() { return host().driveRoot; }
void setLanguage(const std::string& code) { host().language = code; }
const std::string& language() { return host().language; }
const std::string& debugLog() { return host().debugLog; }
void clearDebugLog() { host().debugLog.clear(); }
const std::string& transcript() { return host().transcript; }
void clearTranscript() { host().transcript.clear(); }
void appendTranscript(const std::string& text) { host().transcript += text; }

}  // namespace cadhost

namespace GS {

std::u16string Utf8ToUtf16(const std::string& utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        uint32_t code = 0xFFFD;
        std::size_t length = 1;
        if (c < 0x80) {
            code = c;
        } else if (c >= 0xC2 && c <= 0xF4) {
            length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            uint32_t value = c & (0x3F >> (length - 1));
            bool good = i + length <= n;
            for (std::size_t k = 1; good && k < length; ++k) {
                good = (s[i + k] & 0xC0) == 0x80;
                value = (value << 6) | (s[i + k] & 0x3F);
            }
            const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
            if (good && value >= least[length] && value <= 0x10FFFF &&
                (value < 0xD800 || value > 0xDFFF)) {
                code = value;
            } else {
                length = 1;
            }
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        uint32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

UniString::UniString(const char* utf8) : mText(utf8 != nullptr ? Utf8ToUtf16(utf8) : u"") {}

UniString::UniString(const char16_t* utf16) : mText(utf16 != nullptr ? utf16 : u"") {}

std::string UniString::ToCStr() const { return Utf16ToUtf8(mText); }

UniString& UniString::Append(const UniString& other)
{
    mText += other.mText;
    return *this;
}

GSException::GSException(const char* message, const char* file, int line, GSErrCode errorCode)
    : mMessage(message != nullptr ? message : ""),
      mFile(file != nullptr ? file : ""),
      mLine(line),
      mErrorCode(errorCode)
{
}

GSException::~GSException() = default;
const char* GSException::GetName() const { return "GSException"; }
GSException* GSException::Clone() const { return new GSException(*this); }

const NoCauseType NoCause = {};

RootException::RootException(const char* message, const char* file, int line, const NoCauseType&,
                             GSErrCode errorCode)
    : GSException(message, file, line, errorCode)
{
}
const char* RootException::GetName() const { return "RootException"; }
GSException* RootException::Clone() const { return new RootException(*this); }

GeneralException::GeneralException(const char* message, const char* file, int line)
    : RootException(message, file, line, NoCause, Error)
{
}
const char* GeneralException::GetName() const { return "GeneralException"; }
GSException* GeneralException::Clone() const { return new GeneralException(*this); }

OutOfMemoryException::OutOfMemoryException(const char* message, const char* file, int line)
    : RootException(message, file, line, NoCause, ErrMemoryFull)
{
}
const char* OutOfMemoryException::GetName() const { return "OutOfMemoryException"; }
GSException* OutOfMemoryException::Clone() const { return new OutOfMemoryException(*this); }

}  // namespace GS

namespace GSPref {

bool Key::GetValue(const char* name, GS::UniString* value) const
{
    if (name == nullptr || value == nullptr || std::strcmp(name, "language") != 0) {
        return false;
    }
    *value = GS::UniString(cadhost::host().language.c_str());
    return true;
}

Key* OpenRootKey(int32_t rootId)
{
    static Key root;
    return rootId == 1 ? &root : nullptr;
}

}  // namespace GSPref

void DBPrintf(const char* format, ...)
{
    if (format == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
        cadhost::host().debugLog += text;
    }
    va_end(args);
}

// A handle is a pointer to a block whose first word holds the size.
GSHandle BMAllocateHandle(int32_t size, int32_t, int32_t)
{
    if (size < 0) {
        cadhost::host().lastHandleError = ErrParam;
        return nullptr;
    }
    char** handle = new (std::nothrow) char*;
    char* block = handle != nullptr ? static_cast<char*>(std::calloc(1, static_cast<std::size_t>(size) + 16)) : nullptr;
    if (block == nullptr) {
        delete handle;
        cadhost::host().lastHandleError = ErrMemoryFull;
        return nullptr;
    }
    std::memcpy(block, &size, sizeof size);
    *handle = block + 16;
    cadhost::host().lastHandleError = NoError;
    return handle;
}

void BMKillHandle(GSHandle* handle)
{
    if (handle == nullptr || *handle == nullptr) {
        return;
    }
    std::free(**handle - 16);
    delete *handle;
    *handle = nullptr;
    cadhost::host().lastHandleError = NoError;
}

int32_t BMGetHandleSize(GSHandle handle)
{
    if (handle == nullptr) {
        cadhost::host().lastHandleError = ErrParam;
        return 0;
    }
    int32_t size = 0;
    std::memcpy(&size, *handle - 16, sizeof size);
    return size;
}

GSErrCode BMError() { return cadhost::host().lastHandleError; }
