#include "Failure.h"

#include <stdexcept>
#include <string>

#include "PlatformMessages.h"

namespace Nuvora {

namespace {

const char* orDefault(const char* message)
{
    return message != nullptr ? message : PlatformMsg::kException;
}

}  // namespace

void fail(const char* message)
{
    throw std::runtime_error(orDefault(message));
}

void failAssertion(const char* message)
{
    throw std::runtime_error(std::string(orDefault(message)) + PlatformMsg::kAssertionSuffix);
}

void failNullPointer(const char* message)
{
    throw std::runtime_error(std::string(orDefault(message)) + PlatformMsg::kNullPointerSuffix);
}

}  // namespace Nuvora
