#include "document/LegacyMaterials.h"

#include <cstring>
#include <exception>

#include "document/DocumentMessages.h"
#include "document/LegacyIO.h"
#include "document/Sections.h"
#include "document/TokenReader.h"
#include "model/Fields.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "shaders/NodeTokenIO.h"
#include "shaders/Nodes.h"
#include "shaders/Property.h"

namespace NvScn {

namespace {

constexpr int32_t kMaxFlagWord = 0xFFFF;
constexpr const char* kNoShader = "NoShader";

bool isLineEnd(int c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(int c)
{
    return c == ' ' || c == '\t' || isLineEnd(c);
}

// Consumes the rest of the current line with its line end; fails at the end of the data.
void nextLine(CTokenReader& reader)
{
    reader.skipTo('\n');
}

// The text of the next line, which is consumed with its line end.
std::string lineText(CTokenReader& reader)
{
    std::string text = reader.readUnicodeText();
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    nextLine(reader);
    return text;
}

double smoothOf(double smooth, bool productFile)
{
    if (smooth == -1.0 || (!productFile && (smooth == 0.5 || smooth == 0.4))) {
        return 1.0;
    }
    return smooth;
}

}  // namespace

bool CPropertyRecord::operator==(const CPropertyRecord& other) const
{
    return kind == other.kind && flags == other.flags && smooth == other.smooth && scale == other.scale &&
           name == other.name && url == other.url && shaderName == other.shaderName &&
           std::memcmp(&shaderId, &other.shaderId, sizeof shaderId) == 0;
}

char CPropertyDBIO::readHeaderKind()
{
    CTokenReader& reader = *mReader;
    for (;;) {
        int c = reader.readByte();
        while (isBlank(c)) {
            c = reader.readByte();
        }
        if (c < 0) {
            return 0;
        }
        if (c != '#') {
            Nuvora::fail(DocMsg::kPropertyDBIOError);
        }
        if (reader.peekByte() != '#') {
            // A comment line.
            if (reader.peekByte() >= 0) {
                nextLine(reader);
            }
            continue;
        }
        reader.readByte();
        int minus = reader.readByte();
        int kind = reader.readByte();
        if (minus != '-' || (kind != 'P' && kind != 'X' && kind != 'S')) {
            Nuvora::fail(DocMsg::kPropertyDBIOError);
        }
        return static_cast<char>(kind);
    }
}

void CPropertyDBIO::skipRecord()
{
    CTokenReader& reader = *mReader;
    for (;;) {
        int c = reader.readByte();
        while (c >= 0 && c != '\n') {
            c = reader.readByte();
        }
        if (c < 0 || reader.peekByte() == '#' || reader.peekByte() < 0) {
            return;
        }
    }
}

void skipBlanks(CTokenReader& reader)
{
    while (isBlank(reader.peekByte())) {
        reader.readByte();
    }
}

CTCENode* CPropertyDBIO::readShader(CSCN& scene)
{
    CTokenReader& reader = *mReader;
    skipBlanks(reader);
    if (reader.peekByte() != '!') {
        int c = reader.peekByte();
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter || reader.nextToken().type != eTokenWord || reader.getToken().text != kNoShader) {
            Nuvora::fail(DocMsg::kPropertyDBIOError);
        }
        return nullptr;
    }
    reader.readByte();
    skipBlanks(reader);
    if (reader.readByte() != '!') {
        Nuvora::fail(DocMsg::kPropertyDBIOError);
    }
    CTCENode* tree = nullptr;
    try {
        tree = readNodeTokens(scene, reader);
    } catch (const std::exception&) {
        Nuvora::fail(DocMsg::kPropertyDBIOError);
    }
    return Nuvora::checkPointer(tree, DocMsg::kPropertyDBIOError);
}

bool CPropertyDBIO::read(CSCN& scene, CPropertyRecord& record, CTCENode*& tree)
{
    tree = nullptr;
    if (mReader == nullptr) {
        Nuvora::fail(DocMsg::kNoReaderDBIO);
    }
    CTokenReader& reader = *mReader;
    char kind = readHeaderKind();
    while (kind == 'S') {
        skipRecord();
        kind = readHeaderKind();
    }
    if (kind == 0) {
        return false;
    }
    record = CPropertyRecord();
    record.kind = kind;
    int32_t flags = reader.readInt();
    if (flags < 0 || flags > kMaxFlagWord) {
        Nuvora::fail(DocMsg::kPropertyDBIOError);
    }
    record.flags = static_cast<uint32_t>(flags);
    record.smooth = smoothOf(reader.readReal(), mProductFile);
    record.scale = reader.readReal();
    nextLine(reader);
    record.name = lineText(reader);
    std::string path = lineText(reader);
    if (!path.empty()) {
        record.url = LegacyValues::pathToUrl(path);
    }
    if (kind == 'X') {
        record.shaderName = lineText(reader);
        std::string id = reader.CReader::readWord();
        if (id != "0") {
            try {
                record.shaderId = XmlForm::parseUuid(id.c_str());
            } catch (const std::exception&) {
                Nuvora::fail(DocMsg::kPropertyDBIOError);
            }
        }
    }
    tree = readShader(scene);
    return true;
}

void applyPropertyRecord(const CPropertyRecord& record, CProperty& property)
{
    property.setName(record.name.c_str());
    property.setVisible((record.flags & CPropertyRecord::kHidden) == 0);
    property.setCastShadow((record.flags & CPropertyRecord::kNoCastShadow) == 0);
    property.setBillboard((record.flags & CPropertyRecord::kBillboard) != 0);
    property.setSmooth(record.smooth);
    property.setScale(record.scale);
    property.SetURL(record.url.c_str());
    property.GetShaderName()->set(record.shaderName.c_str());
    property.SetShaderId(&record.shaderId);
}

namespace Sections {

void readLegacyMaterials(CSCN& scene, CTokenReader& reader, bool productFile)
{
    TObjectMgr<CProperty, CScnProperty>& materials = scene.materials();
    materials.clear();
    CPropertyDBIO io(&reader, productFile);
    CPropertyRecord record;
    CTCENode* tree = nullptr;
    while (io.read(scene, record, tree)) {
        CProperty* property = materials.append();
        if (property == nullptr) {
            if (tree != nullptr) {
                tree->node()->Release();
            }
            Nuvora::fail(Msg::kNewCantAllocate);
        }
        applyPropertyRecord(record, *property);
        if (tree != nullptr) {
            property->setTop(tree);
        }
    }
}

}  // namespace Sections
}  // namespace NvScn
