// The token readers: values, texts, helpers, the tokenizer, buffering and stream positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/TokenReader.h"
#include "model/Scene.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "support/XmlSupport.h"
#include "test_geometry_block_support.h"
#include "xml/XMLStreams.h"

namespace {

using namespace NvScn;

std::string join(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : " | ") + item;
    }
    return text;
}

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Runs a read on a fresh token reader over text and describes the outcome: the value the read
// describes, then the warnings, or the failure text.
class ReadOutcome {
public:
    explicit ReadOutcome(std::string text, size_t chunk = CReader::kDefaultChunk)
        : stream(std::move(text)), scene(eCurrentVersionSCN, &feedback, nullptr), reader(&stream, &scene, chunk)
    {
    }

    std::string run(const std::function<std::string(CTokenReader&)>& read)
    {
        std::string result;
        try {
            result = read(reader);
        } catch (const std::runtime_error& error) {
            result = std::string("fails: ") + error.what();
        }
        return result + ScnTest::warningsOf(feedback.warnings);
    }

    ScnTest::MemoryStream stream;
    ScnTest::RecordingFeedback feedback;
    CSCN scene;
    CTokenReader reader;
};

struct ReadCase {
    const char* input;
    const char* outcome;
};

std::string describeColor(CScnColor color)
{
    return std::to_string(color.zero) + "," + std::to_string(static_cast<int8_t>(color.red)) + "," +
           std::to_string(static_cast<int8_t>(color.green)) + "," + std::to_string(static_cast<int8_t>(color.blue));
}

std::string describeUnsignedColor(CScnColor color)
{
    return std::to_string(color.zero) + "," + std::to_string(color.red) + "," + std::to_string(color.green) + "," +
           std::to_string(color.blue);
}

void expectOutcomes(const std::vector<ReadCase>& cases, const std::function<std::string(CTokenReader&)>& read)
{
    for (const ReadCase& c : cases) {
        EXPECT_EQ(c.outcome, ReadOutcome(c.input).run(read)) << "input: \"" << c.input << "\"";
    }
}

TEST(TokenReaderValues, ReadInt)
{
    expectOutcomes({{"12", "12"},
                    {"  -7 x", "-7"},
                    {"+3", "3"},
                    {"# a comment\n\r\t 42", "42"},
                    {"0007", "7"},
                    {"-2147483648", "-2147483648"},
                    {"12.5", "fails: This is not an integer"},
                    {"x", "fails: This is not a number"},
                    {"", "fails: This is not a number"},
                    {"- 5", "fails: This is not a number"},
                    {"2147483648", "fails: Integer value out of range"},
                    {"99999999999999999999", "fails: Integer value out of range"},
                    {"# cut comment", "fails: End of file unexpected"}},
                   [](CTokenReader& r) { return std::to_string(r.readInt()); });
}

TEST(TokenReaderValues, ReadReal)
{
    expectOutcomes({{"1.5", "1.5 point"},
                    {"-2", "-2"},
                    {".5", "0.5 point"},
                    {"5.", "5 point"},
                    {"+0.25", "0.25 point"},
                    {".", "0 point"},
                    {"0.1", "0.10000000000000001 point"},
                    {"123456.789012345678", "123456.78901234567 point"},
                    {"inf", "1e+30 point warns: NaN or INF double."},
                    {"-NAN", "-1e+30 point warns: NaN or INF double."},
                    {"InF\n7", "1e+30 point warns: NaN or INF double."},
                    {"infinity", "fails: This is not a number"},
                    {"abc", "fails: This is not a number"},
                    {"-", "fails: This is not a number"},
                    {"", "fails: This is not a number"}},
                   [](CTokenReader& r) {
                       bool point = false;
                       double value = r.readReal(&point);
                       return number(value) + (point ? " point" : "");
                   });
}

// Digits accumulated as digit x 0.1^n drift away from the nearest double; the reader does not.
TEST(TokenReaderValues, ReadRealIsTheNearestDouble)
{
    const char* texts[] = {"0.3", "0.7", "1.1", "2.675", "1234.5678", "0.000123456789", "98765.4321",
                           "3.141592653589793", "1.9999999999999999", "0.1000000000000000055511151231257827"};
    for (const char* text : texts) {
        ReadOutcome outcome(text);
        EXPECT_EQ(std::strtod(text, nullptr), outcome.reader.readReal()) << text;
    }
}

