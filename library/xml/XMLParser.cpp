#include "xml/XMLParser.h"
#include "xml/XMLParserSteps.h"

#include <cstring>
#include <string>

#include "platform/Failure.h"
#include "platform/Memory.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

using namespace ParserBytes;

namespace {

// Ends a parse quietly (a processing instruction handler said so).
struct StopParse {};

int digitValue(char c, int base)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Encodes a character value of up to 31 bits in UTF-8 (six bytes at most); 0 gives nothing.
size_t encodeUtf8(uint32_t value, unsigned char* out)
{
    if (value == 0) {
        return 0;
    }
    if (value < 0x80u) {
        out[0] = static_cast<unsigned char>(value);
        return 1;
    }
    size_t length;
    unsigned char lead;
    if (value < 0x800u) {
        length = 2;
        lead = 0xC0;
    } else if (value < 0x10000u) {
        length = 3;
        lead = 0xE0;
    } else if (value < 0x200000u) {
        length = 4;
        lead = 0xF0;
    } else if (value < 0x4000000u) {
        length = 5;
        lead = 0xF8;
    } else {
        length = 6;
        lead = 0xFC;
    }
    for (size_t i = length - 1; i > 0; --i) {
        out[i] = static_cast<unsigned char>(0x80u | (value & 0x3Fu));
        value >>= 6;
    }
    out[0] = static_cast<unsigned char>(lead | value);
    return length;
}

}  // namespace

namespace ParserBytes {

// The replacement of an entity the quick steps decode (name runs up to its ";"): one of the five
// named entities, or a character reference in range; answers its length in out (at most 6
// bytes), or -1 for anything else, which the slow steps read again to decide.
int decodeEntity(const unsigned char* name, const unsigned char* semicolon, unsigned char* out)
{
    size_t length = static_cast<size_t>(semicolon - name);
    auto is = [&](const char* word, size_t wordLength) {
        return length == wordLength && std::memcmp(name, word, wordLength) == 0;
    };
    unsigned char named = is("amp", 3) ? '&' : is("lt", 2) ? '<' : is("gt", 2) ? '>' : is("quot", 4) ? '"'
                        : is("apos", 4) ? '\'' : 0;
    if (named != 0) {
        out[0] = named;
        return 1;
    }
    if (length == 0 || name[0] != '#') {
        return -1;
    }
    const unsigned char* digit = name + 1;
    int base = 10;
    if (digit < semicolon && *digit == 'x') {
        base = 16;
        ++digit;
    }
    uint32_t value = 0;
    for (; digit < semicolon; ++digit) {
        int d = digitValue(static_cast<char>(*digit), base);
        uint64_t next = static_cast<uint64_t>(value) * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (d < 0 || next > 0x7FFFFFFFu) {
            return -1;
        }
        value = static_cast<uint32_t>(next);
    }
    return static_cast<int>(encodeUtf8(value, out));
}

}  // namespace ParserBytes

template <uint16_t Stops>
inline void CXMLParser::AppendRun(Buffer& buffer)
{
    // The current character is the byte before the read position; the run is copied while it
    // is scanned, into room for the rest of the input piece.
    const unsigned char* p = mInput + mPos;
    const unsigned char* limit = mInput + mFill;
    size_t room = static_cast<size_t>(limit - p) + 1 + kScanWidth;
    if (buffer.length + room + 1 > buffer.capacity) {
        Reserve(buffer, room);
    }
    char* out = buffer.bytes + buffer.length;
    *out++ = static_cast<char>(mCh);
    const unsigned char* stop = copyRun<Stops>(p, limit, out);
    buffer.length += 1 + static_cast<size_t>(stop - p);
    mPos = static_cast<size_t>(stop - mInput);
    Next();
}

// ---- CXMLCDataStream ----

CXMLCDataStream::CXMLCDataStream(CXMLParser* parser)
    : mParser(parser), mHeld(0), mPendingBrackets(0), mPendingChar(-1), mDone(false)
{
}

