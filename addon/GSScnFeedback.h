// The scene library's feedback: its reports go to the host's debug log.
#ifndef KSV_GS_SCN_FEEDBACK_H
#define KSV_GS_SCN_FEEDBACK_H

#include "GSRoot.h"

#include <ScnClient.h>

#include <array>

namespace KSV {

class GSScnFeedback final : public NvScn::CScnFeedback {
public:
    explicit GSScnFeedback(const std::array<GS::UniString, 2>& strings) : mStrings(strings) {}
    ~GSScnFeedback() = default;

    // Prints GSScnFeedback::warning("text") as one line of the host's debug log.
    void warning(NvScn::CScnMgr* manager, const char* text) override;
    // Always goes on: progress and cancellation go through the host's progress window.
    bool progress(NvScn::CScnMgr* manager, int32_t value, int32_t maximum) override;

private:
    std::array<GS::UniString, 2> mStrings;
};

// The exception by which any step of an export says that the user cancelled.
class Cancel : public GS::RootException {
public:
    Cancel();
    const char* GetName() const override;
    // A copy on the host heap; raises the host's out-of-memory exception when there is no memory.
    GS::GSException* Clone() const override;
};

}  // namespace KSV

#endif
