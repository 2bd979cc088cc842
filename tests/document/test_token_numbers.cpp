// The real and integer formats of the token text, and the locale-free conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

#include "document/TokenNumbers.h"
#include "support/Locale.h"
#include "test_geometry_block_support.h"

namespace {

using namespace NvScn;

std::string real(double value)
{
    char text[TokenNumbers::kRealCapacity];
    return std::string(text, TokenNumbers::putReal(text, value));
}

std::string integer(int32_t value)
{
    char text[TokenNumbers::kIntCapacity];
    return std::string(text, TokenNumbers::putInt(text, value));
}

// The real format written the plain way: clamp, "%lf " in the C locale beyond 2147483647,
// otherwise digit by digit with the growing tolerance.
std::string referenceReal(double value)
{
    if (value > 1e30) {
        value = 1e30;
    } else if (value < -1e30) {
        value = -1e30;
    }
    if (value == 0.0) {
        return "0.0 ";
    }
    double magnitude = std::fabs(value);
    char text[128];
    if (magnitude > 2147483647.0) {
        locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
        locale_t previous = uselocale(c);
        std::snprintf(text, sizeof text, "%lf ", value);
        uselocale(previous);
        freelocale(c);
        return text;
    }
    std::string out = value < 0 ? "-" : "";
    double rounded = magnitude + 5e-7;
    long whole = static_cast<long>(rounded);
    out += std::to_string(whole) + ".";
    double fraction = rounded - static_cast<double>(whole);
    double tolerance = 1e-6;
    do {
        fraction *= 10;
        int digit = static_cast<int>(fraction);
        out += static_cast<char>('0' + digit);
        fraction -= digit;
        tolerance *= 10;
    } while (fraction > tolerance && tolerance < 0.9);
    return out + " ";
}

struct RealCase {
    double value;
    const char* text;
};

class RealFormat : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealFormat, WritesTheExactText)
{
    EXPECT_EQ(GetParam().text, real(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Token, RealFormat,
    ::testing::Values(RealCase{0.0, "0.0 "}, RealCase{-0.0, "0.0 "}, RealCase{1.5, "1.5 "},
                      RealCase{0.1, "0.1 "}, RealCase{-2.0, "-2.0 "}, RealCase{2.5, "2.5 "},
                      RealCase{123.456, "123.456 "}, RealCase{1.000001, "1.000001 "},
                      RealCase{0.333333333, "0.333333 "}, RealCase{0.9999996, "1.0 "},
                      RealCase{1e-7, "0.0 "}, RealCase{-1e-7, "-0.0 "},
                      RealCase{2147483647.0, "2147483647.0 "},
                      RealCase{2147483648.0, "2147483648.000000 "},
                      RealCase{-4294967296.25, "-4294967296.250000 "},
                      RealCase{3e30, "1000000000000000019884624838656.000000 "},
                      RealCase{-3e30, "-1000000000000000019884624838656.000000 "},
                      RealCase{std::numeric_limits<double>::infinity(),
                               "1000000000000000019884624838656.000000 "},
                      RealCase{std::numeric_limits<double>::quiet_NaN(), "NaN "}));

// Values of every shape: uniform, decimal grids, half-way cases (which take the digit-by-digit
// path), integers, large values and raw bit patterns.
TEST(RealFormatReference, MatchesThePlainAlgorithmByteForByte)
{
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> uniform(-1000.0, 1000.0);
    size_t mismatches = 0;
    auto check = [&](double value) {
        std::string expected = referenceReal(value);
        std::string actual = real(value);
        if (expected != actual && ++mismatches <= 10) {
            ADD_FAILURE() << "value " << value << ": expected \"" << expected << "\", got \"" << actual << "\"";
        }
    };
    for (int i = 0; i < 200000; ++i) {
        check(uniform(random));
        int64_t k = static_cast<int64_t>(random() % 2000000000ull) - 1000000000;
        check(k / 1e6);
        check((k + 0.5) / 1e6);
        check(k / 1e3);
        check(k * 1e-7);
        check(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 40));
        uint64_t bits = random();
        double raw;
        std::memcpy(&raw, &bits, sizeof raw);
        if (!std::isnan(raw)) {
            check(raw);
        }
    }
    EXPECT_EQ(0u, mismatches);
}

TEST(IntFormat, WritesDigitsSignAndSpace)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "0 "}, {7, "7 "}, {-12, "-12 "}, {100, "100 "}, {99999, "99999 "},
        {2147483647, "2147483647 "}, {-2147483647 - 1, "-2147483648 "}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(text, integer(value)) << value;
    }
}

