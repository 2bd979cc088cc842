// The liveness guard of nodes and attributes, and the reporting of faults met in destructors.
#ifndef NUVORA_XML_MINE_H
#define NUVORA_XML_MINE_H

#include <cstdint>
#include <exception>

namespace NuvoraXML {

// A word that tells a live object from a destroyed or corrupted one.
class XCMine {
public:
    static constexpr uint32_t kAlive = 0xC0DEA1FFu;
    static constexpr uint32_t kDead = 0xCACADEADu;

    XCMine() : mState(kAlive) {}
    // Reports a double or invalid deletion, then marks the word dead.
    ~XCMine()
    {
        uint32_t state = mState;
        if (state != kAlive) {
            ReportDeletion(state);
        }
        mState = kDead;
    }
    XCMine(const XCMine&) : mState(kAlive) {}
    XCMine& operator=(const XCMine&) { return *this; }

    // Fails with an assertion unless the owner is alive.
    void CheckMine() const;
    uint32_t GetState() const { return mState; }

private:
    // Reports the deletion of an object whose word is not the live one.
    static void ReportDeletion(uint32_t state) noexcept;

    volatile uint32_t mState;
};

// Reports, as a fault diagnostic, the exception being handled, through a "...(%s)" format.
void reportCaughtException(const char* format, std::exception_ptr caught) noexcept;

// Runs an action inside a destructor: whatever it throws is reported through format, never passed on.
template <class Action>
void guardDestructor(const char* format, Action&& action) noexcept
{
    try {
        action();
    } catch (...) {
        reportCaughtException(format, std::current_exception());
    }
}

}  // namespace NuvoraXML

#endif
