// The guard through which every public interface is implemented.
#ifndef SCN_FRONTIER_H
#define SCN_FRONTIER_H

#include "platform/Platform.h"

namespace NvScn {

// Appends three slots after the last operation of T; a client built against a newer interface
// that calls past T's end lands here and the process stops instead of running foreign code.
template <class T>
class TScnFrontier : public T {
public:
    virtual void frontierGuard1() { Nuvora::obsoleteLibraryStop(); }
    virtual void frontierGuard2() { Nuvora::obsoleteLibraryStop(); }
    virtual void frontierGuard3() { Nuvora::obsoleteLibraryStop(); }
};

}  // namespace NvScn

#endif