int32_t CXMLCDataStream::Read(void* buffer, int32_t length)
{
    if (buffer == nullptr || length <= 0) {
        return 0;
    }
    char* out = static_cast<char*>(buffer);
    int32_t count = 0;
    CXMLParser& parser = *mParser;
    while (count < length) {
        if (mPendingBrackets > 0) {
            out[count++] = ']';
            --mPendingBrackets;
            continue;
        }
        if (mPendingChar >= 0) {
            out[count++] = static_cast<char>(mPendingChar);
            mPendingChar = -1;
            continue;
        }
        if (mDone) {
            break;
        }
        if (mHeld == 0 && parser.mPos < parser.mFill) {
            const unsigned char* start = parser.mInput + parser.mPos;
            size_t take = parser.mFill - parser.mPos;
            size_t room = static_cast<size_t>(length - count);
            if (take > room) {
                take = room;
            }
            const void* bracket = std::memchr(start, ']', take);
            size_t run = bracket != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(bracket) - start) : take;
            if (run > 0) {
                std::memcpy(out + count, start, run);
                count += static_cast<int32_t>(run);
                parser.mPos += run;
                continue;
            }
        }
        int c = parser.Next();
        if (c < 0) {
            Nuvora::fail(Msg::kCDataEnd);
        }
        if (c == ']') {
            if (mHeld < 2) {
                ++mHeld;
            } else {
                mPendingBrackets = 1;
            }
        } else if (c == '>' && mHeld == 2) {
            mHeld = 0;
            mDone = true;
        } else {
            mPendingBrackets = mHeld;
            mHeld = 0;
            mPendingChar = c;
        }
    }
    return count;
}

void CXMLCDataStream::Drain()
{
    char scratch[2048];
    while (Read(scratch, sizeof(scratch)) > 0) {
    }
}

// ---- CXMLParser ----

CXMLParser::CXMLParser()
    : mStream(nullptr), mPos(0), mFill(0), mEnd(false), mCh(-1), mFiltered(false), mNameLength(0),
      mValueLength(0), mHandle(nullptr), mDeclined(false), mFastSteps(&CXMLParser::FastStepsFor<VirtualEvents>)
{
    std::memset(mInput, 0, sizeof(mInput));
}

CXMLParser::~CXMLParser()
{
    Nuvora::release(mName.bytes);
    Nuvora::release(mValue.bytes);
    Nuvora::release(mSkipName.bytes);
}

void CXMLParser::OnComment(const char*) {}

bool CXMLParser::OnPI(const char*, const char*)
{
    return true;
}

void CXMLParser::OnDocType(const char*, const char*, const char*, const char*) {}

void CXMLParser::OnCData(CXMLReadStream* stream)
{
    constexpr int32_t kRequest = 2048;
    mValue.length = 0;
    for (;;) {
        Reserve(mValue, kRequest);
        int32_t got = stream->Read(mValue.bytes + mValue.length, kRequest);
        if (got <= 0) {
            break;
        }
        mValue.length += static_cast<size_t>(got > kRequest ? kRequest : got);
    }
    Terminate(mValue);
    mValueLength = mValue.length;
    OnText(mValue.bytes);
}

bool CXMLParser::OnUnknownEntity(const char*, char*, int32_t)
{
    return false;
}

void CXMLParser::Parse(CXMLReadStream* stream)
{
    Run(stream, false);
}

void CXMLParser::ParseFiltered(CXMLReadStream* stream)
{
    Run(stream, true);
}

void CXMLParser::Run(CXMLReadStream* stream, bool filtered)
{
    if (stream == nullptr || mStream != nullptr) {
        Nuvora::fail();
    }
    struct Idle {
        CXMLParser* parser;
        ~Idle() { parser->mStream = nullptr; }
    } idle{this};
    mStream = stream;
    mPos = 0;
    mFill = 0;
    mEnd = false;
    mCh = -1;
    mFiltered = filtered;
    mHandles.clear();
    try {
        ParseDocument();
    } catch (const StopParse&) {
    }
}

