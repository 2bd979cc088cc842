#include "document/AnimationIO.h"

#include <string>

#include "document/TokenMessages.h"
#include "document/TokenReader.h"
#include "model/Animation.h"
#include "model/Messages.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

constexpr int32_t kClosedFlag = 1;
constexpr int32_t kSpeedFlag = 2;
constexpr int32_t kAllFlags = kClosedFlag | kSpeedFlag;

int32_t readCount(CReader& reader)
{
    int32_t count = reader.readInt();
    if (count < 0) {
        Nuvora::fail(TokenMsg::kInvalidTableLength);
    }
    return count;
}

void readKey(CReader& reader, CCamKey& key)
{
    key.setKeyType(reader.readInt());
    key.setPitch(reader.readReal());
    key.setFocal(reader.readReal());
    key.setFadingDuration(reader.readReal());
    key.setFadingNbImages(reader.readInt());
    key.setHorizontalAngle(reader.readReal());
    key.setVerticalAngle(reader.readReal());
    key.setAnticipation(reader.readReal());
    key.setBezierSection(reader.readInt());
    key.setBezierT(reader.readReal());
    key.setBezierTransition(reader.readInt());
    key.setBezierTransitionT(reader.readReal());
    CScnVector target = reader.readVector();
    key.setTarget(&target);
}

}  // namespace

void CAnimationIO::read(CAnimation& path)
{
    if (mReader == nullptr) {
        Nuvora::fail(Msg::kNoAnimationReader);
    }
    CReader& reader = *mReader;
    int32_t flag = reader.readInt();
    if (flag < 0 || flag > kAllFlags) {
        Nuvora::fail(Msg::kWrongAnimationFlag);
    }
    std::string name = reader.readUnicodeText();
    path.setName(name.c_str());
    path.setClosed((flag & kClosedFlag) != 0);
    path.setSpeedOn((flag & kSpeedFlag) != 0);
    path.setDuration(reader.readReal());
    path.setNbXImage(reader.readInt());
    path.setSpeed(reader.readReal());
    path.points().clear();
    for (int32_t i = 0, count = readCount(reader); i < count; ++i) {
        CScnVector point = reader.readVector();
        static_cast<CScnVector&>(*Nuvora::checkPointer(path.points().append(), Msg::kNewCantAllocate)) = point;
    }
    path.camKeys().clear();
    for (int32_t i = 0, count = readCount(reader); i < count; ++i) {
        readKey(reader, *Nuvora::checkPointer(path.camKeys().append(), Msg::kNewCantAllocate));
    }
}

}  // namespace NvScn
