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

private:
    enum class State { eStart, eText, eTag, eQuoted, eCData, eSkippedCData, eComment, eInstruction, eDeclaration, ePass };

    bool ensure(size_t count);
    void decide();
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
    int64_t mPresented = 0;
    int64_t mSkipped = 0;
};

}  // namespace ScnTools

#endif
