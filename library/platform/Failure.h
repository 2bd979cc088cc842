// The library-wide failure forms: every fault is a std::runtime_error carrying its text.
#ifndef NUVORA_FAILURE_H
#define NUVORA_FAILURE_H

namespace Nuvora {

// Throws the message itself ("exception" when null).
[[noreturn]] void fail(const char* message = nullptr);
// Throws the message followed by " (assertion failed)".
[[noreturn]] void failAssertion(const char* message = nullptr);
// Throws the message followed by " (pointer is NULL)".
[[noreturn]] void failNullPointer(const char* message = nullptr);

// Fails with the assertion form unless the condition holds.
inline void check(bool condition, const char* message)
{
    if (!condition) {
        failAssertion(message);
    }
}

// Fails with the missing-pointer form when the pointer is null; answers the pointer.
template <class T>
inline T* checkPointer(T* pointer, const char* message)
{
    if (pointer == nullptr) {
        failNullPointer(message);
    }
    return pointer;
}

}  // namespace Nuvora

#endif