TEST(ScanInt, FollowsTheDecimalConversion)
{
    struct Case {
        const char* text;
        bool converts;
        int32_t value;
    };
    const Case cases[] = {{"12", true, 12},        {"  -7", true, -7},      {"+3", true, 3},
                          {"12.5", true, 12},      {"8abc", true, 8},       {"abc", false, 0},
                          {"", false, 0},          {"-", false, 0},         {"- 5", false, 0},
                          {"2147483647", true, 2147483647},                 {"-2147483648", true, INT32_MIN},
                          {"2147483648", false, 0}, {"99999999999999999999", false, 0}};
    for (const Case& c : cases) {
        int32_t value = 0;
        EXPECT_EQ(c.converts, TokenNumbers::scanInt(c.text, value)) << c.text;
        if (c.converts) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
}

TEST(ScanDouble, FollowsTheRealConversion)
{
    struct Case {
        const char* text;
        bool converts;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {{"1.5", true, 1.5},     {" -0.25", true, -0.25}, {"+2", true, 2.0},
                          {"1e3", true, 1000.0},  {".5", true, 0.5},       {"5.", true, 5.0},
                          {"0x10", true, 16.0},   {"0x", true, 0.0},       {"inf", true, inf},
                          {"-Infinity", true, -inf}, {"1e999", true, inf}, {"-1e999", true, -inf},
                          {"1e-999", true, 0.0},  {"12abc", true, 12.0},   {"abc", false, 0.0},
                          {"", false, 0.0},       {"-", false, 0.0},       {".", false, 0.0}};
    for (const Case& c : cases) {
        double value = -99.0;
        EXPECT_EQ(c.converts, TokenNumbers::scanDouble(c.text, value)) << c.text;
        if (c.converts) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
    double value = 0.0;
    EXPECT_TRUE(TokenNumbers::scanDouble("nan", value));
    EXPECT_TRUE(std::isnan(value));
}

TEST(DecimalToDouble, IsExactWhereDigitAccumulationIsNot)
{
    const char* texts[] = {"0.1", "0.3", "123456.789012", "9007199254740993", "0.000001",
                           "2.2250738585072014", "1.7976931348623157", "3.14159265358979323846"};
    for (const char* text : texts) {
        EXPECT_EQ(std::strtod(text, nullptr), TokenNumbers::decimalToDouble(text, text + std::strlen(text)))
            << text;
    }
    std::string huge(400, '9');
    EXPECT_EQ(std::numeric_limits<double>::infinity(),
              TokenNumbers::decimalToDouble(huge.data(), huge.data() + huge.size()));
    std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(0.0, TokenNumbers::decimalToDouble(tiny.data(), tiny.data() + tiny.size()));
}

TEST(TokenNumbersLocale, CommaDecimalLocaleChangesNothing)
{
    ScnTest::CommaLocale locale;
    if (!locale.active()) {
        return;
    }
    EXPECT_EQ("1.5 ", real(1.5));
    EXPECT_EQ("-1000000000000000019884624838656.000000 ", real(-1e31));
    EXPECT_EQ("4294967296.500000 ", real(4294967296.5));
    double value = 0.0;
    EXPECT_TRUE(TokenNumbers::scanDouble("2.75", value));
    EXPECT_EQ(2.75, value);
    EXPECT_EQ(0.5, TokenNumbers::decimalToDouble("0.5", "0.5" + 3));
}

}  // namespace
