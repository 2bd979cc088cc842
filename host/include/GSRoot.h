// Root services of the CAD host: error codes, Unicode strings, exceptions, resource modules,
// preferences, debug output and memory handles.
#ifndef CADHOST_GSROOT_H
#define CADHOST_GSROOT_H

#include <cstddef>
#include <cstdint>
#include <string>

#define GSROOT_API __attribute__((visibility("default")))

using GSErrCode = int32_t;
using GSResID = int32_t;
using GSResModule = int32_t;
using GSType = uint32_t;
using GSHandle = char**;

// Result codes of the host's services, exceptions and files.
enum : GSErrCode {
    NoError = 0,
    APIERR_GENERAL = static_cast<GSErrCode>(0x81060001),
    APIERR_BADPARS = static_cast<GSErrCode>(0x81060002),
    APIERR_CANCEL = static_cast<GSErrCode>(0x81060003),
    APIERR_BADINDEX = static_cast<GSErrCode>(0x81060004),
    APIERR_BADID = static_cast<GSErrCode>(0x81060005),
    APIERR_NOTMINE = static_cast<GSErrCode>(0x81060006),
    APIERR_MEMFULL = static_cast<GSErrCode>(0x81060007),
    APIERR_DELETED = static_cast<GSErrCode>(0x8106012E),
    APIERR_MISSINGCODE = static_cast<GSErrCode>(0x81060387),
    // Codes carried by the host's exceptions and file results.
    ErrMemoryFull = -7001,
    ErrParam = -7002,
    Error = -7003,
    ErrIO = -7010,
    ErrNotFound = -7011,
    ErrAccessDenied = -7012,
};

// The four-character code of a text such as "GWIN".
constexpr GSType GSFourCC(const char (&code)[5])
{
    return (static_cast<GSType>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<GSType>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<GSType>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<GSType>(static_cast<unsigned char>(code[3]));
}

namespace GS {

// A host Unicode string, held as UTF-16; its 8-bit form is UTF-8 on this platform.
class GSROOT_API UniString {
public:
    UniString() = default;
    UniString(const char* utf8);
    UniString(const char16_t* utf16);
    UniString(const std::u16string& utf16) : mText(utf16) {}

    // The 8-bit (UTF-8) form.
    std::string ToCStr() const;
    const char16_t* ToUStr() const { return mText.c_str(); }
    const std::u16string& Utf16() const { return mText; }
    std::size_t GetLength() const { return mText.size(); }
    bool IsEmpty() const { return mText.empty(); }
    void Clear() { mText.clear(); }
    UniString& Append(const UniString& other);
    UniString& operator+=(const UniString& other) { return Append(other); }
    bool operator==(const UniString& other) const { return mText == other.mText; }
    bool operator!=(const UniString& other) const { return mText != other.mText; }

private:
    std::u16string mText;
};

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
GSROOT_API std::u16string Utf8ToUtf16(const std::string& utf8);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
GSROOT_API std::string Utf16ToUtf8(const std::u16string& utf16);

// The root of the host's exceptions: a message, the source place and an error code.
class GSROOT_API GSException {
public:
    GSException(const char* message = nullptr, const char* file = nullptr, int line = 0,
                GSErrCode errorCode = Error);
    virtual ~GSException();
    virtual const char* GetName() const;
    // A copy on the host heap; the caller deletes it.
    virtual GSException* Clone() const;
    const char* GetMessage() const { return mMessage.c_str(); }
    const char* GetFile() const { return mFile.c_str(); }
    int GetLine() const { return mLine; }
    GSErrCode GetErrorCode() const { return mErrorCode; }

private:
    std::string mMessage;
    std::string mFile;
    int mLine;
    GSErrCode mErrorCode;
};

// The cause given to exceptions that have none.
struct NoCauseType {};
GSROOT_API extern const NoCauseType NoCause;

// The base of exceptions raised by host services and add-ons.
class GSROOT_API RootException : public GSException {
public:
    RootException(const char* message, const char* file, int line, const NoCauseType& cause,
                  GSErrCode errorCode);
    const char* GetName() const override;
    GSException* Clone() const override;
};

// A general failure (error code -7003).
class GSROOT_API GeneralException : public RootException {
public:
    GeneralException(const char* message = nullptr, const char* file = nullptr, int line = 0);
    const char* GetName() const override;
    GSException* Clone() const override;
};

// Memory could not be had.
class GSROOT_API OutOfMemoryException : public RootException {
public:
    OutOfMemoryException(const char* message = nullptr, const char* file = nullptr, int line = 0);
    const char* GetName() const override;
    GSException* Clone() const override;
};

}  // namespace GS

// Resource modules: the numbered resources of an add-on module.
GSROOT_API extern const GSResModule InvalidResModule;   // -1
GSROOT_API extern const GSResModule ActiveResModule;    // -2: the module made active
GSROOT_API extern const GSResModule HostResModule;      // 0: the host's own resources

// Registers the resources held in the module file at that path; InvalidResModule when it has none.
GSROOT_API GSResModule RSAddModule(const char* modulePath);
// Forgets a registered module.
GSROOT_API void RSRemoveModule(GSResModule module);
// Makes the module active and answers the previously active one.
GSROOT_API GSResModule RSSetActiveModule(GSResModule module);
GSROOT_API GSResModule RSGetActiveModule();
// Item index (1-based) of string list resID; false when the list or the item is missing.
GSROOT_API bool RSGetIndString(GS::UniString* text, GSResID resID, int32_t index,
                               GSResModule module = ActiveResModule);
// The 8-bit form into a buffer of that size; false when missing or when it does not fit.
GSROOT_API bool RSGetIndString(char* buffer, int32_t bufferSize, GSResID resID, int32_t index,
                               GSResModule module = ActiveResModule);

// Preferences of the host.
namespace GSPref {

// One key of the host's preferences tree.
class GSROOT_API Key {
public:
    // The text value of a name; false when the key has no such value.
    bool GetValue(const char* name, GS::UniString* value) const;
};

// Root key 1 holds the host-wide values (among them "language").
GSROOT_API Key* OpenRootKey(int32_t rootId);

}  // namespace GSPref

// Writes a formatted line into the host's debug log.
GSROOT_API void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Memory handles of the host.
GSROOT_API GSHandle BMAllocateHandle(int32_t size, int32_t flags, int32_t reserved);
GSROOT_API void BMKillHandle(GSHandle* handle);
GSROOT_API int32_t BMGetHandleSize(GSHandle handle);
// The result of the last handle operation.
GSROOT_API GSErrCode BMError();

#endif
