// Report texts of the scene core and the object managers, stated once.
#ifndef SCN_MESSAGES_H
#define SCN_MESSAGES_H

namespace NvScn {
namespace Msg {

constexpr const char* kClientNewer = "Client is newer than Scn Library!";
constexpr const char* kClientObsolete = "Client is obsolete for this Scn Library!";

constexpr const char* kGetBadIndex = "getScnObject: Bad index value";
constexpr const char* kNewBadIndex = "newScnObject: Bad index value";
constexpr const char* kNewCantAllocate = "newScnObject: Can't allocate object";
constexpr const char* kRemoveBadIndex = "removeObject: Bad index value";
constexpr const char* kRemoveNoMore = "removeObject: no more object to remove";
constexpr const char* kMoveBadIndex = "moveObject: Bad index value";
constexpr const char* kNoMemory = "No memory availiable";
constexpr const char* kCantCreateUuid = "Can't create UUID";

constexpr const char* kExceptionIn = "Exception in %s : %s";
constexpr const char* kUnknownExceptionIn = "Unknown exception in %s";

}  // namespace Msg
}  // namespace NvScn

#endif
