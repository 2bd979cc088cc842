// Shared ownership for objects that several owners hold (images, data objects).
#ifndef NUVORA_REFCOUNT_H
#define NUVORA_REFCOUNT_H

#include <cstdint>

#include "platform/Platform.h"

namespace Nuvora {

// The counting interface: each owner adds a reference and releases it when done.
class XIRefCount {
public:
    // Adds a reference; answers the new count.
    virtual int32_t AddRef() = 0;
    // Drops a reference, destroying the object at 0; answers the new count.
    virtual int32_t Release() = 0;

protected:
    virtual ~XIRefCount() {}
};

// The count itself; destroying it while references remain is reported, not prevented.
class XCBaseRefCount {
public:
    XCBaseRefCount() : mRefCount(0) {}
    XCBaseRefCount(const XCBaseRefCount&) : mRefCount(0) {}
    XCBaseRefCount& operator=(const XCBaseRefCount&) { return *this; }
    virtual ~XCBaseRefCount();

    int32_t GetRefCount() const { return mRefCount; }

protected:
    int32_t mRefCount;
};

// Implements an interface T (derived from XIRefCount) with interlocked counting.
template <class T>
class XTCRefCount : public T, public XCBaseRefCount {
public:
    using T::T;

    int32_t AddRef() override { return interlockedIncrement(&mRefCount); }

    int32_t Release() override
    {
        int32_t count = interlockedDecrement(&mRefCount);
        if (count == 0) {
            delete this;
        }
        return count;
    }
};

}  // namespace Nuvora

#endif
