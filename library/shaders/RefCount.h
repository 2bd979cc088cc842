// The reference count of shader nodes and tables.
#ifndef SCN_SHADERS_REFCOUNT_H
#define SCN_SHADERS_REFCOUNT_H

#include <cstdint>

namespace NvScn {

// Sends "Object deleted with a non zero ref count" to the diagnostic sink.
void reportNonZeroRefCount();

// A plain (not interlocked) count starting at 0 over an interface Base that declares AddRef and
// Release: Release destroys the object when the count reaches 0. Destroying an object whose count
// is not 0 sends a diagnostic and destroys it anyway.
template <class Base>
class TScnRefCount : public Base {
public:
    int32_t AddRef() override { return ++mRefCount; }
    int32_t Release() override
    {
        int32_t count = --mRefCount;
        if (count == 0) {
            destroyUnreferenced();
        }
        return count;
    }
    // The current count.
    int32_t refCount() const { return mRefCount; }

protected:
    ~TScnRefCount() override
    {
        if (mRefCount != 0) {
            reportNonZeroRefCount();
        }
    }
    // Called when the count reaches 0; destroys the object.
    virtual void destroyUnreferenced() { delete this; }

    int32_t mRefCount = 0;
};

}  // namespace NvScn

#endif
