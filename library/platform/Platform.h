// Stand-ins for the operating-system services the library relies on.
#ifndef NUVORA_PLATFORM_H
#define NUVORA_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace Nuvora {

// Fills 16 bytes from the operating system's random source; false when it cannot.
using GuidSource = bool (*)(uint8_t bytes[16]);
// Draws a fresh 16-byte identifier; false when the generator fails.
bool createGuid(uint8_t bytes[16]);
// Replaces the identifier source (tests); null restores the system one. Answers the previous one.
GuidSource setGuidSource(GuidSource source);

// Atomically adds one and answers the new value.
int32_t interlockedIncrement(int32_t* value);
// Atomically subtracts one and answers the new value.
int32_t interlockedDecrement(int32_t* value);

// A millisecond clock for progress throttling (monotonic; it may wrap around).
using ClockSource = uint32_t (*)();
uint32_t processorTimeMs();
// Replaces the clock (tests); null restores the system one. Answers the previous one.
ClockSource setClockSource(ClockSource source);

// Converts text of the 8-bit code page (Windows-1252) to UTF-8.
std::string codePageToUtf8(const char* text, size_t length);

// Ends the process when a client calls past the end of an interface: the message box of the
// original platform becomes its caption and text on standard error, then exit code 0.
[[noreturn]] void obsoleteLibraryStop();

}  // namespace Nuvora

#endif
