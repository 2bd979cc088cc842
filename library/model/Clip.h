// The three conventions of setters that keep a value inside a range. Each is also the read filter
// of its field, so that a value read from a file obeys the same rule as one set by a client.
#ifndef SCN_CLIP_H
#define SCN_CLIP_H

#include <limits>

#include "model/BaseObjectMgr.h"

namespace NvScn {

// Upper bound of the ranges that are only bounded below.
template <class T>
constexpr T kNoUpperBound = std::numeric_limits<T>::max();

// Owner-gated: a free object keeps any value; inside a scene the value is clamped into
// [low, high] and, when it had to be, message is reported.
template <class T>
T clipOwnerGated(const CScnObject& object, T value, T low, T high, const char* message)
{
    if (object.getScene() == nullptr) {
        return value;
    }
    if (value < low || high < value) {
        object.report(message);
        return value < low ? low : high;
    }
    return value;
}

// Always-clamped: the value is clamped into [low, high] in every case; message is reported
// only when the object belongs to a scene.
template <class T>
T clipAlways(const CScnObject& object, T value, T low, T high, const char* message)
{
    if (value < low || high < value) {
        object.report(message);
        return value < low ? low : high;
    }
    return value;
}

// Silent: the value moved into [low, high] without any report (NaN passes unchanged).
template <class T>
T clampInto(T value, T low, T high)
{
    return value < low ? low : (high < value ? high : value);
}

}  // namespace NvScn

#endif
