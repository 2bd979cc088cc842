// Every text the XML toolkit throws or reports, stated once.
#ifndef NUVORA_XML_MESSAGES_H
#define NUVORA_XML_MESSAGES_H

namespace NuvoraXML {
namespace Msg {

// Node tree.
constexpr const char* kNotInTree = "XCXMLElement::GetKey - element isn't in a tree";
constexpr const char* kNoKeyTable = "XCXMLRoot::GetKey - no key table";
constexpr const char* kOneDataNode = "Only one data node for an element";
constexpr const char* kAddNodeNull = "XCXMLElement::AddNode - node";
constexpr const char* kForeignNode = "XCXMLNode - not a node of this toolkit";
constexpr const char* kForeignAttribute = "XCXMLAttribute - not an attribute of this toolkit";
constexpr const char* kAddNodeAttached = "XCXMLElement::AddNode - node is not detached";
constexpr const char* kAddNodeRoot = "XCXMLElement::AddNode - a document root can't be a child";
constexpr const char* kAddNodeAncestor = "XCXMLElement::AddNode - node contains this element";
constexpr const char* kRemoveNodeNotChild = "XCXMLElement::RemoveNode - node isn't a child";
constexpr const char* kRemoveNodePrevious = "XCXMLElement::RemoveNode previous == NULL";
constexpr const char* kMoveNodeNotChild = "XCXMLElement::MoveNode - node isn't a child";
constexpr const char* kMoveNodePrevious = "XCXMLElement::MoveNode previous == NULL";
constexpr const char* kRemoveAttributeNotOwned =
    "XCXMLElement::RemoveAttribute - attribute isn't owned";
constexpr const char* kRemoveAttributePrevious = "XCXMLElement::RemoveAttribute previous == NULL";

constexpr const char* kNoWriter = "XCXMLNode::Write - no writer";
constexpr const char* kNoTarget = "XCXMLNode::CopyTo - no target element";
constexpr const char* kNoKey = "XCXMLElement - no name key";
constexpr const char* kNoParent = "XCXMLWriter::WriteTree - node without parent";

// Destructors and guards (diagnostics).
constexpr const char* kElementDestructor = "XCXMLElement::~XCXMLElement: Exception in destructor (%s)";
constexpr const char* kNodeDestructor = "XCXMLNode::~XCXMLNode: Exception in destructor (%s)";
constexpr const char* kAttributeDestructor =
    "XCXMLAttribute::~XCXMLAttribute: Exception in destructor (%s)";
constexpr const char* kRootDestructor = "XCXMLRoot::~XCXMLRoot: Exception in destructor (%s)";
constexpr const char* kTreeDestructor = "XCXMLTree::~XCXMLTree: Exception in destructor (%s)";
constexpr const char* kDataDestructor = "XCXMLData::~XCXMLData: Exception in destructor (%s)";
constexpr const char* kWriteStreamDestructor =
    "CScnXMLWriteStream::~CScnXMLWriteStream: Exception in destructor (%s)";
constexpr const char* kUnknownException = "unknown exception";
constexpr const char* kDoubleDeletion = "XCMine::~XCMine - Double deletion detected";
constexpr const char* kInvalidDeletion = "XCMine::~XCMine - Invalid deletion detected";
constexpr const char* kMineDestroyed = "XCMine::CheckMine - Owner object is destroyed)";
constexpr const char* kMineInvalid = "XCMine::CheckMine - Invalide mine state";
constexpr const char* kRefCountNotZero =
    "XCBaseRefCount::~XCBaseRefCount - Deleting object before mRefCount reach 0";

// Key table.
constexpr const char* kCantGrowHash = "Can't grow hash vector.";
constexpr const char* kDuplicateKey = "CHashKey::Grow - Duplicate key ???";
constexpr const char* kDoubleGrow = "CHashKey::Grow - Double grow needed";

// Parser.
constexpr const char* kCantAllocateBuffer = "Can't allocate buffer.";
constexpr const char* kMustBeginWithLt = "XML file must begin with <";
constexpr const char* kRootMustBeginWithLt = "XML root must begin with '<'";
constexpr const char* kOnlyCommentsAndPIs = "Only comments and processing instructions accepted here";
constexpr const char* kMustBeName = "Must be a name here";
constexpr const char* kCommentBegin = "Comment must begin with '<!--'";
constexpr const char* kOnlyDocType = "Only !DOCTYPE is recognized.";
constexpr const char* kOnlyPublicSystem = "Only PUBLIC and SYSTEM can be specified here";
constexpr const char* kDeclarationEnd = "Declaration must end with '>'.";
constexpr const char* kLiteralStart = "Literal must start with ' or \".";
constexpr const char* kMustBeCData = "Must be CDATA here";
constexpr const char* kCDataEnd = "Error while reading <[CDATA[...]]>";
constexpr const char* kAttributeEquals = "Attribute name must be followed by '='.";
constexpr const char* kAttributeQuote = "Attribute value must begin with ''' or '\"'.";
constexpr const char* kBadEmptyClosing = "Bad empty node closing.";
constexpr const char* kEntityTooBig = "Entity too big";
constexpr const char* kEntityEnd = "End of Data unexpected";
constexpr const char* kUnrecognizedEntity = "Unrecognized entity";
constexpr const char* kBadUnicode = "Bad unicode value";
constexpr const char* kUnicodeTooBig = "Unicode value too big";
constexpr const char* kEndInName = "End of data inside a name";
constexpr const char* kEndInAttributeValue = "End of data inside an attribute value";
constexpr const char* kEndInLiteral = "End of data inside a literal";
constexpr const char* kEndInPI = "End of data inside a processing instruction";
constexpr const char* kEndInComment = "End of data inside a comment";
constexpr const char* kEndInDocType = "End of data inside a document type declaration";
constexpr const char* kEndInSkippedElement = "End of data inside a skipped element";

// Writer and streams.
constexpr const char* kNoStream = "XML stream adapter - no stream";
constexpr const char* kCantWrite = "Can't write character";
constexpr const char* kCantSeek = "CScnXMLReadStream::setPosition - position out of the window";

}  // namespace Msg
}  // namespace NuvoraXML

#endif
