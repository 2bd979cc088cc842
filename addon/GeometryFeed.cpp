#include "GeometryFeed.h"

#include <cstdlib>
#include <cstring>

namespace KSV {

FeedMode feedModeFromEnvironment()
{
    const char* text = std::getenv("KESTROVIN_GEOMETRY_PRODUCER");
    if (text != nullptr && std::strcmp(text, "inline") == 0) {
        return FeedMode::inlineOnly;
    }
    if (text != nullptr && std::strcmp(text, "thread") == 0) {
        return FeedMode::threadAlways;
    }
    return FeedMode::automatic;
}

}  // namespace KSV