int CXMLParser::Refill()
{
    mPos = 0;
    mFill = 0;
    if (mEnd) {
        return -1;
    }
    int32_t got = mStream->Read(mInput, kInputSize);
    if (got < kInputSize) {
        mEnd = true;
    }
    if (got <= 0) {
        return -1;
    }
    mFill = static_cast<size_t>(got > kInputSize ? kInputSize : got);
    mPos = 1;
    return mInput[0];
}

void CXMLParser::SkipMoreWhitespace()
{
    while (isWhite(mCh)) {
        mPos = static_cast<size_t>(findStop<kWhite, true>(mInput + mPos, mInput + mFill) - mInput);
        Next();
    }
}

bool CXMLParser::TryReserve(Buffer& buffer, size_t capacity)
{
    void* grown = capacity < (static_cast<size_t>(-1) >> 2) ? Nuvora::reallocate(buffer.bytes, capacity) : nullptr;
    if (grown == nullptr) {
        return false;
    }
    buffer.bytes = static_cast<char*>(grown);
    buffer.capacity = capacity;
    return true;
}

void CXMLParser::Reserve(Buffer& buffer, size_t extra)
{
    size_t needed = buffer.length + extra + 1;
    if (needed <= buffer.capacity) {
        return;
    }
    size_t capacity = buffer.capacity == 0 ? 256 : buffer.capacity;
    while (capacity < needed) {
        if (capacity > (static_cast<size_t>(-1) >> 2)) {
            Nuvora::fail(Msg::kCantAllocateBuffer);
        }
        capacity *= 2;
    }
    void* grown = Nuvora::reallocate(buffer.bytes, capacity);
    if (grown == nullptr) {
        Nuvora::fail(Msg::kCantAllocateBuffer);
    }
    buffer.bytes = static_cast<char*>(grown);
    buffer.capacity = capacity;
}

void CXMLParser::CheckNameStart()
{
    if (mCh < 0) {
        Nuvora::fail(Msg::kEndInName);
    }
    // A NUL byte would leave the name empty in the tree, and the tree unwritable.
    if (isNameStop(mCh) || mCh == 0) {
        Nuvora::fail(Msg::kMustBeName);
    }
}

void CXMLParser::ReadName(Buffer& buffer)
{
    CheckNameStart();
    buffer.length = 0;
    for (;;) {
        AppendRun<kNameStop>(buffer);
        if (mCh < 0) {
            Nuvora::fail(Msg::kEndInName);
        }
        if (isNameStop(mCh)) {
            break;
        }
    }
    Terminate(buffer);
}

void CXMLParser::SkipName()
{
    CheckNameStart();
    for (;;) {
        mPos = static_cast<size_t>(findStop<kNameStop>(mInput + mPos, mInput + mFill) - mInput);
        Next();
        if (mCh < 0) {
            Nuvora::fail(Msg::kEndInName);
        }
        if (isNameStop(mCh)) {
            break;
        }
    }
}

