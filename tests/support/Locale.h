// The comma-decimal locale that the tests of locale independence switch to. The project installs it
// (scripts/install-deps: locales-all), so its absence fails the test that asked for it, with one
// message; the test then stops (or skips the comma-locale pass).
#ifndef SCN_TEST_LOCALE_H
#define SCN_TEST_LOCALE_H

#include <functional>
#include <string>

namespace ScnTest {

// The locale whose decimal separator is a comma.
constexpr const char* kCommaLocaleName = "de_DE.UTF-8";

// Switches the whole process to the comma-decimal locale for the life of the object and then
// restores the locale it found; when the locale is missing the test fails here and active() is
// false.
class CommaLocale {
public:
    CommaLocale();
    // Whether the process runs in the comma-decimal locale now.
    bool active() const { return mActive; }
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    std::string mPrevious;
    bool mActive;
};

// Runs body(false) in the locale the test runs in, then body(true) under CommaLocale (not when
// the locale is missing, which fails the test).
void inPlainAndCommaLocales(const std::function<void(bool comma)>& body);

}  // namespace ScnTest

#endif
