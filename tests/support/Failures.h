// The texts of the library's three failure forms, built from the constants the library throws
// with, so that a test states only the message of a failure.
#ifndef SCN_TEST_FAILURES_H
#define SCN_TEST_FAILURES_H

#include <string>

#include "platform/PlatformMessages.h"

namespace ScnTest {

// The plain form's text of a failure without message.
inline std::string plainFailureText()
{
    return Nuvora::PlatformMsg::kException;
}

// The missing-pointer form of message.
inline std::string nullPointerText(const std::string& message = Nuvora::PlatformMsg::kException)
{
    return message + Nuvora::PlatformMsg::kNullPointerSuffix;
}

// The assertion form of message.
inline std::string assertionText(const std::string& message = Nuvora::PlatformMsg::kException)
{
    return message + Nuvora::PlatformMsg::kAssertionSuffix;
}

}  // namespace ScnTest

#endif
