// Every text that the token reader, the token writer and the geometry block codec report or
// fail with, stated once.
#ifndef SCN_TOKEN_MESSAGES_H
#define SCN_TOKEN_MESSAGES_H

namespace NvScn {
namespace TokenMsg {

// Token text (character reader, tokenizer, conversions).
constexpr const char* kEndOfFileUnexpected = "End of file unexpected";
constexpr const char* kNotANumber = "This is not a number";
constexpr const char* kNotAnInteger = "This is not an integer";
constexpr const char* kNanOrInf = "NaN or INF double.";
constexpr const char* kInvalidColor = "Invalid color value";
constexpr const char* kWrongDataType = "Reading wrong data type!";
constexpr const char* kTokenNotDecimal = "Error converting token to decimal!";
constexpr const char* kTokenNotDouble = "Error converting token to double!";
constexpr const char* kIntegerOutOfRange = "Integer value out of range";
constexpr const char* kInvalidTableLength = "Invalid table length";

// Geometry blocks.
constexpr const char* kBlockNotAnInteger = "This is not a integer";
constexpr const char* kBlockInf = "INF double.";
constexpr const char* kBlockNan = "NaN double.";
constexpr const char* kPointsCountWrong = "Numbers of points seems wrong";
constexpr const char* kPolygonsCountWrong = "Numbers of polygons seems wrong";
constexpr const char* kPolygonTypeUnknown = "Polygone type unknown";
constexpr const char* kErrorReadingPolygon = "Error reading polygone";
constexpr const char* kHoledPolygonSmoothed = "Holed polygone smoothed (smoothing will be loss)";
constexpr const char* kCantWritePolygon = "Can't write polygone";
constexpr const char* kErrorWritingPolygon = "Error writing polygone";
constexpr const char* kStorageCancel = "External storage cancel IO";
constexpr const char* kOperationCancelled = "Operation cancelled";
constexpr const char* kCantWriteCharacter = "Can't write character";

// Null arguments.
constexpr const char* kWriteNullTable = "CWriter::writeTable";
constexpr const char* kWriteNullVector = "CWriter::writeVector";
constexpr const char* kNullStream = "Token stream";
constexpr const char* kNullBlockStream = "Geometry block stream";
constexpr const char* kNullPointTable = "Point table";
constexpr const char* kNullPolygonTable = "Polygon table";

}  // namespace TokenMsg
}  // namespace NvScn

#endif
