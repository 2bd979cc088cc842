#include "BlockSkipping.h"

#include <algorithm>
#include <cstring>

namespace ScnTools {

namespace {

constexpr size_t kInputSize = 64 * 1024;
// Longer element names are never among the skipped ones.
constexpr size_t kLongestName = 64;
constexpr char kCDataStart[] = "<![CDATA[";
constexpr size_t kCDataStartLength = sizeof kCDataStart - 1;
// A halved block's count line is looked for within this many bytes of the block's start.
constexpr size_t kLongestHead = 64;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

constexpr size_t kRun = 256;

// Whether a byte begins a polygon record; these letters stand nowhere else in a record.
inline bool isRecordMarker(char c)
{
    return c == 'p' || c == 'o' || c == 'h';
}

// Newlines in a run of kRun bytes: a loop of a fixed length, which the compiler does many bytes
// at a time.
inline int64_t newlinesInRun(const char* bytes)
{
    uint32_t lines = 0;
    for (size_t i = 0; i < kRun; ++i) {
        lines += static_cast<uint32_t>(bytes[i] == '\n');
    }
    return lines;
}

inline int64_t markersInRun(const char* bytes)
{
    uint32_t markers = 0;
    for (size_t i = 0; i < kRun; ++i) {
        markers += static_cast<uint32_t>(isRecordMarker(bytes[i]));
    }
    return markers;
}

// The length of the bytes up to and including the count-th newline, all of them when fewer are
// there; count is left with the newlines still to come and, when given, markers is lowered by
// the record markers within that length.
size_t throughLines(const char* bytes, size_t length, int64_t& count, int64_t* markers)
{
    size_t at = 0;
    while (length - at >= kRun && count > 0) {
        int64_t lines = newlinesInRun(bytes + at);
        if (lines >= count) {
            break;
        }
        count -= lines;
        if (markers != nullptr) {
            *markers -= markersInRun(bytes + at);
        }
        at += kRun;
    }
    for (; at < length && count > 0; ++at) {
        if (bytes[at] == '\n') {
            --count;
        } else if (markers != nullptr && isRecordMarker(bytes[at])) {
            --*markers;
        }
    }
    return at;
}

}  // namespace

BlockSkippingStream::BlockSkippingStream(NvScn::CScnStream& wrapped, std::vector<std::string> skippedElements)
    : mWrapped(wrapped), mSkippedElements(std::move(skippedElements)), mOrigin(wrapped.getPosition()), mInput(kInputSize)
{
}

bool BlockSkippingStream::ensure(size_t count)
{
    if (mEnd - mPos >= count) {
        return true;
    }
    std::memmove(mInput.data(), mInput.data() + mPos, mEnd - mPos);
    mEnd -= mPos;
    mPos = 0;
    while (mEnd < count && !mEndOfInput) {
        int32_t got = mWrapped.read(mInput.data() + mEnd, static_cast<int32_t>(mInput.size() - mEnd));
        if (got <= 0) {
            mEndOfInput = true;
        } else {
            mEnd += static_cast<size_t>(got);
        }
    }
    return mEnd >= count;
}

// Sets the next span (or only the state) from the bytes at mPos, of which at least one is there.
void BlockSkippingStream::presentHalf(const std::string& element, int half)
{
    mHalfElement = element;
    mHalf = half;
}

// At the start of a halved block: its head is replaced by one with the half's count.
void BlockSkippingStream::startHalf()
{
    ensure(kCDataStartLength + kLongestHead);
    const char* here = mInput.data() + mPos;
    size_t limit = std::min(mEnd - mPos, kCDataStartLength + kLongestHead);
    size_t at = kCDataStartLength;
    while (at < limit && isBlank(here[at])) {
        ++at;
    }
    int64_t count = 0;
    size_t digits = 0;
    for (; at < limit && here[at] >= '0' && here[at] <= '9' && digits < 10; ++at, ++digits) {
        count = count * 10 + (here[at] - '0');
    }
    while (at < limit && (here[at] == ' ' || here[at] == '\t' || here[at] == '\r')) {
        ++at;
    }
    bool plain = digits > 0 && count <= INT32_MAX && at < limit && here[at] == '\n';
    int64_t first = (count + 1) / 2;
    if (!plain && mHalf == 0) {
        mSpan = kCDataStartLength;
        mSpanSkipped = false;
        mNext = State::eCData;
        return;
    }
    mSpan = plain ? at + 1 : kCDataStartLength;
    mSpanSkipped = true;
    int64_t presented = !plain ? 0 : mHalf == 0 ? first : count - first;
    mInsert = std::string(kCDataStart) + "\n" + std::to_string(presented) + " \n";
    mInserted = 0;
    mLinesLeft = first;
    mMarkersLeft = first;
    mNext = !plain ? State::eSkippedRest : mHalf == 0 ? State::eHalfRecords : State::eSkippedLines;
}

// The lines of a halved block's records: up to the last one of the half, the next "]" (the end
// of the block may come first) or the end of the input.
void BlockSkippingStream::decideLines()
{
    bool presenting = mState == State::eHalfRecords;
    State after = presenting ? State::eSkippedRest : State::eCData;
    mSpanSkipped = !presenting;
    if (mLinesLeft == 0) {
        mSpan = 0;
        mState = after;
        return;
    }
    const char* here = mInput.data() + mPos;
    size_t available = mEnd - mPos;
    const void* bracket = std::memchr(here, ']', available);
    size_t region = bracket != nullptr ? static_cast<size_t>(static_cast<const char*>(bracket) - here) : available;
    // The first half's lines hold no more records than lines: the reader ignores what follows its
    // count, which the second half would then miss.
    size_t through = throughLines(here, region, mLinesLeft, presenting ? &mMarkersLeft : nullptr);
    mUneven = mUneven || mMarkersLeft < 0;
    if (mLinesLeft == 0) {
        mSpan = through;
        mNext = after;
    } else if (region > 0) {
        mSpan = region;
        mNext = mState;
    } else if (ensure(3) && std::memcmp(mInput.data() + mPos, "]]>", 3) == 0) {
        // The block ends before the half's lines do; its end is presented as it stands.
        mSpan = 0;
        mState = State::eCData;
    } else {
        mSpan = 1;
        mNext = mState;
    }
}

void BlockSkippingStream::decide()
{
    const char* here = mInput.data() + mPos;
    size_t available = mEnd - mPos;
    mSpanSkipped = false;
    // Runs up to the first byte of the terminator, which is then examined on its own.
    auto upTo = [&](const char* terminator, State state) {
        size_t length = std::strlen(terminator);
        const void* found = std::memchr(here, terminator[0], available);
        if (found != here) {
            mSpan = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - here) : available;
            mNext = state;
            return;
        }
        bool ends = ensure(length) && std::memcmp(mInput.data() + mPos, terminator, length) == 0;
        mSpan = ends ? length : 1;
        mNext = ends ? State::eText : state;
    };
    switch (mState) {
    case State::eStart:
        mState = *here == '<' ? State::eText : State::ePass;
        mSpan = 0;
        return;
    case State::ePass:
        mSpan = available;
        mNext = State::ePass;
        return;
    case State::eText: {
        if (*here != '<') {
            const void* found = std::memchr(here, '<', available);
            mSpan = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - here) : available;
            mNext = State::eText;
            for (size_t i = 0; i < mSpan && (mAfterSkippedTag || mAfterHalfTag); ++i) {
                mAfterSkippedTag = mAfterSkippedTag && isBlank(here[i]);
                mAfterHalfTag = mAfterHalfTag && isBlank(here[i]);
            }
            return;
        }
        ensure(sizeof kCDataStart - 1);
        here = mInput.data() + mPos;
        available = mEnd - mPos;
        auto startsWith = [&](const char* text) {
            size_t length = std::strlen(text);
            return available >= length && std::memcmp(here, text, length) == 0;
        };
        bool skipping = mAfterSkippedTag;
        bool halving = mAfterHalfTag;
        mAfterSkippedTag = false;
        mAfterHalfTag = false;
        if (halving && startsWith(kCDataStart)) {
            startHalf();
        } else if (startsWith(kCDataStart)) {
            mSpan = sizeof kCDataStart - 1;
            mSpanSkipped = skipping;
            mNext = skipping ? State::eSkippedCData : State::eCData;
        } else if (startsWith("<!--")) {
            mSpan = 4;
            mNext = State::eComment;
        } else if (startsWith("<!")) {
            mSpan = 2;
            mNext = State::eDeclaration;
            mDeclarationDepth = 0;
        } else if (startsWith("<?")) {
            mSpan = 2;
            mNext = State::eInstruction;
        } else {
            mStartTag = !startsWith("</");
            mNaming = mStartTag;
            mNameTooLong = false;
            mTagName.clear();
            mPrevious = 0;
            mSpan = mStartTag ? 1 : 2;
            mNext = State::eTag;
        }
        return;
    }
    case State::eTag:
        for (size_t i = 0; i < available; ++i) {
            char c = here[i];
            if (mNaming) {
                if (isBlank(c) || c == '/' || c == '>') {
                    mNaming = false;
                } else if (mTagName.size() < kLongestName) {
                    mTagName += c;
                } else {
                    mNameTooLong = true;
                }
            }
            if (c == '"' || c == '\'') {
                mQuote = c;
                mPrevious = c;
                mSpan = i + 1;
                mNext = State::eQuoted;
                return;
            }
            if (c == '>') {
                bool opens = mStartTag && mPrevious != '/' && !mNameTooLong;
                mAfterSkippedTag = opens && std::find(mSkippedElements.begin(), mSkippedElements.end(), mTagName) !=
                                                mSkippedElements.end();
                mAfterHalfTag = opens && mHalf >= 0 && mTagName == mHalfElement;
                mSpan = i + 1;
                mNext = State::eText;
                return;
            }
            mPrevious = c;
        }
        mSpan = available;
        mNext = State::eTag;
        return;
    case State::eQuoted: {
        const void* found = std::memchr(here, mQuote, available);
        mSpan = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - here) + 1 : available;
        mNext = found != nullptr ? State::eTag : State::eQuoted;
        return;
    }
    case State::eCData:
        upTo("]]>", State::eCData);
        return;
    case State::eSkippedCData:
        upTo("]]>", State::eSkippedCData);
        mSpanSkipped = true;
        return;
    case State::eHalfRecords:
    case State::eSkippedLines:
        decideLines();
        return;
    case State::eSkippedRest:
        upTo("]]>", State::eSkippedRest);
        mSpanSkipped = mNext != State::eText;
        return;
    case State::eComment:
        upTo("-->", State::eComment);
        return;
    case State::eInstruction:
        upTo("?>", State::eInstruction);
        return;
    case State::eDeclaration:
        for (size_t i = 0; i < available; ++i) {
            if (here[i] == '[') {
                ++mDeclarationDepth;
            } else if (here[i] == ']') {
                --mDeclarationDepth;
            } else if (here[i] == '>' && mDeclarationDepth <= 0) {
                mSpan = i + 1;
                mNext = State::eText;
                return;
            }
        }
        mSpan = available;
        mNext = State::eDeclaration;
        return;
    }
}