TEST(TokenReaderValues, ReadColor)
{
    expectOutcomes({{"0.5 1 1", "0,127,1,1"},
                    {"255 0 128", "0,255,0,128"},
                    {"0.0 0.2 2.5", "0,0,51,2"},
                    {"1.0 1 0.999", "0,255,1,254"},
                    {"300 -5 10", "0,255,0,10 warns: Invalid color value | Invalid color value"},
                    {"1 2", "fails: This is not a number"}},
                   [](CTokenReader& r) { return describeUnsignedColor(r.readColor()); });
}

TEST(TokenReaderValues, ReadSignedColor)
{
    expectOutcomes({{"70 0 -80", "0,63,0,-63 warns: Invalid color value"},
                    {"-63 63 5", "0,-63,63,5"},
                    {"1 2.5 3", "fails: This is not an integer"}},
                   [](CTokenReader& r) { return describeColor(r.readSignedColor()); });
}

TEST(TokenReaderValues, ReadVectorPassesTheFixUp)
{
    ReadOutcome outcome("1 2.5 -3");
    outcome.scene.setLegacyFile(true);
    CScnVector vector = outcome.reader.readVector();
    EXPECT_EQ(1.0, vector.x);
    EXPECT_EQ(-3.0, vector.y);
    EXPECT_EQ(2.5, vector.z);
}

TEST(TokenReaderTexts, ReadText)
{
    expectOutcomes({{"  \"quoted text\" rest", "[quoted text]"},
                    {"\"a\x7F\"b\"", "[a\"b]"},
                    {"\"a\x7Fz\"", "[a\x7Fz]"},
                    {"\t rest of line\nnext", "[rest of line] then [\nnext]"},
                    {"  \r\n", "[] then [\r\n]"},
                    {"\"cut", "fails: End of file unexpected"},
                    {"no line end", "fails: End of file unexpected"}},
                   [](CTokenReader& r) {
                       std::string text = "[" + r.readText() + "]";
                       int64_t at = r.getPosition();
                       r.sync();
                       const std::string& all = static_cast<ScnTest::MemoryStream*>(r.getStream())->bytes();
                       return at < static_cast<int64_t>(all.size()) && all[at] != ' '
                                  ? text + " then [" + all.substr(static_cast<size_t>(at)) + "]"
                                  : text;
                   });
}

TEST(TokenReaderTexts, ReadUnicodeText)
{
    expectOutcomes({{"U\"caf\xC3\xA9\"", "[caf\xC3\xA9]"},
                    {" \"caf\xE9\"", "[caf\xC3\xA9]"},
                    {"Unicode line\n", "[Unicode line]"},
                    {"\x80uro U\n", "[\xE2\x82\xACuro U]"},
                    {"U", "fails: End of file unexpected"}},
                   [](CTokenReader& r) { return "[" + r.readUnicodeText() + "]"; });
}

TEST(TokenReaderTexts, BaseReadWordAndSkipTo)
{
    ScnTest::MemoryStream stream("  hello\tworld;tail x");
    CReader reader(&stream, nullptr);
    EXPECT_EQ("hello", reader.readWord());
    reader.skipTo(';');
    EXPECT_EQ("tail", reader.readWord());
    CToken token;
    token.text = "stale";
    reader.readToken(token);
    EXPECT_EQ(eTokenEnd, token.type);
    EXPECT_EQ("", token.text);
    EXPECT_EQ(3, reader.readTable(3)->getCount());
    EXPECT_EQ("End of file unexpected", ScnTest::failureOf([&] { reader.skipTo('#'); }));
}

