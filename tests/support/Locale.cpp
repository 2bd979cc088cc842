#include "support/Locale.h"

#include <clocale>

#include <gtest/gtest.h>

namespace ScnTest {

CommaLocale::CommaLocale()
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    mPrevious = current != nullptr ? current : "C";
    mActive = std::setlocale(LC_ALL, kCommaLocaleName) != nullptr;
    if (!mActive) {
        ADD_FAILURE() << "the comma-decimal locale " << kCommaLocaleName
                      << " is not installed (make deps installs locales-all)";
    }
}

CommaLocale::~CommaLocale()
{
    std::setlocale(LC_ALL, mPrevious.c_str());
}

void inPlainAndCommaLocales(const std::function<void(bool comma)>& body)
{
    body(false);
    CommaLocale comma;
    if (comma.active()) {
        body(true);
    }
}

}  // namespace ScnTest
