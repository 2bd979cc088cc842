// Everything a client of the scene-file library needs.
#ifndef SCN_H
#define SCN_H

#include "ScnMgr.h"

#endif
