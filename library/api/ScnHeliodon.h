// Heliodons (sun settings) and their study options.
#ifndef SCN_HELIODON_H
#define SCN_HELIODON_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnHeliodon {
public:
    virtual ~CScnHeliodon() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnHeliodonOpt {
public:
    virtual ~CScnHeliodonOpt() {}
};

}  // namespace NvScn

#endif