void CXMLParser::ReadEntity(Buffer& buffer)
{
    char name[kMaxEntity + 1];
    size_t length = 0;
    for (;;) {
        Next();
        if (mCh < 0) {
            Nuvora::fail(Msg::kEntityEnd);
        }
        if (mCh == ';') {
            break;
        }
        if (length == kMaxEntity) {
            Nuvora::fail(Msg::kEntityTooBig);
        }
        name[length++] = static_cast<char>(mCh);
    }
    name[length] = 0;
    Next();
    if (name[0] == '#') {
        const char* digits = name + 1;
        int base = 10;
        if (*digits == 'x') {
            base = 16;
            ++digits;
        }
        for (const char* p = digits; p < name + length; ++p) {
            if (digitValue(*p, base) < 0) {
                Nuvora::fail(Msg::kBadUnicode);
            }
        }
        uint32_t value = 0;
        for (const char* p = digits; p < name + length; ++p) {
            uint64_t next = static_cast<uint64_t>(value) * static_cast<uint64_t>(base) +
                            static_cast<uint64_t>(digitValue(*p, base));
            if (next > 0x7FFFFFFFu) {
                Nuvora::fail(Msg::kUnicodeTooBig);
            }
            value = static_cast<uint32_t>(next);
        }
        unsigned char bytes[6];
        Append(buffer, bytes, encodeUtf8(value, bytes));
        return;
    }
    char c;
    if (std::strcmp(name, "lt") == 0) {
        c = '<';
    } else if (std::strcmp(name, "amp") == 0) {
        c = '&';
    } else if (std::strcmp(name, "gt") == 0) {
        c = '>';
    } else if (std::strcmp(name, "apos") == 0) {
        c = '\'';
    } else if (std::strcmp(name, "quot") == 0) {
        c = '"';
    } else {
        char replacement[256] = {0};
        if (!OnUnknownEntity(name, replacement, static_cast<int32_t>(sizeof(replacement)))) {
            Nuvora::fail(Msg::kUnrecognizedEntity);
        }
        replacement[sizeof(replacement) - 1] = 0;
        Append(buffer, reinterpret_cast<const unsigned char*>(replacement), std::strlen(replacement));
        return;
    }
    Append(buffer, c);
}

void CXMLParser::ReadAttribute(bool report)
{
    ReadName(mName);
    mNameLength = mName.length;
    SkipWhitespace();
    if (mCh != '=') {
        Nuvora::fail(Msg::kAttributeEquals);
    }
    Next();
    SkipWhitespace();
    if (mCh != '"' && mCh != '\'') {
        Nuvora::fail(Msg::kAttributeQuote);
    }
    int quote = mCh;
    Next();
    if (quote == '"') {
        ReadDelimited<kDoubleStop>(mValue, quote, true, Msg::kEndInAttributeValue);
    } else {
        ReadDelimited<kSingleStop>(mValue, quote, true, Msg::kEndInAttributeValue);
    }
    mValueLength = mValue.length;
    if (report) {
        OnAttribute(mName.bytes, mValue.bytes);
    }
    SkipWhitespace();
}

template <uint16_t Stops>
void CXMLParser::ReadDelimited(Buffer& buffer, int end, bool entities, const char* endOfData)
{
    buffer.length = 0;
    for (;;) {
        if (mCh < 0) {
            Nuvora::fail(endOfData);
        }
        if (mCh == end) {
            break;
        }
        if (entities && mCh == '&') {
            ReadEntity(buffer);
            continue;
        }
        AppendRun<Stops>(buffer);
    }
    Next();
    Terminate(buffer);
}

void CXMLParser::ReadClosed(const char* close, size_t closeLength, const char* endOfData)
{
    mValue.length = 0;
    for (;;) {
        if (mCh < 0) {
            Nuvora::fail(endOfData);
        }
        if (mCh == '>' && mValue.length >= closeLength &&
            std::memcmp(mValue.bytes + mValue.length - closeLength, close, closeLength) == 0) {
            mValue.length -= closeLength;
            break;
        }
        AppendRun<kGreaterStop>(mValue);
    }
    Next();
    Terminate(mValue);
}

void CXMLParser::ReadText()
{
    mValue.length = 0;
    for (;;) {
        if (mCh < 0) {
            Nuvora::fail();
        }
        if (mCh == '<') {
            break;
        }
        if (mCh == '&') {
            ReadEntity(mValue);
            continue;
        }
        AppendRun<kTextStop>(mValue);
    }
    Terminate(mValue);
    mValueLength = mValue.length;
    OnText(mValue.bytes);
}

void CXMLParser::ReadLiteral(Buffer& buffer)
{
    if (mCh != '"' && mCh != '\'') {
        Nuvora::fail(Msg::kLiteralStart);
    }
    int quote = mCh;
    Next();
    if (quote == '"') {
        ReadDelimited<kDoubleQuote>(buffer, quote, false, Msg::kEndInLiteral);
    } else {
        ReadDelimited<kSingleQuote>(buffer, quote, false, Msg::kEndInLiteral);
    }
}

