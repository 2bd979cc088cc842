// Every text of the platform layer, stated once: the three failure forms that every area throws
// (Failure.h), and the stop of an obsolete library (Platform.h).
#ifndef NUVORA_PLATFORM_MESSAGES_H
#define NUVORA_PLATFORM_MESSAGES_H

namespace Nuvora::PlatformMsg {

// The plain form carries its message, or kException when it has none; the assertion form and the
// missing-pointer form carry the message (or kException) followed by their suffix.
constexpr const char* kException = "exception";
constexpr const char* kAssertionSuffix = " (assertion failed)";
constexpr const char* kNullPointerSuffix = " (pointer is NULL)";

// The message box of a client that calls past the end of an interface, as text and caption.
constexpr const char* kObsoleteLibraryText = "Please update SCN Library and relaunch the application.";
constexpr const char* kObsoleteLibraryCaption = "SCN Library is obsolete";

}  // namespace Nuvora::PlatformMsg

#endif
