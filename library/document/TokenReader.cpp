#include "document/TokenReader.h"

#include <algorithm>
#include <cstring>

#include "document/TokenChars.h"
#include "document/TokenMessages.h"
#include "document/TokenNumbers.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "platform/Platform.h"

namespace NvScn {

using TokenChars::is;

namespace {

// Bytes kept before the read position when the buffer is refilled, so that a byte or two can
// always be given back.
constexpr size_t kLookBack = 8;
// Largest chunk a reader asks for, whatever its caller requests.
constexpr size_t kLargestChunk = 1 << 20;
// Longest word that readReal examines for "NaN" and "INF".
constexpr size_t kSpecialWordLength = 9;
// Values a table reserves before they arrive.
constexpr size_t kTableReserve = 4096;
constexpr double kSpecialValue = 1e30;
constexpr int32_t kSignedColorLimit = 63;

// The process-wide diagnostics counters of the tokenizer.
int32_t gLine = 1;
int32_t gColumn = 0;
int64_t gBytesRead = 0;

bool equalsIgnoringCase(const std::string& word, const char* expected)
{
    size_t length = std::strlen(expected);
    if (word.size() != length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != expected[i]) {
            return false;
        }
    }
    return true;
}

bool isSpaceOrTab(int c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

// ---- CReader ----

CReader::CReader(CScnStream* stream, CSCN* scene, size_t chunk)
    : mStream(Nuvora::checkPointer(stream, TokenMsg::kNullStream)),
      mScene(scene),
      mChunk(std::clamp<size_t>(chunk, 1, kLargestChunk)),
      mBuffer(kLookBack + mChunk)
{
    mBase = mStream->getPosition();
}

CReader::~CReader()
{
    try {
        sync();
    } catch (...) {
        // A stream that fails to seek while the reader goes away has nobody left to tell.
    }
}

bool CReader::refill()
{
    if (mAtEnd) {
        return false;
    }
    size_t keep = std::min(kLookBack, mEnd);
    if (mMark >= mBase) {
        // Everything from the mark on stays, so that the reader returns there without a seek.
        keep = std::max(keep, mEnd - static_cast<size_t>(mMark - mBase));
        if (keep + mChunk > mBuffer.size()) {
            mBuffer.resize(keep + mChunk);
        }
    }
    std::memmove(mBuffer.data(), mBuffer.data() + mEnd - keep, keep);
    mBase += static_cast<int64_t>(mEnd - keep);
    mPos = keep;
    mEnd = keep;
    int32_t asked = static_cast<int32_t>(std::min<size_t>(mChunk, INT32_MAX));
    int32_t got = mStream->read(mBuffer.data() + keep, asked);
    if (got <= 0) {
        mAtEnd = true;
        return false;
    }
    mEnd += static_cast<size_t>(std::min(got, asked));
    return true;
}

void CReader::seek(int64_t position)
{
    if (position >= mBase && position <= mBase + static_cast<int64_t>(mEnd)) {
        mPos = static_cast<size_t>(position - mBase);
        return;
    }
    mStream->setPosition(position);
    mBase = position;
    mPos = 0;
    mEnd = 0;
    mAtEnd = false;
}

void CReader::sync()
{
    if (mPos != mEnd) {
        mStream->setPosition(getPosition());
    }
    mBase = getPosition();
    mPos = 0;
    mEnd = 0;
    mAtEnd = false;
}

void CReader::warning(const char* text) const
{
    if (mScene != nullptr) {
        mScene->warning(text);
    }
}

void CReader::skipBlanks()
{
    for (;;) {
        int c = get();
        if (c == '#') {
            do {
                c = get();
                if (c < 0) {
                    Nuvora::fail(TokenMsg::kEndOfFileUnexpected);
                }
            } while (!is(c, TokenChars::kLineEnd));
        } else if (!is(c, TokenChars::kSpace)) {
            if (c >= 0) {
                unget();
            }
            return;
        }
    }
}

CScnVector CReader::readVector()
{
    CScnVector vector;
    vector.x = readReal(nullptr);
    vector.y = readReal(nullptr);
    vector.z = readReal(nullptr);
    if (mScene != nullptr) {
        mScene->fixVector(vector);
    }
    return vector;
}

CScnColor CReader::readColor()
{
    uint8_t bytes[3];
    for (uint8_t& byte : bytes) {
        bool hadPoint = false;
        double value = readReal(&hadPoint);
        if (value < 0.0 || value > 255.0) {
            warning(TokenMsg::kInvalidColor);
        }
        if (hadPoint && value <= 1.0) {
            value *= 255.0;
        }
        value = std::clamp(value + 0.25, 0.0, 255.0);
        byte = static_cast<uint8_t>(value);
    }
    return CScnColor{0, bytes[0], bytes[1], bytes[2]};
}

CScnColor CReader::readSignedColor()
{
    uint8_t bytes[3];
    bool clipped = false;
    for (uint8_t& byte : bytes) {
        int32_t value = readInt();
        if (value < -kSignedColorLimit || value > kSignedColorLimit) {
            clipped = true;
            value = std::clamp(value, -kSignedColorLimit, kSignedColorLimit);
        }
        byte = static_cast<uint8_t>(static_cast<int8_t>(value));
    }
    if (clipped) {
        warning(TokenMsg::kInvalidColor);
    }
    return CScnColor{0, bytes[0], bytes[1], bytes[2]};
}

double CReader::readReal(bool* hadPoint)
{
    skipBlanks();
    int c = get();
    bool negative = c == '-';
    if (c == '-' || c == '+') {
        c = get();
    }
    if (is(c, TokenChars::kDigit) || c == '.') {
        mDigits.clear();
        bool point = false;
        for (; is(c, TokenChars::kDigit); c = get()) {
            mDigits.push_back(static_cast<char>(c));
        }
        if (c == '.') {
            point = true;
            mDigits.push_back('.');
            for (c = get(); is(c, TokenChars::kDigit); c = get()) {
                mDigits.push_back(static_cast<char>(c));
            }
        }
        if (c >= 0) {
            unget();
        }
        if (hadPoint != nullptr) {
            *hadPoint = point;
        }
        double value = mDigits.size() > (point ? 1u : 0u)
                           ? TokenNumbers::decimalToDouble(mDigits.data(), mDigits.data() + mDigits.size())
                           : 0.0;
        return negative ? -value : value;
    }
    std::string word;
    while (c >= 0 && !is(c, TokenChars::kSpace)) {
        word.push_back(static_cast<char>(c));
        if (word.size() == kSpecialWordLength) {
            break;
        }
        c = get();
    }
    if (c >= 0 && is(c, TokenChars::kSpace)) {
        unget();
    }
    if (!equalsIgnoringCase(word, "nan") && !equalsIgnoringCase(word, "inf")) {
        Nuvora::fail(TokenMsg::kNotANumber);
    }
    if (hadPoint != nullptr) {
        *hadPoint = true;
    }
    warning(TokenMsg::kNanOrInf);
    return negative ? -kSpecialValue : kSpecialValue;
}

int32_t CReader::readInt()
{
    skipBlanks();
    int c = get();
    bool negative = c == '-';
    if (c == '-' || c == '+') {
        c = get();
    }
    if (!is(c, TokenChars::kDigit)) {
        Nuvora::fail(TokenMsg::kNotANumber);
    }
    uint64_t magnitude = 0;
    for (; is(c, TokenChars::kDigit); c = get()) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        if (magnitude > (negative ? 2147483648ull : 2147483647ull)) {
            Nuvora::fail(TokenMsg::kIntegerOutOfRange);
        }
    }
    if (c == '.') {
        Nuvora::fail(TokenMsg::kNotAnInteger);
    }
    if (c >= 0) {
        unget();
    }
    return negative ? static_cast<int32_t>(0 - magnitude) : static_cast<int32_t>(magnitude);
}

std::unique_ptr<CTable> CReader::readTable(int32_t count)
{
    return std::make_unique<CTable>(count);
}

std::string CReader::readWord()
{
    int c = get();
    while (is(c, TokenChars::kSpace)) {
        c = get();
    }
    std::string word;
    while (c >= 0 && !is(c, TokenChars::kSpace)) {
        word.push_back(static_cast<char>(c));
        c = get();
    }
    if (c >= 0) {
        unget();
    }
    return word;
}

std::string CReader::readQuoted()
{
    std::string text;
    for (;;) {
        int c = get();
        if (c < 0) {
            Nuvora::fail(TokenMsg::kEndOfFileUnexpected);
        }
        if (c == '"') {
            return text;
        }
        if (c == 0x7F) {
            int next = get();
            if (next == '"') {
                c = '"';
            } else if (next >= 0) {
                unget();
            }
        }
        text.push_back(static_cast<char>(c));
    }
}

std::string CReader::readText()
{
    int c = get();
    while (isSpaceOrTab(c)) {
        c = get();
    }
    if (c == '"') {
        return readQuoted();
    }
    std::string text;
    for (;;) {
        if (c < 0) {
            Nuvora::fail(TokenMsg::kEndOfFileUnexpected);
        }
        if (is(c, TokenChars::kLineEnd)) {
            unget();
            return text;
        }
        text.push_back(static_cast<char>(c));
        c = get();
    }
}

void CReader::readToken(CToken& token)
{
    token.type = eTokenEnd;
    token.line = 0;
    token.column = 0;
    token.position = getPosition();
    token.text.clear();
}

void CReader::skipTo(char byte)
{
    for (;;) {
        int c = get();
        if (c < 0) {
            Nuvora::fail(TokenMsg::kEndOfFileUnexpected);
        }
        if (c == static_cast<unsigned char>(byte)) {
            return;
        }
    }
}

bool CReader::isRestOfLineEmpty()
{
    int64_t start = getPosition();
    // The scanned bytes stay in the buffer: a block stream cannot seek back over a long run.
    struct Mark {
        int64_t& mark;
        ~Mark() { mark = -1; }
    } mark{mMark};
    mMark = start;
    int c = get();
    while (isSpaceOrTab(c)) {
        c = get();
    }
    bool empty = c < 0 || c == '#' || is(c, TokenChars::kLineEnd);
    seek(start);
    return empty;
}

std::string CReader::readUnicodeText()
{
    int c = get();
    while (isSpaceOrTab(c)) {
        c = get();
    }
    if (c == 'U') {
        int next = get();
        if (next == '"') {
            return readQuoted();
        }
        if (next >= 0) {
            unget();
        }
    }
    if (c >= 0) {
        unget();
    }
    std::string text = readText();
    return Nuvora::codePageToUtf8(text.data(), text.size());
}

// ---- CTokenReader ----

CTokenReader::CTokenReader(CScnStream* stream, CSCN* scene, size_t chunk)
    : CReader(stream, scene, chunk)
{
}

int CTokenReader::next()
{
    int c = get();
    if (c >= 0) {
        ++gColumn;
        ++gBytesRead;
    }
    return c;
}

void CTokenReader::back()
{
    unget();
    --gColumn;
    --gBytesRead;
}

void CTokenReader::readNumberTail()
{
    int c = next();
    for (; is(c, TokenChars::kDigit); c = next()) {
        mToken.text.push_back(static_cast<char>(c));
    }
    if (c == '.') {
        mToken.text.push_back('.');
        for (c = next(); is(c, TokenChars::kDigit); c = next()) {
            mToken.text.push_back(static_cast<char>(c));
        }
    }
    if (c >= 0) {
        back();
    }
    mToken.type = eTokenNumber;
}

const CToken& CTokenReader::nextToken()
{
    std::string& text = mToken.text;
    for (;;) {
        mToken.position = getPosition();
        mToken.line = gLine;
        mToken.column = gColumn;
        text.clear();
        int c = next();
        if (c < 0) {
            mToken.type = eTokenEnd;
            return mToken;
        }
        if (is(c, TokenChars::kLineEnd)) {
            ++gLine;
            gColumn = 0;
        } else if (c == '#') {
            do {
                c = next();
                if (c < 0) {
                    mToken.type = eTokenEnd;
                    return mToken;
                }
            } while (!is(c, TokenChars::kLineEnd));
            ++gLine;
            gColumn = 0;
        } else if (c == '"') {
            for (c = next(); c != '"'; c = next()) {
                if (c < 0) {
                    text.clear();
                    mToken.type = eTokenEnd;
                    return mToken;
                }
                if (c != 0) {
                    text.push_back(static_cast<char>(c));
                }
            }
            mToken.type = eTokenText;
            return mToken;
        } else if (c == '-') {
            int following = next();
            text.push_back('-');
            if (is(following, TokenChars::kDigit)) {
                back();
                readNumberTail();
            } else if (following == '.') {
                text.push_back('0');
                back();
                readNumberTail();
            } else if (is(following, TokenChars::kLetter)) {
                for (c = following; is(c, TokenChars::kWordTail); c = next()) {
                    text.push_back(static_cast<char>(c));
                }
                if (c >= 0) {
                    back();
                }
                mToken.type = eTokenOption;
            } else {
                if (following >= 0) {
                    back();
                }
                mToken.type = eTokenUnset;
            }
            return mToken;
        } else if (c == '.') {
            text.push_back('0');
            back();
            readNumberTail();
            return mToken;
        } else if (is(c, TokenChars::kLetter)) {
            for (; is(c, TokenChars::kWordTail); c = next()) {
                text.push_back(static_cast<char>(c));
            }
            // The byte that ends a word is consumed.
            if (is(c, TokenChars::kLineEnd)) {
                ++gLine;
                gColumn = 0;
            }
            mToken.type = eTokenWord;
            return mToken;
        } else if (is(c, TokenChars::kDigit)) {
            back();
            readNumberTail();
            return mToken;
        }
    }
}

void CTokenReader::readToken(CToken& token)
{
    const CToken& current = nextToken();
    token.type = current.type;
    token.line = current.line;
    token.column = current.column;
    token.position = current.position;
    token.text.assign(current.text);
}

std::string CTokenReader::readWord()
{
    const CToken& token = nextToken();
    if (token.type != eTokenWord) {
        Nuvora::fail(TokenMsg::kWrongDataType);
    }
    return token.text;
}

std::unique_ptr<CTable> CTokenReader::readTable(int32_t count)
{
    if (count == -1) {
        count = tokenToInt(nextToken());
    }
    if (count < 0) {
        Nuvora::fail(TokenMsg::kInvalidTableLength);
    }
    auto table = std::make_unique<CTable>();
    table->reserve(std::min<size_t>(static_cast<size_t>(count), kTableReserve));
    for (int32_t i = 0; i < count; ++i) {
        table->append(tokenToReal(nextToken()));
    }
    return table;
}

int32_t CTokenReader::tokenToInt(const CToken& token)
{
    int32_t value = 0;
    if (!TokenNumbers::scanInt(token.text.c_str(), value)) {
        Nuvora::fail(TokenMsg::kTokenNotDecimal);
    }
    return value;
}

double CTokenReader::tokenToReal(const CToken& token)
{
    double value = 0.0;
    if (!TokenNumbers::scanDouble(token.text.c_str(), value)) {
        Nuvora::fail(TokenMsg::kTokenNotDouble);
    }
    return value;
}

int32_t CTokenReader::getLine()
{
    return gLine;
}

int32_t CTokenReader::getColumn()
{
    return gColumn;
}

int64_t CTokenReader::getBytesRead()
{
    return gBytesRead;
}

void CTokenReader::resetCounters()
{
    gLine = 1;
    gColumn = 0;
    gBytesRead = 0;
}

}  // namespace NvScn