int32_t BlockSkippingStream::read(void* buffer, int32_t size)
{
    char* out = static_cast<char*>(buffer);
    size_t room = size > 0 ? static_cast<size_t>(size) : 0;
    size_t done = 0;
    while (done < room) {
        if (mInserted < mInsert.size()) {
            size_t take = std::min(mInsert.size() - mInserted, room - done);
            std::memcpy(out + done, mInsert.data() + mInserted, take);
            done += take;
            mInserted += take;
            continue;
        }
        if (mSpan > 0) {
            size_t take = mSpanSkipped ? mSpan : std::min(mSpan, room - done);
            if (mSpanSkipped) {
                mSkipped += static_cast<int64_t>(take);
            } else {
                std::memcpy(out + done, mInput.data() + mPos, take);
                done += take;
            }
            mPos += take;
            mSpan -= take;
            if (mSpan == 0) {
                mState = mNext;
            }
            continue;
        }
        if (!ensure(1)) {
            break;
        }
        decide();
    }
    mPresented += static_cast<int64_t>(done);
    return static_cast<int32_t>(done);
}

void BlockSkippingStream::restart()
{
    mWrapped.setPosition(mOrigin);
    mPos = mEnd = 0;
    mEndOfInput = false;
    mState = State::eStart;
    mSpan = 0;
    mSpanSkipped = false;
    mAfterSkippedTag = false;
    mAfterHalfTag = false;
    mLinesLeft = 0;
    mMarkersLeft = 0;
    mUneven = false;
    mInsert.clear();
    mInserted = 0;
    mPresented = 0;
    mSkipped = 0;
}

void BlockSkippingStream::setPosition(int64_t position)
{
    if (position == mPresented) {
        return;
    }
    restart();
    char scratch[4096];
    while (mPresented < position) {
        int64_t want = std::min<int64_t>(position - mPresented, static_cast<int64_t>(sizeof scratch));
        if (read(scratch, static_cast<int32_t>(want)) <= 0) {
            return;
        }
    }
}

}  // namespace ScnTools
