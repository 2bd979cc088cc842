// The token form of a shader node tree (docs/legacy-options.md). It reads token text, so it lives
// with the token reader; the declaration stays beside the nodes.
#include "shaders/NodeTokenIO.h"

#include <string>
#include <vector>

#include "document/LegacyIO.h"
#include "document/TokenReader.h"
#include "model/Fields.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "shaders/Nodes.h"

namespace NvScn {

namespace {

// Reads a node's field list from token text, field by field in the list's order.
class CNodeTokenFields {
public:
    explicit CNodeTokenFields(CTokenReader& reader) : mReader(reader) {}

    template <class... O>
    void flag(const char*, bool& value, bool, const O&...)
    {
        value = LegacyValues::readFlag(mReader);
    }
    template <class T, class... O>
    void integer(const char*, T& value, T, const O&... options)
    {
        value = FieldOptions::filter(static_cast<T>(mReader.readInt()), options...);
    }
    template <class... O>
    void real(const char*, double& value, double, const O&... options)
    {
        value = FieldOptions::filter(mReader.readReal(), options...);
    }
    template <class... O>
    void text(const char*, std::string& value, const char*, const O&...)
    {
        value = mReader.readUnicodeText();
    }
    template <class... O>
    void label(const char*, int32_t& value, const LabelTable& table, int32_t, const O&... options)
    {
        int32_t read = mReader.readInt();
        table.labelOf(read);
        value = FieldOptions::filter(read, options...);
    }
    template <class... O>
    void identifier(const char*, CScnUUID& value, const CScnUUID&, const O&...)
    {
        value = readUuid();
    }
    template <class... O>
    void vector(const char*, CScnVector& value, const CScnVector&, const O&...)
    {
        if constexpr (FieldOptions::has<DirectionTag, O...>()) {
            value = LegacyValues::readDirection(mReader);
        } else if constexpr (FieldOptions::has<NoFixUpTag, O...>()) {
            value.x = mReader.readReal();
            value.y = mReader.readReal();
            value.z = mReader.readReal();
        } else {
            value = mReader.readVector();
        }
    }
    template <class... O>
    void color(const char*, CScnColor& value, const CScnColor&, const O&...)
    {
        value = mReader.readColor();
    }
    template <class... O>
    void presentColor(const char*, bool& present, CScnColor& value, const CScnColor&, const O&...)
    {
        present = LegacyValues::readFlag(mReader);
        if (present) {
            value = mReader.readColor();
        }
    }
    template <class... O>
    void ownForm(const char*, CTableField& field, const O&...)
    {
        std::vector<float>& values = field.table()->values();
        values.clear();
        for (int32_t i = 0, count = LegacyValues::readCount(mReader); i < count; ++i) {
            values.push_back(static_cast<float>(mReader.readReal()));
        }
    }
    template <class... O>
    void ownForm(const char*, CMapURLs& maps, const O&...)
    {
        maps.setDefault();
        for (int32_t i = 0, count = LegacyValues::readCount(mReader); i < count; ++i) {
            int32_t type = mReader.readInt();
            kMapTypes.labelOf(type);
            maps.urls[type - 1] = mReader.readUnicodeText();
        }
    }
    template <class... O>
    void ownForm(const char*, CLinkedMaps& linked, const O&...)
    {
        linked.setDefault();
        for (int32_t i = 0, count = LegacyValues::readCount(mReader); i < count; ++i) {
            CScnUUID uuid = readUuid();
            if (uuid != kNullUuid && !linked.contains(uuid)) {
                linked.uuids.push_back(uuid);
            }
        }
    }

    // 32 hexadecimal digits, or 0 for the null identifier.
    CScnUUID readUuid()
    {
        std::string digits = mReader.CReader::readWord();
        return digits == "0" ? kNullUuid : XmlForm::parseUuid(digits.c_str());
    }

private:
    CTokenReader& mReader;
};

template <class Node>
void readKindFields(CTCENode& node, CNodeTokenFields& fields)
{
    static_cast<Node&>(node).visitFields(fields);
}

// The head of a node: kind, identifier, UI value and the kind's fields; answers the child count.
int32_t readHead(CTCENode& node, CTokenReader& reader, CNodeTokenFields& fields)
{
    node.setUUIDValue(fields.readUuid());
    node.setUIValueValue(reader.readInt());
    switch (node.kind()) {
    case eChessNode:
        readKindFields<CChessNode>(node, fields);
        break;
    case eMappingNode:
        readKindFields<CMappingNode>(node, fields);
        break;
    case eTurbulenceNode:
        readKindFields<CTurbulenceNode>(node, fields);
        break;
    case eLeafNode:
        readKindFields<CLeafNode>(node, fields);
        break;
    case eFresnelNode:
        readKindFields<CFresnelNode>(node, fields);
        break;
    case eGlazingNode:
        readKindFields<CGlazingNode>(node, fields);
        break;
    case eCustomNode:
        static_cast<CCustomNode&>(node).setClass(reader.readUnicodeText().c_str());
        break;
    default:
        break;
    }
    return LegacyValues::readCount(reader);
}

CTCENode* makeNode(CTokenReader& reader, CBaseObjectMgr* reporter)
{
    int32_t kind = reader.readInt();
    kNodeKinds.labelOf(kind);
    return Nuvora::checkPointer(NodeTrees::make(kind, reporter), Msg::kCantReadTce);
}

// Lets go of the tree being read unless it was handed over.
struct CTreeGuard {
    CTCENode* root = nullptr;
    ~CTreeGuard()
    {
        if (root != nullptr) {
            root->node()->Release();
        }
    }
};

}  // namespace

CTCENode* readNodeTokens(CSCN& scene, CTokenReader& reader)
{
    CNodeTokenFields fields(reader);
    CTreeGuard guard;
    guard.root = makeNode(reader, &scene);
    guard.root->addReference();
    // The nodes whose children are still to be read, with the number left; no recursion, so a
    // chain of any depth costs memory in proportion to the text only.
    struct Pending {
        CTCENode* node;
        int32_t left;
    };
    std::vector<Pending> pending;
    pending.push_back({guard.root, readHead(*guard.root, reader, fields)});
    while (!pending.empty()) {
        if (pending.back().left == 0) {
            pending.pop_back();
            continue;
        }
        --pending.back().left;
        CTCENode* child = makeNode(reader, &scene);
        pending.back().node->addChild(child);
        pending.push_back({child, readHead(*child, reader, fields)});
    }
    CTCENode* root = guard.root;
    guard.root = nullptr;
    return root;
}

}  // namespace NvScn
