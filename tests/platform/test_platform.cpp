// Failure forms, code page conversion, diagnostics sink and the other platform stand-ins.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Diagnostics.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/PlatformMessages.h"
#include "support/Failures.h"

namespace {

std::string failureText(void (*thrower)())
{
    try {
        thrower();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

TEST(Failure, ThreeFormsWithTheDefaultMessage)
{
    EXPECT_EQ(failureText([] { Nuvora::fail("Impossible"); }), "Impossible");
    EXPECT_EQ(failureText([] { Nuvora::fail(); }), "exception");
    EXPECT_EQ(failureText([] { Nuvora::failAssertion("Invalid application tag"); }),
              "Invalid application tag (assertion failed)");
    EXPECT_EQ(failureText([] { Nuvora::failAssertion(); }), "exception (assertion failed)");
    EXPECT_EQ(failureText([] { Nuvora::checkPointer<int>(nullptr, "mTree is NULL"); }),
              "mTree is NULL (pointer is NULL)");
    EXPECT_EQ(failureText([] { Nuvora::check(false, nullptr); }), "exception (assertion failed)");
    EXPECT_EQ(failureText([] { Nuvora::check(true, "x"); }), "(nothing thrown)");
}

// The other tests build the failure texts from these constants (support/Failures.h): their
// spellings are pinned here once.
TEST(Failure, ConstantsHoldTheTextsOfTheThreeForms)
{
    EXPECT_STREQ(Nuvora::PlatformMsg::kException, "exception");
    EXPECT_STREQ(Nuvora::PlatformMsg::kAssertionSuffix, " (assertion failed)");
    EXPECT_STREQ(Nuvora::PlatformMsg::kNullPointerSuffix, " (pointer is NULL)");
    EXPECT_EQ(ScnTest::nullPointerText(), "exception (pointer is NULL)");
    EXPECT_EQ(ScnTest::assertionText("Null uuid"), "Null uuid (assertion failed)");
}

TEST(CodePage, ConvertsWindows1252ToUtf8)
{
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"caf\xE9", "caf\xC3\xA9"},
        {"\x80", "\xE2\x82\xAC"},
        {"\x9F", "\xC5\xB8"},
        {"\x81", "\xC2\x81"},
        {"\xFF", "\xC3\xBF"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Nuvora::codePageToUtf8(c.input, std::char_traits<char>::length(c.input)), c.expected);
    }
}

TEST(Interlocked, CountsUpAndDown)
{
    int32_t count = 0;
    EXPECT_EQ(Nuvora::interlockedIncrement(&count), 1);
    EXPECT_EQ(Nuvora::interlockedIncrement(&count), 2);
    EXPECT_EQ(Nuvora::interlockedDecrement(&count), 1);
}

TEST(Guid, DrawsDistinctIdentifiersAndCanBeReplaced)
{
    uint8_t a[16];
    uint8_t b[16];
    ASSERT_TRUE(Nuvora::createGuid(a));
    ASSERT_TRUE(Nuvora::createGuid(b));
    EXPECT_NE(std::string(reinterpret_cast<char*>(a), 16), std::string(reinterpret_cast<char*>(b), 16));
    Nuvora::GuidSource previous = Nuvora::setGuidSource([](uint8_t*) { return false; });
    EXPECT_FALSE(Nuvora::createGuid(a));
    Nuvora::setGuidSource(previous);
    EXPECT_TRUE(Nuvora::createGuid(a));
}

struct Collected {
    std::vector<std::pair<int, std::string>> entries;
};

void collect(void* context, int level, const char* text)
{
    static_cast<Collected*>(context)->entries.emplace_back(level, text);
}

TEST(Diagnostics, ThreadSinkFirstThenProcessSinkElseDropped)
{
    Nuvora::reportDiagnostic(0, "dropped");
    Collected process;
    Collected thread;
    Nuvora::setProcessDiagnosticSink(&collect, &process);
    Nuvora::reportDiagnostic(1, "to process");
    Nuvora::setThreadDiagnosticSink(&collect, &thread);
    Nuvora::reportDiagnostic(0, "to thread");
    std::thread other([] { Nuvora::reportDiagnostic(0, "other thread to process"); });
    other.join();
    Nuvora::setThreadDiagnosticSink([](void*, int, const char*) { throw 1; }, nullptr);
    Nuvora::reportDiagnostic(0, "swallowed");
    Nuvora::setThreadDiagnosticSink(nullptr, nullptr);
    Nuvora::setProcessDiagnosticSink(nullptr, nullptr);
    Nuvora::reportDiagnostic(0, "dropped again");
    using Entries = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(process.entries, (Entries{{1, "to process"}, {0, "other thread to process"}}));
    EXPECT_EQ(thread.entries, (Entries{{0, "to thread"}}));
}

TEST(ObsoleteLibraryStop, ExplainsOnStandardErrorAndExitsWithZero)
{
    EXPECT_EXIT(Nuvora::obsoleteLibraryStop(), ::testing::ExitedWithCode(0),
                "Please update SCN Library and relaunch the application.\nSCN Library is obsolete");
}

}  // namespace
