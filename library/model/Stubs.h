// The object kinds that live in other folders of the same layer and that the scene's collections
// hold: materials (library/shaders).
#ifndef SCN_STUBS_H
#define SCN_STUBS_H

#include "shaders/Property.h"

#endif
