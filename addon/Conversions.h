// The conversions between the host's units and the scene's: metres to centimetres, radians and
// degrees, host colours to scene colours, and file references.
#ifndef KSV_CONVERSIONS_H
#define KSV_CONVERSIONS_H

#include "ACAPI.h"

#include <ScnBase.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace KSV {

constexpr double kCentimetresPerMetre = 100.0;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kPi = 3.141592653589793;

// The largest scene coordinate the export writes (centimetres): the host keeps its models within
// 10000 km of the origin.
constexpr double kLargestCoordinate = 1.0e9;

// The project origin offset added to plan positions while it is kept (metres).
struct PlanOffset {
    double x = 0.0;
    double y = 0.0;
};

// A host position in metres as a scene position in centimetres, the plan offset added first.
inline NvScn::CScnVector scenePosition(double x, double y, double z, const PlanOffset& offset = PlanOffset())
{
    return NvScn::CScnVector{(offset.x + x) * kCentimetresPerMetre, (offset.y + y) * kCentimetresPerMetre,
                             z * kCentimetresPerMetre};
}

// The integer part of a value, kept within low to high (NaN gives low): a host value out of range
// never makes a byte wrap around.
inline int32_t integerPartWithin(double value, int32_t low, int32_t high)
{
    if (!(value > low)) {
        return low;
    }
    if (value >= high) {
        return high;
    }
    return static_cast<int32_t>(value);
}

// A host colour component (0 to 1) as a colour byte: the integer part of component × 255.
inline uint8_t colourByte(double component)
{
    return static_cast<uint8_t>(integerPartWithin(component * 255.0, 0, 255));
}

// The same with a host percentage: the integer part of component × percent / 100 × 255 + 0.5.
inline uint8_t colourByte(double component, int32_t percent)
{
    return static_cast<uint8_t>(integerPartWithin(component * percent / 100.0 * 255.0 + 0.5, 0, 255));
}

// The same rounded, without a percentage: the integer part of component × 255 + 0.5.
inline uint8_t roundedColourByte(double component)
{
    return static_cast<uint8_t>(integerPartWithin(component * 255.0 + 0.5, 0, 255));
}

inline NvScn::CScnColor sceneColour(const API_RGB& colour)
{
    return NvScn::CScnColor{0, colourByte(colour.red), colourByte(colour.green), colourByte(colour.blue)};
}

// An ambient byte: the integer part of component × 60 − 63, as the signed value the ambient holds.
inline uint8_t ambientByte(double component)
{
    return static_cast<uint8_t>(static_cast<int8_t>(integerPartWithin(component * 60.0 - 63.0, -128, 127)));
}

// The angle in degrees whose cosine is c (c taken within -1 to 1).
inline double degreesOfCosine(double c)
{
    const double clamped = c > 1.0 ? 1.0 : c < -1.0 ? -1.0 : c;
    return std::acos(std::isnan(clamped) ? 1.0 : clamped) / kPi * 180.0;
}

// A file reference of the scene for a location's URL: "file:///" and the URL without everything
// up to and including its third "/".
inline std::string fileReference(const std::string& url)
{
    std::size_t at = 0;
    for (int slash = 0; slash < 3; ++slash) {
        at = url.find('/', at);
        if (at == std::string::npos) {
            return "file:///" + url;
        }
        ++at;
    }
    return "file:///" + url.substr(at);
}

}  // namespace KSV

#endif
