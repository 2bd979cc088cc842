#include "ExportOptions.h"
#include "ExportOptionsDialog.h"
#include "GSScnFeedback.h"
#include "HostCalls.h"

#include <cstring>

namespace KSV {

void resetOptions(ExportOptions* options)
{
    std::memset(options, 0, sizeof *options);
    options->sun = 1;
    options->format = 4;
    options->constructionArgument = 1;
}

void setDefaultOptions(ExportOptions* options, const API_RenderingSettings& rendering)
{
    clearReference(options);
    options->reserved1026 = 1;
    options->reserved1027 = 1;
    options->cameras = 1;
    options->reserved1029 = 1;
    options->reserved1030 = 1;
    options->lights = rendering.lights != 0 ? 1 : 0;
    options->sun = rendering.sun != 0 ? 1 : 0;
    options->sunVariant = 0;
    options->format = 4;
    options->constructionArgument = 1;
    options->replaceMaterials = 1;
    options->addReferenceContent = 1;
    options->textureWall = 1;
    options->textureRoof = 1;
    options->textureSlab = 1;
    options->textureOthers = 1;
}

bool referencePathOf(const ExportOptions& options, std::u16string* path)
{
    const std::size_t units = sizeof options.referencePath / sizeof options.referencePath[0];
    for (std::size_t length = 0; length < units; ++length) {
        if (options.referencePath[length] == 0) {
            path->assign(options.referencePath, length);
            return true;
        }
    }
    return false;
}

bool setReferencePath(ExportOptions* options, const std::u16string& path)
{
    if (path.size() > kReferencePathCapacity || path.find(u'\0') != std::u16string::npos) {
        return false;
    }
    std::memset(options->referencePath, 0, sizeof options->referencePath);
    std::memcpy(options->referencePath, path.data(), path.size() * sizeof(char16_t));
    return true;
}

void clearReference(ExportOptions* options)
{
    options->useReference = 0;
    std::memset(options->referencePath, 0, sizeof options->referencePath);
}

void prepareExportOptions(ExportOptions* options, const API_IOParams& params,
                          const API_RenderingSettings& rendering)
{
    resetOptions(options);
    int32_t version = 0;
    int32_t size = 0;
    if (ACAPI_GetPreferences(&version, &size, nullptr) != NoError) {
        throw GS::GeneralException();
    }
    if (version == kOptionsVersion && size == static_cast<int32_t>(sizeof(ExportOptions))) {
        ExportOptions stored;
        std::memcpy(&stored, options, sizeof stored);
        size = static_cast<int32_t>(sizeof stored);
        if (ACAPI_GetPreferences(&version, &size, &stored) != NoError) {
            throw GS::GeneralException();
        }
        std::memcpy(options, &stored, sizeof stored);
        if (options->format < 0 || options->format > 255) {
            setDefaultOptions(options, rendering);
        }
        // A path without its terminating zero names no file.
        std::u16string path;
        if (!referencePathOf(*options, &path)) {
            clearReference(options);
        }
        options->format = 4;
    } else {
        setDefaultOptions(options, rendering);
    }
    if (params.noDialog == 0 && !showExportOptionsDialog(options, params, rendering)) {
        throw Cancel();
    }
    if (ACAPI_SetPreferences(kOptionsVersion, static_cast<int32_t>(sizeof *options), options) != NoError) {
        throw GS::GeneralException();
    }
}

}  // namespace KSV
