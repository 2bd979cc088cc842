// Token reading inside a document's data block, where the stream steps back only 512 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "document/TokenReader.h"
#include "xml/XMLStreams.h"

namespace {

using namespace NvScn;

// The bytes of a CDATA section, delivered as asked.
class SectionStream : public NuvoraXML::CXMLReadStream {
public:
    explicit SectionStream(std::string bytes) : mBytes(std::move(bytes)) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = std::min(static_cast<size_t>(length), mBytes.size() - mPos);
        std::memcpy(buffer, mBytes.data() + mPos, count);
        mPos += count;
        return static_cast<int32_t>(count);
    }

private:
    std::string mBytes;
    size_t mPos = 0;
};

// Reads "<number> <blanks> LF <number>" where the blanks cross each place a reader's buffer may
// end, asking whether the rest of the line is empty between the two numbers.
std::string readAcrossBufferEnds(size_t chunk, size_t before, size_t blanks)
{
    std::string text = std::string(before, ' ') + "7" + std::string(blanks, ' ') + "\t\n8 ";
    SectionStream section(text);
    NuvoraXML::CScnXMLReadStream block(&section);
    try {
        CTokenReader reader(&block, nullptr, chunk);
        std::string outcome = std::to_string(reader.readInt());
        outcome += reader.isRestOfLineEmpty() ? " empty " : " text ";
        outcome += std::to_string(reader.readInt());
        return outcome;
    } catch (const std::runtime_error& error) {
        return std::string("fails: ") + error.what();
    }
}

TEST(AuditTokenReaderInBlock, RestOfLineTestNeverSeeksTheBlockBackFarther)
{
    for (size_t chunk : {size_t{64}, size_t{512}, CReader::kDefaultChunk}) {
        for (size_t before : {size_t{0}, chunk - 3, chunk - 1, 2 * chunk - 20}) {
            for (size_t blanks : {size_t{1}, size_t{20}, size_t{600}, size_t{5000}}) {
                EXPECT_EQ("7 empty 8", readAcrossBufferEnds(chunk, before, blanks))
                    << "chunk " << chunk << " before " << before << " blanks " << blanks;
            }
        }
    }
}

}  // namespace
