// The token writer: exact bytes and byte counts of every operation.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "document/TokenWriter.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;

struct WriteCase {
    const char* name;
    std::function<int64_t(CWriter&)> write;
    std::string bytes;
};

CScnColor color(int red, int green, int blue)
{
    return CScnColor{0, static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue)};
}

CTable table(std::initializer_list<double> values)
{
    CTable result(static_cast<int32_t>(values.size()));
    int32_t i = 0;
    for (double value : values) {
        result.setValue(i++, value);
    }
    return result;
}

class TokenWriterWrites : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TokenWriterWrites, ExactBytesAndCount)
{
    ScnTest::MemoryStream stream;
    CWriter writer(&stream, nullptr);
    int64_t count = GetParam().write(writer);
    EXPECT_EQ(GetParam().bytes, stream.bytes());
    EXPECT_EQ(static_cast<int64_t>(GetParam().bytes.size()), count);
}

const CTable kPair = table({1.5, -2.0});
const CTable kEmpty(0);
const CScnVector kVector{1.0, 2.5, 0.0};

INSTANTIATE_TEST_SUITE_P(
    Token, TokenWriterWrites,
    ::testing::Values(
        WriteCase{"BoolTrue", [](CWriter& w) { return w.writeBool(true); }, "Y "},
        WriteCase{"BoolFalse", [](CWriter& w) { return w.writeBool(false); }, "N "},
        WriteCase{"IntNegative", [](CWriter& w) { return w.writeInt(-12); }, "-12 "},
        WriteCase{"IntZero", [](CWriter& w) { return w.writeInt(0); }, "0 "},
        WriteCase{"RealZero", [](CWriter& w) { return w.writeReal(0.0); }, "0.0 "},
        WriteCase{"RealHuge", [](CWriter& w) { return w.writeReal(3e30); },
                  "1000000000000000019884624838656.000000 "},
        WriteCase{"RealMinusTwo", [](CWriter& w) { return w.writeReal(-2.0); }, "-2.0 "},
        WriteCase{"Text", [](CWriter& w) { return w.writeText("line\n"); }, "line\n"},
        WriteCase{"TextEmpty", [](CWriter& w) { return w.writeText(""); }, ""},
        WriteCase{"TextNull", [](CWriter& w) { return w.writeText(nullptr); }, ""},
        WriteCase{"Color", [](CWriter& w) { return w.writeColor(color(255, 128, 0)); }, "255 128 0 "},
        WriteCase{"SignedColor", [](CWriter& w) { return w.writeSignedColor(color(255, 63, 0xC1)); },
                  "-1 63 -63 "},
        WriteCase{"Vector", [](CWriter& w) { return w.writeVector(&kVector); }, "1.0 2.5 0.0 "},
        WriteCase{"TableWithCount", [](CWriter& w) { return w.writeTable(&kPair, true); }, "2 1.5 -2.0  "},
        WriteCase{"TableWithoutCount", [](CWriter& w) { return w.writeTable(&kPair, false); }, "1.5 -2.0  "},
        WriteCase{"TableEmpty", [](CWriter& w) { return w.writeTable(&kEmpty, true); }, "0  "}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(TokenWriter, LargeTableIsWrittenWhole)
{
    CTable values(5000);
    std::string expected = "5000 ";
    for (int32_t i = 0; i < values.getCount(); ++i) {
        values.setValue(i, i * 0.5);
        expected += std::to_string(i / 2) + (i % 2 ? ".5 " : ".0 ");
    }
    expected += " ";
    ScnTest::MemoryStream stream;
    CWriter writer(&stream, nullptr);
    EXPECT_EQ(static_cast<int64_t>(expected.size()), writer.writeTable(&values, true));
    EXPECT_EQ(expected, stream.bytes());
}

TEST(TokenWriter, NullArgumentsFailWithTheMissingPointerForm)
{
    ScnTest::MemoryStream stream;
    CWriter writer(&stream, nullptr);
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { writer.writeTable(nullptr, true); }, ScnTest::nullPointerText("CWriter::writeTable")},
        {[&] { writer.writeVector(nullptr); }, ScnTest::nullPointerText("CWriter::writeVector")},
        {[] { CWriter(nullptr, nullptr); }, ScnTest::nullPointerText("Token stream")}};
    for (const auto& [write, message] : cases) {
        try {
            write();
            ADD_FAILURE() << "no failure for " << message;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(message, error.what());
        }
    }
    EXPECT_EQ("", stream.bytes());
}

}  // namespace
