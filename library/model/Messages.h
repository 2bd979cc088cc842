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

// Clipping reports of the views, the environment and the rendering options.
constexpr const char* kClipFocal = "Method setFocal has clipped a value out of range.";
constexpr const char* kClipLinePower = "Method setLinePower has clipped a value out of range.";
constexpr const char* kClipHighDensity = "Method setHighDensity has clipped a value out of range.";
constexpr const char* kClipMediumDensity = "Method setMediumDensity has clipped a value out of range.";
constexpr const char* kClipLowDensity = "Method setLowDensity has clipped a value out of range.";
constexpr const char* kClipScale = "Method setScale has clipped a value out of range.";
constexpr const char* kClipNoise = "Method setNoise has clipped a value out of range.";
constexpr const char* kClipSunshine = "Method setSunshine has clipped a value out of range.";
constexpr const char* kClipNorthAngle = "Method setNorthAngle has clipped a value out of range.";
constexpr const char* kClipFilmFrameRate = "Method setFilmFrameRate has clipped a value out of range.";
constexpr const char* kClipNbReflection =
    "class CRenderingOpt: Method setNbReflection has clipped a value out of range.";
constexpr const char* kClipNbRefraction =
    "class CRenderingOpt: Method setNbRefraction has clipped a value out of range.";
constexpr const char* kClipHeight = "class CRenderingOpt: Method setHeight has clipped a value out of range.";
constexpr const char* kClipWidth = "class CRenderingOpt: Method setWidth has clipped a value out of range.";
constexpr const char* kClipRenderFirst =
    "class CRenderingOpt: Method setRenderFirst has clipped a value out of range.";
constexpr const char* kClipRenderLast =
    "class CRenderingOpt: Method setRenderLast has clipped a value out of range.";
constexpr const char* kClipParallelScale =
    "class CRenderingOpt: Method setParallelScale has clipped a value out of range.";
constexpr const char* kClipImageResolution =
    "class CRenderingOpt: Method setImageResolution has clipped a value out of range.";
constexpr const char* kClipPanoramaResolution =
    "class CRenderingOpt: Method setPanoramaResolution has clipped a value out of range.";
constexpr const char* kClipRadiosityFactor =
    "class CRenderingOpt:Method setRadiosityFactor has clipped a value out of range.";
constexpr const char* kClipRadiosityQuality =
    "class CRenderingOpt: Method setRadiosityQuality has clipped a value out of range.";
constexpr const char* kContrastPositive = "CRenderingOpt::setContrast value must be positive";
constexpr const char* kLuminosityRange = "CRenderingOpt::setLuminosity value must be between -1 and 1.";
constexpr const char* kGroundNoProperty = "CScnXMLIO::GetGround : no property!";

// Setters of the heliodon.
constexpr const char* kBadBlur = "CScnHeliodon::setShadowBlur: invalid blur level";
constexpr const char* kGetColorBadIndex = "CScnHeliodon::getColor: bad index";
constexpr const char* kSetColorBadIndex = "CScnHeliodon::setColor: bad index";

// Label tables: the value or label, then the first and last labels of the table.
constexpr const char* kNoLabelForValue = "No label for the value (%d) [%s..%s]";
constexpr const char* kInvalidLabel = "Invalid label (%s) [%s..%s]";

constexpr const char* kExceptionIn = "Exception in %s : %s";
constexpr const char* kUnknownExceptionIn = "Unknown exception in %s";

// ---- Animations, camera paths, scenarios and panoramas ----
constexpr const char* kClipDuration = "Method setDuration has clipped a value out of range.";
constexpr const char* kClipNbXImage = "Method setNbXImage has clipped a value out of range.";
// A key frame whose value type has no form.
constexpr const char* kUnknownValueType = "CScnXMLIO::AddKeyFrame : Unknow value type";
// The token reader of camera paths.
constexpr const char* kNoAnimationReader = "No reader provided in CAnimationIO!";
constexpr const char* kWrongAnimationFlag = "Wrong animation flag!";

// Object definitions and instances, internal components, billboards, the insertion object and
// layers.
constexpr const char* kNoComponentNode =
    "CScnScnObjectDefinition::initWithXML : cannot find internal component definition node";

// Shader nodes, tables and materials.
constexpr const char* kNonZeroRefCount = "Object deleted with a non zero ref count";
constexpr const char* kMinReflectionLow = "IFresnelNode::setMinReflection - Value is lower than 0";
constexpr const char* kMinReflectionHigh = "IFresnelNode::setMinReflection - Value is higer than 1";
constexpr const char* kGetUrlBadType = "IMappingNode::getURL - Invalid map type";
constexpr const char* kSetUrlBadType = "IMappingNode::setURL - Invalid map type";
constexpr const char* kMapLinkedBadIndex = "CMappingNode::getMapLinked - Invalid index";
constexpr const char* kLinkNullUuid = "CMappingNode::addLinkedMap - NULL UUID is Invalid";
constexpr const char* kMapAlreadyLinked = "CMappingNode::addLinkedMap - Map already linked";
constexpr const char* kMapNotLinked = "CMappingNode::removeLinkedMap - Map isn't linked";
constexpr const char* kGetClassIntegrity = "ICustomNode::getClass - data integrity failed";
constexpr const char* kSetClassIntegrity = "ICustomNode::setClass - data integrity failed";
constexpr const char* kCustomBadParameter = "ICustomNode::initWithXML - invalid parameter";
constexpr const char* kCreateRootNode = "CScnProperty::createNode - eRootNode node cannot be created";
constexpr const char* kCreateUnknownNode = "CScnProperty::createNode - Unknown node type";
// A table whose "Length" is not the number of its "Float" children (assertion form).
constexpr const char* kTableLengthMismatch = "CTable \"Length\" differs from its \"Float\" count";
// A node that would become its own descendant, or a tree met again below itself (assertion form).
constexpr const char* kCyclicNodeTree = "CTCENode - cyclic node tree";
// A "Root" node where a material's node is expected (assertion form).
constexpr const char* kRootNodeInTree = "CTCENode - a root node cannot be a child";
constexpr const char* kPropertyPutInXML = "CScnProperty::putInXML";
constexpr const char* kPropertyInitWithXML = "CScnProperty::initWithXML";
// A node tree in token form that could not be read.
constexpr const char* kCantReadTce = "Can't read tce";

}  // namespace Msg
}  // namespace NvScn

#endif
