// The 3D file-type handler. This shell runs the view check and the options; the export paths that
// write the scene come next.
#include "DG.h"
#include "Errors.h"
#include "ExportOptions.h"
#include "GSScnFeedback.h"
#include "HostCalls.h"
#include "Module.h"

namespace KSV {
namespace {

// A parallel projection or a window other than the 3D window cannot be exported.
void checkView(const API_IOParams& params)
{
    if (params.method == 5) {
        API_3DProjectionInfo projection = {};
        const GSErrCode error = ACAPI_3DSettings(kSelGP3D, &projection);
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
        if (projection.isPersp == 0) {
            DGResAlert(module().resModule, 128 + 100 * languageIndex());
            throw Cancel();
        }
    } else if (params.method == 6) {
        int32_t window = 0;
        const GSErrCode error = ACAPI_Environment(kSelGWIN, &window);
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
        if (window != API_3DWindow) {
            DGResAlert(module().resModule, 133);
            throw Cancel();
        }
    }
}

}  // namespace

GSErrCode StartSCNExport(const API_IOParams* params, Modeler::Sight*)
{
    try {
        if (params == nullptr) {
            throwNullResult(kSrcSCNExport, __LINE__);
        }
        API_RenderingSettings rendering = {};
        const GSErrCode error = ACAPI_3DSettings(kSelGREN, &rendering, asParameter(0));
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
        checkView(*params);
        ExportOptions options;
        prepareExportOptions(&options, *params, rendering);
        return NoError;
    } catch (const Cancel&) {
        return APIERR_CANCEL;
    } catch (...) {
        return APIERR_GENERAL;
    }
}

}  // namespace KSV
