// File information of a scene: the origin of its coordinates.
#ifndef SCN_FILE_INFO_H
#define SCN_FILE_INFO_H

#include "ScnBase.h"

namespace NvScn {

// The file information stored in a scene's "File.Info" section.
class IScnFileInfo {
public:
    // The stored origin.
    virtual const CScnVector* getOrigin() = 0;
    // Copies the three coordinates of the origin.
    virtual void setOrigin(const CScnVector* origin) = 0;

protected:
    ~IScnFileInfo() {}
};

// File information that a client may own (CScnMgr::readFileInfo) and then releases.
class IScnFileInfo2 : public IScnFileInfo {
public:
    // Destroys an object returned by CScnMgr::readFileInfo; a scene's own object is never released.
    virtual void release() = 0;
    virtual ~IScnFileInfo2() {}
};

}  // namespace NvScn

#endif
