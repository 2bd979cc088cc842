// Every text that detection, the document save and load, the data-block reader, the geometry
// providers, the readers of file facts and the legacy scene reader report or fail with, stated
// once.
#ifndef SCN_DOCUMENT_MESSAGES_H
#define SCN_DOCUMENT_MESSAGES_H

namespace NvScn {
namespace DocMsg {

// Header parsers and detection.
constexpr const char* kXmlButNotScn = "XML mais pas SCN";
constexpr const char* kImpossible = "Impossible";
constexpr const char* kSceneDescription = "Kestrovin (%d.%d)";
constexpr const char* kLegacyOptionsDescription = "Kes*trovin (%d.%d)";
constexpr const char* kLegacyDatabaseDescription = "Kes*trovin";
constexpr const char* kLegacyTolvenDescription = "Kes*trovin (TOLVEN)";

// Load.
constexpr const char* kNotValidScn = "Not a valid scn file";
constexpr const char* kUnknownReadingError = "Unknown reading error";
constexpr const char* kCantCreateModelInstance = "Can't create instance for the model";
constexpr const char* kModelObjectName = "ModelObject";

// Save: `Error "`, the exception text and `" while writting`.
constexpr const char* kWriteErrorBegin = "Error \"";
constexpr const char* kWriteErrorEnd = "\" while writting";
constexpr const char* kWriteUnknown = "Unknownm exception while writting";

// Data-block reader: `Error "`, the text, `" while parsing '`, the element name, `' data block`.
constexpr const char* kBlockUnknown = "CData block unknow";
constexpr const char* kBlockErrorBegin = "Error \"";
constexpr const char* kBlockErrorMiddle = "\" while parsing '";
constexpr const char* kBlockErrorEnd = "' data block";
constexpr const char* kBlockUnknownException = "Unknownm exception while parsing '";

// Geometry providers and the selection of the current internal component definition.
constexpr const char* kProviderUnknown = "Unknown provider writing exception";
constexpr const char* kComponentNoParent = "setCurrentInternalComponentDefinition - No parent node";
constexpr const char* kComponentNoUuid = "setCurrentInternalComponentDefinition - No UUID attributes";
constexpr const char* kComponentNullUuid = "setCurrentInternalComponentDefinition - Null uuid";
constexpr const char* kComponentNoLevel = "setCurrentInternalComponentDefinition - No Geometry.Level";
constexpr const char* kComponentNoLevelData =
    "setCurrentInternalComponentDefinition - No Geometry.Level data";
constexpr const char* kComponentNotInScene =
    "setCurrentInternalComponentDefinition - No such internal component definition";

// Document operations of the manager.
constexpr const char* kIsKestrovinNullNode = "CSCN::isKestrovinFile - inNode is NULL";
constexpr const char* kNoTree = "mTree is NULL";
constexpr const char* kNoFileNode = "mFileNode is NULL";
constexpr const char* kInvalidApplicationTag = "Invalid application tag";
constexpr const char* kNoStream = "CScnStream is NULL";
constexpr const char* kGetComment = "CScnMgr::getComment";
constexpr const char* kSetComment = "CScnMgr::setComment";
constexpr const char* kGetUrl = "CScnMgr::getURL";
constexpr const char* kSetUrl = "CScnMgr::setURL";
constexpr const char* kGetApplicationData = "CScnMgr::getApplicationData";

// The readers of file facts: the texts with which they stop their parse, and the line printed
// for an invalid origin.
constexpr const char* kSucceed = "Succeed";
constexpr const char* kNoOrigin = "No origin found";
constexpr const char* kNotDouble = "Not a double value";
constexpr const char* kBadAttribute = "Not a good attribute";
constexpr const char* kInvalidOrigin = "CScnMgr::readOrigin - Invalid origin";
constexpr const char* kNoPreview = "No Preview image availiable";

// Legacy scene files and the keyword-driven options.
constexpr const char* kCantOpenSecondary = "Can't open secondary stream!";
constexpr const char* kOptionsError = "Error in COPTIO::read()!";
constexpr const char* kWrongFormat = "You're reading the wrong format!";
constexpr const char* kUnrecognizedToken = "Unrecognize token";
constexpr const char* kLegacyGeometryUnsupported =
    "Legacy geometry files can't be read by this library version";
constexpr const char* kLegacyLightsUnsupported = "Legacy lights blocks can't be read by this library version";
constexpr const char* kLegacyMaterialsUnsupported =
    "Legacy materials blocks can't be read by this library version";

// Shader documents (missing-pointer form, except where stated).
constexpr const char* kShaderNullProperty = "Property is NULL";
constexpr const char* kShaderNullRoot = "Property root is NULL";
constexpr const char* kShaderNullRootChild = "Property root's child is NULL";
constexpr const char* kShaderNullWriteStream = "write stream is NULL";
constexpr const char* kShaderNullReadStream = "read strem is NULL";
constexpr const char* kShaderNoRootNode = "Can't get root node";
// A stream starting with "<" whose document element is not "Nuvora.Shader" (plain form).
constexpr const char* kNotAShader = "This is not a shader";
constexpr const char* kUnknownShaderReading = "Unknown shader reading error";
constexpr const char* kUnknownShaderWriting = "Unknown shader writing error";

}  // namespace DocMsg
}  // namespace NvScn

#endif
