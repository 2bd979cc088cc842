// The export options record, kept by the host as the add-on's preferences (version 2, 1048 bytes).
#ifndef KSV_EXPORT_OPTIONS_H
#define KSV_EXPORT_OPTIONS_H

#include "ACAPI.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace KSV {

constexpr int32_t kOptionsVersion = 2;
// Characters of the reference path that the record holds, its terminating zero not counted.
constexpr std::size_t kReferencePathCapacity = 511;

struct ExportOptions {
    uint8_t useReference;          // 0
    uint8_t padding0;
    char16_t referencePath[512];   // 2: UTF-16, zero-terminated
    uint8_t reserved1026;          // 1026
    uint8_t reserved1027;          // 1027: bit 1 goes to the plain geometry supplier
    uint8_t cameras;               // 1028: bit 0 perspective cameras
    uint8_t reserved1029;
    uint8_t reserved1030;
    uint8_t lights;                // 1031: bit 0
    uint8_t sun;                   // 1032
    uint8_t sunVariant;            // 1033: never set to non-zero
    uint8_t padding1[2];
    int32_t format;                // 1036
    uint8_t constructionArgument;  // 1040: always 1, selects format 4 over 3
    uint8_t replaceMaterials;      // 1041
    uint8_t addReferenceContent;   // 1042: views, lights, heliodons, objects
    uint8_t textureWall;           // 1043: host element type 1
    uint8_t textureRoof;           // 1044: type 3
    uint8_t textureSlab;           // 1045: type 2
    uint8_t textureOthers;         // 1046: type 4
    uint8_t uniqueLayer;           // 1047
};
static_assert(sizeof(ExportOptions) == 1048, "the stored record is 1048 bytes");
static_assert(offsetof(ExportOptions, referencePath) == 2, "reference path");
static_assert(offsetof(ExportOptions, reserved1026) == 1026, "reserved flag");
static_assert(offsetof(ExportOptions, cameras) == 1028, "cameras");
static_assert(offsetof(ExportOptions, lights) == 1031, "lights");
static_assert(offsetof(ExportOptions, sun) == 1032, "sun");
static_assert(offsetof(ExportOptions, format) == 1036, "format number");
static_assert(offsetof(ExportOptions, constructionArgument) == 1040, "construction argument");
static_assert(offsetof(ExportOptions, textureOthers) == 1046, "textures");
static_assert(offsetof(ExportOptions, uniqueLayer) == 1047, "unique layer");

// The state before the stored record is read; the construction argument is set to 1.
void resetOptions(ExportOptions* options);
// The "Default Parameters" set: lights and sun follow the host's rendering settings, the unique
// layer choice stays as it was.
void setDefaultOptions(ExportOptions* options, const API_RenderingSettings& rendering);

// The reference path; false when the record holds no terminated path.
bool referencePathOf(const ExportOptions& options, std::u16string* path);
// Stores a path; false, leaving the record unchanged, when it is longer than the record holds.
bool setReferencePath(ExportOptions* options, const std::u16string& path);
void clearReference(ExportOptions* options);

// Takes the stored options (or the defaults when none fit), runs the dialog unless the host
// suppresses it, and stores them back. Raises KSV::Cancel when the user cancels and a general
// exception when the host cannot read or store the preferences.
void prepareExportOptions(ExportOptions* options, const API_IOParams& params,
                          const API_RenderingSettings& rendering);

}  // namespace KSV

#endif
