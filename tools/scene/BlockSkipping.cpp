#include "BlockSkipping.h"

#include <algorithm>
#include <cstring>

namespace ScnTools {

namespace {

constexpr size_t kInputSize = 64 * 1024;
// Longer element names are never among the skipped ones.
constexpr size_t kLongestName = 64;
constexpr char kCDataStart[] = "<![CDATA[";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
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
            for (size_t i = 0; i < mSpan && mAfterSkippedTag; ++i) {
                mAfterSkippedTag = isBlank(here[i]);
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
        mAfterSkippedTag = false;
        if (startsWith(kCDataStart)) {
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
                mAfterSkippedTag = mStartTag && mPrevious != '/' && !mNameTooLong &&
                                   std::find(mSkippedElements.begin(), mSkippedElements.end(), mTagName) !=
                                       mSkippedElements.end();
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