TEST(TokenReaderTexts, RestOfLineEmptyMovesNothing)
{
    const std::pair<const char*, bool> cases[] = {
        {"   \nx", true}, {" \t # comment", true}, {"", true}, {"\r", true}, {"  x\n", false}, {"7", false}};
    for (const auto& [text, empty] : cases) {
        for (size_t chunk : {size_t{1}, size_t{3}, CReader::kDefaultChunk}) {
            ScnTest::MemoryStream stream(text);
            CReader reader(&stream, nullptr, chunk);
            EXPECT_EQ(empty, reader.isRestOfLineEmpty()) << text << " chunk " << chunk;
            EXPECT_EQ(0, reader.getPosition()) << text;
        }
    }
    // Far more blanks than the reader keeps in its buffer.
    ScnTest::MemoryStream stream("7" + std::string(100, ' ') + "8\n");
    CReader reader(&stream, nullptr, 4);
    EXPECT_EQ(7, reader.readInt());
    EXPECT_FALSE(reader.isRestOfLineEmpty());
    EXPECT_EQ(8, reader.readInt());
}

// The tokens of a text, each as type:text, up to and including the end token.
std::string tokensOf(const std::string& text)
{
    ScnTest::MemoryStream stream(text);
    CTokenReader reader(&stream, nullptr, 3);
    std::vector<std::string> tokens;
    for (int i = 0; i < 100; ++i) {
        CToken token;
        reader.readToken(token);
        tokens.push_back(std::to_string(token.type) + ":" + token.text);
        if (token.type == eTokenEnd) {
            break;
        }
    }
    return join(tokens);
}

TEST(Tokenizer, SplitsTextIntoTypedTokens)
{
    const std::pair<std::string, const char*> cases[] = {
        {"# a comment\n12", "0:12 | 4:"},
        {"-dbfile x", "1:-dbfile | 2:x | 4:"},
        {"-.5 .25 -5.75 1.2.3", "0:-0.5 | 0:0.25 | 0:-5.75 | 0:1.2 | 0:0.3 | 4:"},
        {"12. 7", "0:12. | 0:7 | 4:"},
        {"word_1 W2,x", "2:word_1 | 2:W2 | 2:x | 4:"},
        {"ab-5", "2:ab | 0:5 | 4:"},
        {"-opt_2-3", "1:-opt_2 | 0:-3 | 4:"},
        {std::string("\"quo\0ted text\" next", 19), "3:quoted text | 2:next | 4:"},
        {"\"\"", "3: | 4:"},
        {"\"cut", "4:"},
        {"7 # cut comment", "0:7 | 4:"},
        {"- x", "-1:- | 2:x | 4:"},
        {"-", "-1:- | 4:"},
        {"@@ ; 7\r\n", "0:7 | 4:"},
        {"", "4:"},
        {"\xC3\xA9t\xC3\xA9", "2:t | 4:"}};
    for (const auto& [text, tokens] : cases) {
        EXPECT_EQ(tokens, tokensOf(text)) << "input: \"" << text << "\"";
    }
}

TEST(Tokenizer, TokensKnowWhereTheyStart)
{
    CTokenReader::resetCounters();
    ScnTest::MemoryStream stream("ab\n  12\n# c\n\"q\"");
    stream.setPosition(0);
    CTokenReader reader(&stream, nullptr);
    struct Expected {
        int32_t type;
        int32_t line;
        int32_t column;
        int64_t position;
    };
    const Expected expected[] = {{eTokenWord, 1, 0, 0}, {eTokenNumber, 2, 2, 5}, {eTokenText, 4, 0, 12}};
    for (const Expected& e : expected) {
        const CToken& token = reader.nextToken();
        EXPECT_EQ(e.type, token.type);
        EXPECT_EQ(e.line, token.line) << token.text;
        EXPECT_EQ(e.column, token.column) << token.text;
        EXPECT_EQ(e.position, token.position) << token.text;
    }
    EXPECT_EQ(eTokenEnd, reader.nextToken().type);
    EXPECT_EQ(static_cast<int64_t>(stream.bytes().size()), CTokenReader::getBytesRead());
}

TEST(Tokenizer, CountersAreSharedByEveryReader)
{
    CTokenReader::resetCounters();
    ScnTest::MemoryStream first("a\n");
    ScnTest::MemoryStream second("b");
    CTokenReader one(&first, nullptr);
    CTokenReader two(&second, nullptr);
    EXPECT_EQ(1, one.nextToken().line);
    EXPECT_EQ(2, two.nextToken().line);
    EXPECT_EQ(3, CTokenReader::getBytesRead());
}

