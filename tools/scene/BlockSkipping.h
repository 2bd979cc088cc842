// A view of a scene document without some of its data blocks, for reads that do not need them.
#ifndef SCN_TOOLS_BLOCK_SKIPPING_H
#define SCN_TOOLS_BLOCK_SKIPPING_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ScnClient.h"

namespace ScnTools {

// Presents the XML document of another stream with the CDATA sections left out that directly
// follow the start tag of an element of one of the given names ("<Polygons><![CDATA[...]]>"
// reads as "<Polygons>"), so that the library neither decodes nor keeps those blocks. Every
// other byte passes unchanged, comments, processing instructions, quoted attribute values and
// other CDATA sections included; a file that does not start with "<" (not an XML document)
// passes whole. Positions count the bytes presented; seeking anywhere but the current position
// starts over from the beginning. Sibling files open unfiltered through the wrapped stream.
class BlockSkippingStream : public NvScn::CScnStream {
public:
    // The wrapped stream, positioned at the document's start, outlives this one.
    BlockSkippingStream(NvScn::CScnStream& wrapped, std::vector<std::string> skippedElements);

    bool getName(char* buffer, int32_t bufferSize) override { return mWrapped.getName(buffer, bufferSize); }
    NvScn::CScnStream* openSecondaryStream(const char* fileName, int32_t mode) override
    {
        return mWrapped.openSecondaryStream(fileName, mode);
    }
    // Streams of this kind belong to their creator, which destroys them.
    void release() override {}
    void setTypeInfo(uint32_t fileType, uint32_t creator) override { mWrapped.setTypeInfo(fileType, creator); }
    int32_t read(void* buffer, int32_t size) override;
    // Reading only.
    void write(const void*, int32_t) override {}
    int64_t getPosition() override { return mPresented; }
    void setPosition(int64_t position) override;

    // Bytes of skipped blocks so far, markers included.
    int64_t skippedBytes() const { return mSkipped; }

    // Presents one half (0 or 1) of the records of each block that follows the start tag of an
    // element of that name, under a count of its own, so that two readers share the records: the
    // first half is the first (count + 1) / 2 lines after the count, the second half the lines
    // after those. A block whose count is not a plain number on a line of its own goes whole to
    // the first half and as a block of no record to the second. Records written several to a
    // line or over several lines leave one of the halves short of its count.
    void presentHalf(const std::string& element, int half);
    // Whether a first half's lines held more record markers than lines (several records to a
    // line): its reader then left records out that the second half does not hold.
    bool unevenRecords() const { return mUneven; }

private:
    enum class State {
        eStart,
        eText,
        eTag,
        eQuoted,
        eCData,
        eSkippedCData,
        eComment,
        eInstruction,
        eDeclaration,
        ePass,
        // A halved block: its records presented or skipped line by line, then the rest skipped
        // up to the end of the block, which is presented.
        eHalfRecords,
        eSkippedLines,
        eSkippedRest,
    };

    bool ensure(size_t count);
    void decide();
    void startHalf();
    void decideLines();
    void restart();

    NvScn::CScnStream& mWrapped;
    std::vector<std::string> mSkippedElements;
    int64_t mOrigin;
    std::vector<char> mInput;
    size_t mPos = 0;
    size_t mEnd = 0;
    bool mEndOfInput = false;
    State mState = State::eStart;
    // The bytes from mPos on that belong to the current state before it changes to mNext; they
    // are presented unless mSpanSkipped.
    size_t mSpan = 0;
    bool mSpanSkipped = false;
    State mNext = State::eText;
    // Set after the start tag of a skipped element while only blanks have followed it.
    bool mAfterSkippedTag = false;
    // The start tag being read: its name, and whether it ends in "/>".
    std::string mTagName;
    bool mStartTag = false;
    bool mNaming = false;
    bool mNameTooLong = false;
    char mPrevious = 0;
    char mQuote = 0;
    int32_t mDeclarationDepth = 0;
    // The halved element and half (-1 for none), whether only blanks followed its start tag, and
    // the lines of records still to present or skip.
    std::string mHalfElement;
    int mHalf = -1;
    bool mAfterHalfTag = false;
    int64_t mLinesLeft = 0;
    int64_t mMarkersLeft = 0;
    bool mUneven = false;
    // Bytes presented in place of a halved block's head, and how many of them are out.
    std::string mInsert;
    size_t mInserted = 0;
    int64_t mPresented = 0;
    int64_t mSkipped = 0;
};

}  // namespace ScnTools

#endif
