// Materials (properties) and their shader trees.
#ifndef SCN_SHADERS_H
#define SCN_SHADERS_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnProperty {
public:
    virtual ~CScnProperty() {}
};

}  // namespace NvScn

#endif