TEST(Tokenizer, ReadTableAndReadWord)
{
    auto table = [](CTokenReader& r, int32_t count) {
        std::unique_ptr<CTable> values = r.readTable(count);
        std::string text = std::to_string(values->getCount()) + ":";
        for (int32_t i = 0; i < values->getCount(); ++i) {
            text += " " + number(values->getValue(i));
        }
        return text;
    };
    const std::tuple<const char*, int32_t, const char*> cases[] = {
        {"3 1.5 -2 .5", -1, "3: 1.5 -2 0.5"},
        {"4 5", 2, "2: 4 5"},
        {"0", -1, "0:"},
        {"\"2\" \"1e3\" inf", -1, "2: 1000 inf"},
        {"x 1", -1, "fails: Error converting token to decimal!"},
        {"-1 5", -1, "fails: Invalid table length"},
        {"2 1.0", -1, "fails: Error converting token to double!"},
        {"2000000000 1.0", -1, "fails: Error converting token to double!"}};
    for (const auto& [text, count, outcome] : cases) {
        int32_t asked = count;
        EXPECT_EQ(outcome, ReadOutcome(text).run([&](CTokenReader& r) { return table(r, asked); })) << text;
    }
    expectOutcomes({{" word_1", "word_1"}, {"12", "fails: Reading wrong data type!"}, {"", "fails: Reading wrong data type!"}},
                   [](CTokenReader& r) { return r.readWord(); });
}

// Bytes come through a buffer; sync and destruction leave the stream at the logical position,
// whatever the stream's read sizes and the reader's chunk.
TEST(TokenReaderBuffering, StreamFollowsTheLogicalPosition)
{
    for (int32_t streamChunk : {0, 1, 2, 5}) {
        for (size_t readerChunk : {size_t{1}, size_t{2}, size_t{7}, CReader::kDefaultChunk}) {
            ScnTest::MemoryStream stream("xx 1234 -56.5 word \"t\" 9");
            stream.maxReadChunk = streamChunk;
            stream.setPosition(3);
            {
                CTokenReader reader(&stream, nullptr, readerChunk);
                EXPECT_EQ(1234, reader.readInt());
                EXPECT_EQ(7, reader.getPosition());
                reader.sync();
                EXPECT_EQ(7, stream.getPosition());
                EXPECT_EQ(-56.5, reader.readReal());
                EXPECT_EQ("word", reader.readWord());
                EXPECT_EQ(19, reader.getPosition());
                EXPECT_EQ(19, reader.nextToken().position);
            }
            EXPECT_EQ(22, stream.getPosition()) << streamChunk << "/" << readerChunk;
        }
    }
}

TEST(TokenReaderBuffering, ReportsWithoutSceneAreDropped)
{
    ScnTest::MemoryStream stream("300 0 NaN");
    CReader reader(&stream, nullptr);
    EXPECT_EQ(255, reader.readColor().red);
    ScnTest::MemoryStream signedStream("99 0 0");
    CReader signedReader(&signedStream, nullptr);
    EXPECT_EQ(63, signedReader.readSignedColor().red);
}

TEST(TokenReaderLocale, CommaDecimalLocaleChangesNothing)
{
    ScnTest::CommaLocale locale;
    if (!locale.active()) {
        return;
    }
    ReadOutcome outcome("1.5 2,5 \"0.25\"");
    EXPECT_EQ(1.5, outcome.reader.readReal());
    EXPECT_EQ(2.0, outcome.reader.readReal());
    outcome.reader.skipTo('"');
    outcome.reader.skipTo('"');
    ReadOutcome tokens("3.75 1.5");
    EXPECT_EQ(3.75, CTokenReader::tokenToReal(tokens.reader.nextToken()));
    EXPECT_EQ(1.5, tokens.reader.readTable(1)->getValue(0));
}

}  // namespace

// Token reading inside a document's data block, where the stream steps back only 512 bytes.
namespace {

using namespace NvScn;

// The bytes of a CDATA section, delivered as asked.
using SectionStream = ScnTest::StringReadStream;

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

TEST(TokenReaderInBlock, RestOfLineTestNeverSeeksTheBlockBackFarther)
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
