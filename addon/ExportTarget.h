// The files an export writes: the scene goes into a temporary file beside the target, which
// replaces the target only once the scene is saved whole; until then the user's previous file
// stays as it was, and whatever the export created is removed when it fails.
#ifndef KSV_EXPORT_TARGET_H
#define KSV_EXPORT_TARGET_H

#include "InputOutput.h"

#include <vector>

namespace KSV {

class ExportTarget {
public:
    // Picks a temporary file beside the target whose name no file has yet.
    explicit ExportTarget(const IO::Location& target);
    // Removes what the export created unless it was kept.
    ~ExportTarget();
    ExportTarget(const ExportTarget&) = delete;
    ExportTarget& operator=(const ExportTarget&) = delete;

    const IO::Location& target() const { return mTarget; }
    // Where the scene is written.
    const IO::Location& temporary() const { return mTemporary; }
    // A file or folder the export created, removed (folders when empty) if the export fails.
    void created(const IO::Location& location) { mCreated.push_back(location); }
    // Moves the temporary file over the target; the export's files then stay. A host error code
    // when the move fails (then nothing is kept).
    GSErrCode keep();
    // Removes the temporary file and what the export created, newest first.
    void discard();

private:
    IO::Location mTarget;
    IO::Location mTemporary;
    std::vector<IO::Location> mCreated;
    bool mKept = false;
};

}  // namespace KSV

#endif
