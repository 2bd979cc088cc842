#include <algorithm>
#include <cfloat>
#include <cstring>
#include <memory>
#include <new>

#include "document/GeometryBlock.h"
#include "document/GeometryProgress.h"
#include "document/TokenChars.h"
#include "document/TokenMessages.h"
#include "document/TokenNumbers.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

// Bytes asked of the CDATA stream per read.
constexpr int32_t kChunk = 1024;
// Initial buffer; it grows only for a single token longer than that.
constexpr size_t kInitialCapacity = 64 * 1024;
// Declared counts are not trusted: tables reserve at most this many entries before the data
// arrives, loops at most kVertexReserve vertices.
constexpr uint32_t kTableReserve = 256 * 1024;
constexpr uint32_t kVertexReserve = 1024;
constexpr int32_t kPlausibleCount = 9999999;
constexpr double kSpecialValue = 1e30;

bool isSpace(char c)
{
    return TokenChars::kTable[static_cast<unsigned char>(c)] & TokenChars::kSpace;
}

bool isDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

// Whether the three bytes spell the word in either case letter by letter.
bool spells(const char* bytes, const char* lowerWord)
{
    for (int i = 0; i < 3; ++i) {
        if ((bytes[i] | 0x20) != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

float toFloat(double value)
{
    return static_cast<float>(std::clamp(value, static_cast<double>(-FLT_MAX),
                                         static_cast<double>(FLT_MAX)));
}

// Bytes after the data that are always readable: the terminating NUL, then room for reading
// eight bytes at once from any position up to it.
constexpr size_t kPadding = 16;

// Inlined into the token loops, which run once per number.
#define SCN_HOT inline __attribute__((always_inline))

// The value of eight ASCII digits in memory order (the first is the most significant).
SCN_HOT uint64_t eightDigits(uint64_t chunk)
{
    chunk -= 0x3030303030303030ull;
    chunk = chunk * 10 + (chunk >> 8);
    return (((chunk & 0x000000FF000000FFull) * 0x000F424000000064ull) +
            (((chunk >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >> 32;
}

// Reads the run of decimal digits at p, which a non-digit ends within the readable bytes;
// answers its length and its value (meaningful up to 19 digits).
SCN_HOT size_t scanDigits(const char* p, uint64_t& value)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    uint64_t chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    uint64_t nonDigits =
        ((chunk + 0x4646464646464646ull) | (chunk - 0x3030303030303030ull)) & 0x8080808080808080ull;
    if (nonDigits != 0) {
        // Only the bytes before the first non-digit count; the others become leading zeros.
        size_t length = static_cast<size_t>(__builtin_ctzll(nonDigits)) >> 3;
        size_t shift = 8 * (8 - length);
        value = length == 0 ? 0 : eightDigits((chunk << shift) | (0x3030303030303030ull >> (64 - shift)));
        return length;
    }
    value = eightDigits(chunk);
    size_t length = 8;
#else
    value = 0;
    size_t length = 0;
#endif
    while (isDigit(p[length])) {
        value = value * 10 + static_cast<uint64_t>(p[length++] - '0');
    }
    return length;
}

// Powers of ten that doubles hold exactly, and more.
constexpr double kPowersOfTen[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

// Reads the run of fewer than eight decimal digits at p, as scanDigits; 0 for a longer run (or
// none).
SCN_HOT size_t scanShortDigits(const char* p, uint64_t& value)
{
    size_t length = scanDigits(p, value);
    return length < 8 ? length : 0;
}

// The tokens of a CDATA section, with the block rules: a token always lies whole in the
// buffer, so reals convert in place.
class CBlockInput {
public:
    CBlockInput(NuvoraXML::CXMLReadStream* stream, CSCN* scene)
        : mStream(Nuvora::checkPointer(stream, TokenMsg::kNullBlockStream)),
          mScene(scene),
          mCapacity(kInitialCapacity),
          mData(new char[kInitialCapacity + kPadding]())
    {
    }

    // Skips whitespace; answers the next byte without consuming it, -1 at the end.
    SCN_HOT int peekAfterSpace()
    {
        for (;;) {
            const char* p = mData.get() + mPos;
            while (isSpace(*p)) {
                ++p;
            }
            mPos = static_cast<size_t>(p - mData.get());
            if (mPos < mEnd) {
                return static_cast<unsigned char>(*p);
            }
            if (!more(mPos)) {
                return -1;
            }
        }
    }

    // Consumes the byte that peekAfterSpace answered.
    void skip() { ++mPos; }

    SCN_HOT int32_t readInt()
    {
        int c = peekAfterSpace();
        int32_t fast = 0;
        return fastInt(fast) ? fast : readIntSlowly(c);
    }

    SCN_HOT double readReal()
    {
        int c = peekAfterSpace();
        double fast = 0.0;
        return fastReal(fast) ? fast : readRealSlowly(c);
    }

    // Reads a point of three reals of the common form (an optional minus, one to seven digits, a
    // point, one to seven digits), each ending before the end of the buffer; false (nothing read)
    // for any other.
    SCN_HOT bool readPlainPoint(CScnVector& point)
    {
        const char* p = mData.get() + mPos;
        const char* end = mData.get() + mEnd;
        double* coordinates[] = {&point.x, &point.y, &point.z};
        for (double* coordinate : coordinates) {
            while (isSpace(*p)) {
                ++p;
            }
            bool negative = *p == '-';
            p += negative;
            uint64_t whole = 0;
            size_t wholeLength = scanShortDigits(p, whole);
            if (wholeLength == 0 || p[wholeLength] != '.') {
                return false;
            }
            p += wholeLength + 1;
            uint64_t fraction = 0;
            size_t fractionLength = scanShortDigits(p, fraction);
            if (fractionLength == 0 || p + fractionLength >= end) {
                return false;
            }
            p += fractionLength;
            // As the general reading converts: exactly, then one correctly rounded division.
            double magnitude = static_cast<double>(whole * static_cast<uint64_t>(kPowersOfTen[fractionLength]) + fraction) /
                               kPowersOfTen[fractionLength];
            *coordinate = negative ? -magnitude : magnitude;
        }
        mPos = static_cast<size_t>(p - mData.get());
        return true;
    }

    // Reads up to count vertices that are plain point indices (up to seven digits, no sign, no
    // marker) into the records at out, and stops before the first token that needs the general
    // reading (or that may go on past the buffer); answers how many it read.
    SCN_HOT uint32_t readPlainIndices(CScnVertex* out, uint32_t count)
    {
        const char* p = mData.get() + mPos;
        const char* end = mData.get() + mEnd;
        while (isSpace(*p)) {
            ++p;
        }
        uint32_t read = 0;
        for (; read < count; ++read) {
            uint64_t value = 0;
            size_t length = scanShortDigits(p, value);
            if (length == 0 || p + length >= end || p[length] == '.') {
                break;
            }
            out[read] = CScnVertex{static_cast<int32_t>(value), 0, 0.0f, 0.0f};
            p += length;
            // Tokens are mostly one blank apart.
            if (*p == ' ' && !isSpace(p[1])) {
                ++p;
                continue;
            }
            while (isSpace(*p)) {
                ++p;
            }
        }
        mPos = static_cast<size_t>(p - mData.get());
        return read;
    }

private:
    // readInt for every case: tokens across the buffer's end, errors.
    __attribute__((noinline)) int32_t readIntSlowly(int c)
    {
        bool negative = c == '-';
        if (c == '-' || c == '+') {
            ++mPos;
            c = peek();
        }
        if (!isDigit(c)) {
            Nuvora::fail(TokenMsg::kNotANumber);
        }
        const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
        uint64_t magnitude = 0;
        for (;;) {
            while (mPos < mEnd && isDigit(mData[mPos])) {
                magnitude = magnitude * 10 + static_cast<uint64_t>(mData[mPos++] - '0');
                if (magnitude > limit) {
                    Nuvora::fail(TokenMsg::kIntegerOutOfRange);
                }
            }
            if (mPos < mEnd || !more(mPos)) {
                break;
            }
        }
        if (peek() == '.') {
            Nuvora::fail(TokenMsg::kBlockNotAnInteger);
        }
        return negative ? static_cast<int32_t>(0 - magnitude) : static_cast<int32_t>(magnitude);
    }

    // readReal for every case: tokens across the buffer's end, INF and NaN, errors.
    __attribute__((noinline)) double readRealSlowly(int c)
    {
        size_t start = mPos;
        bool negative = c == '-';
        if (c == '-' || c == '+') {
            ++mPos;
            c = peekKeeping(start);
        }
        if (isDigit(c) || c == '.') {
            size_t offset = mPos - start;
            size_t digits = skipDigits(start);
            if (peekKeeping(start) == '.') {
                ++mPos;
                digits += skipDigits(start);
            }
            double value = digits == 0 ? 0.0
                                       : TokenNumbers::decimalToDouble(mData.get() + start + offset,
                                                                       mData.get() + mPos);
            return negative ? -value : value;
        }
        while (mEnd - mPos < 3 && more(start)) {
            start = 0;
        }
        const char* word = mData.get() + mPos;
        const char* warning = nullptr;
        if (mEnd - mPos >= 3 && spells(word, "inf")) {
            warning = TokenMsg::kBlockInf;
        } else if (mEnd - mPos >= 3 && spells(word, "nan")) {
            warning = TokenMsg::kBlockNan;
        } else {
            Nuvora::fail(TokenMsg::kNotANumber);
        }
        mPos += 3;
        if (mScene != nullptr) {
            mScene->warning(warning);
        }
        return negative ? -kSpecialValue : kSpecialValue;
    }

    // The read position past an optional sign.
    SCN_HOT const char* afterSign(bool& negative) const
    {
        const char* p = mData.get() + mPos;
        negative = *p == '-';
        return *p == '-' || *p == '+' ? p + 1 : p;
    }

    // The common case of readInt: a plain integer of at most 10 digits that ends before the
    // buffer does; false leaves everything to the general path.
    SCN_HOT bool fastInt(int32_t& value)
    {
        bool negative = false;
        const char* p = afterSign(negative);
        uint64_t magnitude = 0;
        size_t length = scanDigits(p, magnitude);
        p += length;
        if (length == 0 || length > 10 || p >= mData.get() + mEnd || *p == '.' ||
            magnitude > (negative ? 2147483648ull : 2147483647ull)) {
            return false;
        }
        value = negative ? static_cast<int32_t>(0 - magnitude) : static_cast<int32_t>(magnitude);
        mPos = static_cast<size_t>(p - mData.get());
        return true;
    }

    // The common case of readReal: at most 19 digits, the point anywhere, ending before the
    // buffer does, converted exactly as a 53-bit integer over a power of ten; false leaves
    // everything to the general path.
    SCN_HOT bool fastReal(double& value)
    {
        bool negative = false;
        const char* p = afterSign(negative);
        uint64_t mantissa = 0;
        size_t digits = scanDigits(p, mantissa);
        p += digits;
        size_t fraction = 0;
        if (*p == '.') {
            uint64_t decimals = 0;
            fraction = scanDigits(++p, decimals);
            p += fraction;
            digits += fraction;
            if (digits > 19) {
                return false;
            }
            mantissa = mantissa * static_cast<uint64_t>(kPowersOfTen[fraction]) + decimals;
        }
        if (digits == 0 || digits > 19 || p >= mData.get() + mEnd || mantissa > (1ull << 53)) {
            return false;
        }
        double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fraction];
        value = negative ? -magnitude : magnitude;
        mPos = static_cast<size_t>(p - mData.get());
        return true;
    }

    int peek()
    {
        if (mPos == mEnd && !more(mPos)) {
            return -1;
        }
        return static_cast<unsigned char>(mData[mPos]);
    }

    // Like peek, keeping the bytes from start (which more() moves to the front).
    int peekKeeping(size_t& start)
    {
        if (mPos == mEnd) {
            if (!more(start)) {
                return -1;
            }
            start = 0;
        }
        return static_cast<unsigned char>(mData[mPos]);
    }

    // Advances over digits, keeping the bytes from start; answers how many.
    size_t skipDigits(size_t& start)
    {
        size_t count = 0;
        for (;;) {
            size_t from = mPos;
            while (mPos < mEnd && isDigit(mData[mPos])) {
                ++mPos;
            }
            count += mPos - from;
            if (mPos < mEnd || !more(start)) {
                return count;
            }
            start = 0;
        }
    }

    // Drops the bytes before keep (the kept ones move to the front) and reads more, with a NUL
    // after the data; false when no byte came.
    bool more(size_t keep)
    {
        if (mAtEnd) {
            return false;
        }
        size_t kept = mEnd - keep;
        std::memmove(mData.get(), mData.get() + keep, kept);
        mPos -= keep;
        mEnd = kept;
        if (mCapacity - mEnd < static_cast<size_t>(kChunk)) {
            size_t capacity = mCapacity * 2;
            std::unique_ptr<char[]> grown(new char[capacity + kPadding]());
            std::memcpy(grown.get(), mData.get(), mEnd);
            mData = std::move(grown);
            mCapacity = capacity;
        }
        size_t before = mEnd;
        while (mCapacity - mEnd >= static_cast<size_t>(kChunk)) {
            int32_t got = mStream->Read(mData.get() + mEnd, kChunk);
            if (got <= 0) {
                mAtEnd = true;
                break;
            }
            mEnd += static_cast<size_t>(std::min(got, kChunk));
        }
        mData[mEnd] = '\0';
        return mEnd > before;
    }

    NuvoraXML::CXMLReadStream* mStream;
    CSCN* mScene;
    size_t mCapacity;
    std::unique_ptr<char[]> mData;
    size_t mPos = 0;
    size_t mEnd = 0;
    bool mAtEnd = false;
};

void report(CSCN* scene, const char* text)
{
    if (scene != nullptr) {
        scene->warning(text);
    }
}

int32_t readCount(CBlockInput& in, CSCN* scene, const char* implausible)
{
    int32_t count = in.readInt();
    if (count < 1 || count > kPlausibleCount) {
        report(scene, implausible);
    }
    return count;
}

uint32_t plausibleReserve(int32_t count, uint32_t cap)
{
    return count > 0 ? std::min(static_cast<uint32_t>(count), cap) : 0u;
}

CScnVector readPoint(CBlockInput& in, CSCN* scene)
{
    CScnVector point;
    if (!in.readPlainPoint(point)) {
        point.x = in.readReal();
        point.y = in.readReal();
        point.z = in.readReal();
    }
    if (scene != nullptr) {
        scene->fixVector(point);
    }
    return point;
}

// Reads one loop (outer or hole) into its vertex records.
template <class Loop>
void readLoop(CBlockInput& in, Loop& vertices)
{
    int32_t count = in.readInt();
    if (count < 0) {
        Nuvora::fail(TokenMsg::kErrorReadingPolygon);
    }
    if (!vertices.reserve(vertices.size() + plausibleReserve(count, kVertexReserve))) {
        throw std::bad_alloc();
    }
    for (int32_t i = 0; i < count; ++i) {
        // Runs of plain indices go straight into the room the loop has.
        uint32_t size = vertices.size();
        uint32_t room = std::min(static_cast<uint32_t>(count - i), vertices.capacity() - size);
        if (room > 0) {
            uint32_t read = in.readPlainIndices(vertices.data() + size, room);
            vertices.setSizeWithin(size + read);
            i += static_cast<int32_t>(read);
            if (i == count) {
                break;
            }
        }
        CScnVertex vertex{0, 0, 0.0f, 0.0f};
        int c = in.peekAfterSpace();
        if (c == 'I') {
            vertex.flags |= kScnVertexMarker;
            in.skip();
            c = in.peekAfterSpace();
        }
        if (c == 'M') {
            vertex.flags |= kScnVertexMapped;
            in.skip();
            vertex.u = toFloat(in.readReal());
            vertex.v = toFloat(in.readReal());
        }
        vertex.pointIndex = in.readInt();
        *vertices.appendItem() = vertex;
    }
}

// Reads one polygon record into an empty polygon.
void readPolygon(CBlockInput& in, CSCN* scene, CPolygon& polygon)
{
    int marker = in.peekAfterSpace();
    if (marker < 0) {
        Nuvora::fail(TokenMsg::kErrorReadingPolygon);
    }
    in.skip();
    if (marker != 'h' && marker != 'o' && marker != 'p') {
        report(scene, TokenMsg::kPolygonTypeUnknown);
    }
    polygon.CPolygon::setPropertyIndex(in.readInt());
    int32_t loops = 1;
    if (marker == 'h') {
        loops = in.readInt();
        if (loops < 1) {
            Nuvora::fail(TokenMsg::kErrorReadingPolygon);
        }
    }
    polygon.CPolygon::setSmoothed(marker == 'o');
    readLoop(in, polygon.vertices());
    for (int32_t i = 1; i < loops; ++i) {
        readLoop(in, polygon.holes().appendItem()->vertices());
    }
}

// Runs the filling of a table; a memory failure reports "No memory availiable", leaves the
// table empty and answers false.
template <class Table, class Fill>
bool fillTable(CSCN* scene, Table& table, int32_t count, Fill&& fill)
{
    try {
        size_t wanted = static_cast<size_t>(table.size()) + plausibleReserve(count, kTableReserve);
        if (!table.reserve(wanted)) {
            throw std::bad_alloc();
        }
        fill();
        return true;
    } catch (const std::bad_alloc&) {
        table.clear();
        report(scene, Msg::kNoMemory);
        return false;
    }
}

// Runs the feeding of the external storage; a memory failure fails the read.
template <class Feed>
void feedStorage(Feed&& feed)
{
    try {
        feed();
    } catch (const std::bad_alloc&) {
        Nuvora::fail(Msg::kNoMemory);
    }
}

CScnExtStorage* storageOf(CSCN* scene)
{
    return scene != nullptr ? scene->getExternalStorage() : nullptr;
}

// The Points block: items are points.
struct CPointItems {
    static constexpr const char* kImplausibleCount = TokenMsg::kPointsCountWrong;
    static constexpr const char* kNullTable = TokenMsg::kNullPointTable;
    static constexpr int32_t kProgressOffset = CBlockProgress::kPointsOffset;

    explicit CPointItems(CSCN*) {}
    static void announce(CScnExtStorage* storage, CScnMgr* manager, int32_t count)
    {
        storage->setNbPoints(manager, count);
    }
    bool toStorage(CBlockInput& in, CSCN* scene, CScnExtStorage* storage, CScnMgr* manager, int32_t index)
    {
        CScnVector point = readPoint(in, scene);
        return storage->addPoint(manager, &point, index);
    }
    static void toTable(CBlockInput& in, CSCN* scene, CPointMgr& table)
    {
        CScnVector point = readPoint(in, scene);
        *static_cast<CScnVector*>(table.appendItem()) = point;
    }
};

// The Polygons block: items are polygon records; the storage receives one reused record.
struct CPolygonItems {
    static constexpr const char* kImplausibleCount = TokenMsg::kPolygonsCountWrong;
    static constexpr const char* kNullTable = TokenMsg::kNullPolygonTable;
    static constexpr int32_t kProgressOffset = CBlockProgress::kPolygonsOffset;

    explicit CPolygonItems(CSCN* scene) : records(scene), record(*records.appendItem()) {}
    static void announce(CScnExtStorage* storage, CScnMgr* manager, int32_t count)
    {
        storage->setNbPolygons(manager, count);
    }
    bool toStorage(CBlockInput& in, CSCN* scene, CScnExtStorage* storage, CScnMgr* manager, int32_t index)
    {
        record.clear();
        readPolygon(in, scene, record);
        return storage->addPolygon(manager, &record, index);
    }
    static void toTable(CBlockInput& in, CSCN* scene, CPolygonMgr& table)
    {
        readPolygon(in, scene, *table.appendItem());
    }

    // The record lives in a table of its own, as every polygon does.
    CPolygonMgr records;
    CPolygon& record;
};

// Reads a block's count and items into the external storage or the table, with progress.
template <class Items, class Table>
void readBlock(NuvoraXML::CXMLReadStream* stream, CSCN* scene, Table* table)
{
    CBlockInput in(stream, scene);
    int32_t count = readCount(in, scene, Items::kImplausibleCount);
    CBlockProgress progress(scene, count, Items::kProgressOffset);
    if (CScnExtStorage* storage = storageOf(scene)) {
        CScnMgr* manager = scene->asMgr();
        Items::announce(storage, manager, count);
        feedStorage([&] {
            Items items(scene);
            for (int32_t i = 0; i < count; ++i) {
                if (!items.toStorage(in, scene, storage, manager, i)) {
                    Nuvora::fail(TokenMsg::kStorageCancel);
                }
                progress.step(i);
            }
        });
    } else {
        Table& target = *Nuvora::checkPointer(table, Items::kNullTable);
        bool filled = fillTable(scene, target, count, [&] {
            for (int32_t i = 0; i < count; ++i) {
                Items::toTable(in, scene, target);
                progress.step(i);
            }
        });
        if (!filled) {
            return;
        }
    }
    progress.finish();
}

}  // namespace

void readPointsBlock(NuvoraXML::CXMLReadStream* stream, CSCN* scene, CPointMgr* points)
{
    readBlock<CPointItems>(stream, scene, points);
}

void readPolygonsBlock(NuvoraXML::CXMLReadStream* stream, CSCN* scene, CPolygonMgr* polygons)
{
    readBlock<CPolygonItems>(stream, scene, polygons);
}

}  // namespace NvScn
