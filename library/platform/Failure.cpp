#include "Failure.h"

#include <stdexcept>
#include <string>

namespace Nuvora {

namespace {

const char* orDefault(const char* message)
{
    return message != nullptr ? message : "exception";
}

}  // namespace

void fail(const char* message)
{
    throw std::runtime_error(orDefault(message));
}

void failAssertion(const char* message)
{
    throw std::runtime_error(std::string(orDefault(message)) + " (assertion failed)");
}

void failNullPointer(const char* message)
{
    throw std::runtime_error(std::string(orDefault(message)) + " (pointer is NULL)");
}

}  // namespace Nuvora
