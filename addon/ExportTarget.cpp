#include "ExportTarget.h"

#include <string>

namespace KSV {

ExportTarget::ExportTarget(const IO::Location& target) : mTarget(target), mTemporary(target)
{
    IO::Name name;
    if (target.GetLastLocalName(&name) != NoError) {
        mTemporary = IO::Location();
        return;
    }
    for (int n = 0; n < 1000; ++n) {
        const std::string candidate = name.ToString() + (n == 0 ? std::string() : "_" + std::to_string(n)) + ".tmp";
        IO::Location location(target);
        if (location.SetLastLocalName(IO::Name(candidate.c_str())) == NoError && !IO::fileSystem.Contains(location)) {
            mTemporary = location;
            return;
        }
    }
    mTemporary = IO::Location();
}

ExportTarget::~ExportTarget()
{
    if (!mKept) {
        discard();
    }
}

GSErrCode ExportTarget::keep()
{
    const GSErrCode error = IO::fileSystem.Move(mTemporary, mTarget);
    if (error != NoError) {
        discard();
        return error;
    }
    mKept = true;
    return NoError;
}

void ExportTarget::discard()
{
    if (!mTemporary.IsEmpty()) {
        IO::fileSystem.Delete(mTemporary);
    }
    for (auto created = mCreated.rbegin(); created != mCreated.rend(); ++created) {
        IO::fileSystem.Delete(*created);
    }
    mCreated.clear();
}

}  // namespace KSV