void CXMLParser::ReadComment()
{
    // The current character is the first "-" after "<!".
    Next();
    if (mCh != '-') {
        Nuvora::fail(Msg::kCommentBegin);
    }
    Next();
    ReadClosed("--", 2, Msg::kEndInComment);
    OnComment(mValue.bytes);
}

void CXMLParser::ReadPI()
{
    // The current character is the "?" after "<".
    Next();
    ReadName(mName);
    SkipWhitespace();
    ReadClosed("?", 1, Msg::kEndInPI);
    if (!OnPI(mName.bytes, mValue.bytes)) {
        throw StopParse();
    }
}

void CXMLParser::ReadBang()
{
    // The current character is the "!" after "<".
    Next();
    if (mCh == '-') {
        ReadComment();
    } else if (mCh == '[') {
        ReadCData();
    } else {
        ReadDocType();
    }
}

void CXMLParser::ReadDocType()
{
    ReadName(mName);
    if (std::strcmp(mName.bytes, "DOCTYPE") != 0) {
        Nuvora::fail(Msg::kOnlyDocType);
    }
    SkipWhitespace();
    ReadName(mName);
    std::string name(mName.bytes, mName.length);
    SkipWhitespace();
    std::string publicId;
    std::string systemId;
    std::string subset;
    bool hasPublic = false;
    bool hasSystem = false;
    bool hasSubset = false;
    if (mCh != '[' && mCh != '>') {
        ReadName(mName);
        if (std::strcmp(mName.bytes, "PUBLIC") == 0) {
            SkipWhitespace();
            ReadLiteral(mValue);
            publicId.assign(mValue.bytes, mValue.length);
            hasPublic = true;
            SkipWhitespace();
            ReadLiteral(mValue);
            systemId.assign(mValue.bytes, mValue.length);
            hasSystem = true;
        } else if (std::strcmp(mName.bytes, "SYSTEM") == 0) {
            SkipWhitespace();
            ReadLiteral(mValue);
            systemId.assign(mValue.bytes, mValue.length);
            hasSystem = true;
        } else {
            Nuvora::fail(Msg::kOnlyPublicSystem);
        }
        SkipWhitespace();
    }
    if (mCh == '[') {
        Next();
        ReadDelimited<kBracketStop>(mValue, ']', false, Msg::kEndInDocType);
        subset.assign(mValue.bytes, mValue.length);
        hasSubset = true;
        SkipWhitespace();
    }
    if (mCh != '>') {
        Nuvora::fail(Msg::kDeclarationEnd);
    }
    Next();
    OnDocType(name.c_str(), hasPublic ? publicId.c_str() : nullptr, hasSystem ? systemId.c_str() : nullptr,
              hasSubset ? subset.c_str() : nullptr);
}

void CXMLParser::ReadCData()
{
    // The current character is the "[" after "<!" or "<".
    static const char kTag[] = "CDATA[";
    for (const char* t = kTag; *t != 0; ++t) {
        Next();
        if (mCh != *t) {
            Nuvora::fail(Msg::kMustBeCData);
        }
    }
    CXMLCDataStream stream(this);
    OnCData(&stream);
    stream.Drain();
    Next();
}

void CXMLParser::ReadEndTag()
{
    // The current character follows the end tag's name.
    SkipWhitespace();
    if (mCh != '>') {
        Nuvora::fail();
    }
    Next();
}

void CXMLParser::SkipElementContent()
{
    for (;;) {
        while (mCh != '/') {
            if (mCh < 0) {
                Nuvora::fail(Msg::kEndInSkippedElement);
            }
            const void* slash = std::memchr(mInput + mPos, '/', mFill - mPos);
            mPos = slash != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(slash) - mInput) : mFill;
            Next();
        }
        Next();
        if (mCh == '>' || mCh == '/') {
            continue;
        }
        mName.length = 0;
        while (!isNameStop(mCh)) {
            AppendRun<kNameStop>(mName);
        }
        if (mCh < 0) {
            Nuvora::fail(Msg::kEndInSkippedElement);
        }
        if (mName.length == mSkipName.length && std::memcmp(mName.bytes, mSkipName.bytes, mName.length) == 0) {
            ReadEndTag();
            return;
        }
    }
}

