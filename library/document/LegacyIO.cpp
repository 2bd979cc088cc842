#include "document/LegacyIO.h"

#include "document/Sections.h"
#include "model/Scene.h"

namespace NvScn {

namespace LegacyValues {

bool readFlag(CTokenReader& reader)
{
    std::string word = reader.readWord();
    if (word == "Y") {
        return true;
    }
    if (word != "N") {
        Nuvora::fail(TokenMsg::kWrongDataType);
    }
    return false;
}

int32_t readCount(CReader& reader)
{
    int32_t count = reader.readInt();
    if (count < 0) {
        Nuvora::fail(TokenMsg::kInvalidTableLength);
    }
    return count;
}

CScnVector readDirection(CReader& reader)
{
    CScnVector direction;
    direction.x = reader.readReal();
    direction.y = reader.readReal();
    direction.z = reader.readReal();
    if (reader.getScene() != nullptr) {
        reader.getScene()->fixDirection(direction);
    }
    return direction;
}

std::string pathToUrl(const std::string& path)
{
    std::string url = "file:///";
    url.reserve(url.size() + path.size() + path.size() / 4);
    for (char c : path) {
        switch (c) {
        case ' ':
            url += "%20";
            break;
        case '%':
            url += "%25";
            break;
        case ':':
            url += '|';
            break;
        case '\\':
            url += '/';
            break;
        default:
            url += c;
        }
    }
    return url;
}

}  // namespace LegacyValues

void CPointIO::read(CScnVector& point)
{
    if (mReader == nullptr) {
        Nuvora::fail(DocMsg::kNoReaderPointIO);
    }
    point = mReader->readVector();
}

void CLightIO::read(CLight& light)
{
    if (mReader == nullptr) {
        Nuvora::fail(DocMsg::kNoReaderLightIO);
    }
    CTokenReader& reader = *mReader;
    int32_t type = reader.readInt();
    if (!kLightTypes.hasLabel(type)) {
        Nuvora::fail(DocMsg::kLightTypeInvalid);
    }
    light.setType(type);
    light.setName(reader.readUnicodeText().c_str());
    light.setActive(LegacyValues::readFlag(reader));
    CPointIO points(&reader);
    CScnVector point;
    points.read(point);
    light.setPosition(&point);
    points.read(point);
    light.setTarget(&point);
    CScnColor color = reader.readColor();
    light.setColor(&color);
    light.setPower(reader.readReal());
    light.setDistanceNear(reader.readReal());
    light.setDistanceFar(reader.readReal());
    light.setConeAngle(reader.readReal());
    light.setSharpness(reader.readReal());
    int32_t shadowType = reader.readInt();
    if (!kShadowTypes.hasLabel(shadowType)) {
        Nuvora::fail(DocMsg::kShadowTypeInvalid);
    }
    light.setShadowType(shadowType);
    light.setShadowPower(reader.readReal());
    light.setMapSize(reader.readInt());
    light.setBias(reader.readReal());
}

namespace Sections {

void readLegacyLights(CSCN& scene, CTokenReader& reader)
{
    TObjectMgrIO<CLight, CScnLight, CLightIO>(&reader).read(scene.lights());
}

}  // namespace Sections
}  // namespace NvScn