void CXMLParser::ParseElement()
{
    // The current character is the first of the document element's name.
    mHandles.clear();
    Step step = Step::StartTag;
    for (;;) {
        if (!mFiltered) {
            step = (this->*mFastSteps)(step);
        }
        if (step == Step::Done) {
            return;
        }
        step = SlowStep(step);
    }
}

CXMLParser::Step CXMLParser::SlowStep(Step step)
{
    switch (step) {
    case Step::StartTag: {
        // The current character is the first of the element's name.
        ReadName(mName);
        mNameLength = mName.length;
        mHandle = OnStartElement(mName.bytes);
        mDeclined = mFiltered && mHandle == nullptr;
        if (mDeclined) {
            mSkipName.length = 0;
            Append(mSkipName, reinterpret_cast<const unsigned char*>(mName.bytes), mName.length);
        }
        SkipWhitespace();
        return Step::Attributes;
    }
    case Step::Attributes: {
        // The fast steps may stop inside the whitespace before an attribute.
        SkipWhitespace();
        if (mCh != '/' && mCh != '>') {
            ReadAttribute(!mDeclined);
            return Step::Attributes;
        }
        bool open = mCh == '>';
        Next();
        if (!open && mCh != '>') {
            Nuvora::fail(Msg::kBadEmptyClosing);
        }
        if (!open) {
            Next();
        }
        if (open && !mDeclined) {
            mHandles.push_back(mHandle);
        } else {
            if (open) {
                SkipElementContent();
            } else if (!mDeclined) {
                OnEndElement(mHandle);
            }
            SkipWhitespace();
        }
        return Step::Content;
    }
    case Step::Content:
        break;
    case Step::Done:
        return Step::Done;
    }
    // Content of the open elements, one construct, until a child element starts or the document
    // element ends.
    if (mHandles.empty()) {
        return Step::Done;
    }
    SkipWhitespace();
    if (mCh != '<') {
        ReadText();
        return Step::Content;
    }
    Next();
    if (mCh == '/') {
        Next();
        SkipName();
        ReadEndTag();
        void* done = mHandles.back();
        mHandles.pop_back();
        OnEndElement(done);
        SkipWhitespace();
    } else if (mCh == '[') {
        ReadCData();
    } else if (mCh == '!') {
        ReadBang();
    } else if (mCh == '?') {
        ReadPI();
    } else {
        return Step::StartTag;
    }
    return Step::Content;
}

void CXMLParser::ParseDocument()
{
    Next();
    SkipWhitespace();
    if (mCh != '<') {
        Nuvora::fail(Msg::kMustBeginWithLt);
    }
    for (;;) {
        Next();
        if (mCh == '?') {
            ReadPI();
        } else if (mCh == '!') {
            ReadBang();
        } else {
            break;
        }
        SkipWhitespace();
        if (mCh != '<') {
            Nuvora::fail(Msg::kRootMustBeginWithLt);
        }
    }
    ParseElement();
    for (;;) {
        SkipWhitespace();
        if (mCh < 0) {
            return;
        }
        if (mCh != '<') {
            Nuvora::fail(Msg::kOnlyCommentsAndPIs);
        }
        Next();
        if (mCh == '?') {
            ReadPI();
        } else if (mCh == '!') {
            Next();
            if (mCh != '-') {
                Nuvora::fail(Msg::kOnlyCommentsAndPIs);
            }
            ReadComment();
        } else {
            Nuvora::fail(Msg::kOnlyCommentsAndPIs);
        }
    }
}

}  // namespace NuvoraXML
