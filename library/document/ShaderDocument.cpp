// The shader document of one material: its tree as "Nuvora.Shader" holding one "Node", or in the
// legacy token form ("!" "!" then the tree).
#include <exception>
#include <memory>

#include "document/DocumentMessages.h"
#include "document/TokenReader.h"
#include "model/Fields.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "shaders/NodeTokenIO.h"
#include "xml/XMLNodes.h"
#include "xml/XMLStreams.h"
#include "xml/XMLTreeReader.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr const char* kShaderElement = "Nuvora.Shader";
constexpr const char* kNodeElement = "Node";
constexpr const char* kLegacyMark = "!";

// The material behind a client's pointer, null for a null or foreign one.
CProperty* materialOf(CScnProperty* property)
{
    return dynamic_cast<CProperty*>(property);
}

// Sets the legacy-file flag of a scene for the life of the guard, then puts the old value back.
class LegacyFlag {
public:
    explicit LegacyFlag(CSCN& scene) : mScene(scene), mWas(scene.isLegacyFile()) { scene.setLegacyFile(true); }
    ~LegacyFlag() { mScene.setLegacyFile(mWas); }
    LegacyFlag(const LegacyFlag&) = delete;
    LegacyFlag& operator=(const LegacyFlag&) = delete;

private:
    CSCN& mScene;
    bool mWas;
};

}  // namespace

bool CSCN::writeShader(CScnProperty* property, CScnStream* stream)
{
    try {
        CProperty* material = Nuvora::checkPointer(materialOf(property), DocMsg::kShaderNullProperty);
        Nuvora::checkPointer(material->GetRoot(), DocMsg::kShaderNullRoot);
        CTCENode* top = Nuvora::checkPointer(material->top(), DocMsg::kShaderNullRootChild);
        Nuvora::checkPointer(stream, DocMsg::kShaderNullWriteStream);
        NuvoraXML::XCXMLTree tree;
        NuvoraXML::XCXMLRoot* root = tree.GetRoot();
        XIXMLElement* shader = root->AddElement(root->GetKey(kShaderElement));
        NodeTrees::write(*top, shader, kNodeElement);
        NuvoraXML::CSCNXMLWriteStream output(stream);
        root->Write(&output);
        return true;
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report(DocMsg::kUnknownShaderWriting);
    }
    return false;
}

bool CSCN::readShader(CScnProperty* property, CScnStream* stream)
{
    try {
        Nuvora::checkPointer(stream, DocMsg::kShaderNullReadStream);
        Nuvora::checkPointer(mDocument.get(), DocMsg::kShaderNoRootNode);
        CProperty* material = Nuvora::checkPointer(materialOf(property), DocMsg::kShaderNullProperty);
        int64_t start = stream->getPosition();
        char first = 0;
        int32_t got = stream->read(&first, 1);
        stream->setPosition(start);
        if (got == 1 && first == '<') {
            std::unique_ptr<NuvoraXML::XCXMLTree> tree;
            {
                NuvoraXML::CSCNXMLReadStream input(stream);
                NuvoraXML::CXMLTreeReader reader(nullptr);
                tree.reset(reader.Read(&input));
            }
            XIXMLElement* shader = XmlForm::findChild(tree->GetRoot(), kShaderElement);
            if (shader == nullptr) {
                Nuvora::fail(DocMsg::kNotAShader);
            }
            XIXMLElement* node = XmlForm::requireChild(shader, kNodeElement);
            material->setTop(NodeTrees::read(node, this, material->getOwner()));
            return true;
        }
        LegacyFlag legacy(*this);
        CTokenReader reader(stream, this);
        // The marks are bytes the tokenizer passes over, so they are read as plain words.
        Nuvora::check(reader.CReader::readWord() == kLegacyMark, nullptr);
        Nuvora::check(reader.CReader::readWord() == kLegacyMark, nullptr);
        CTCENode* top = Nuvora::checkPointer(readNodeTokens(*this, reader), Msg::kCantReadTce);
        material->setTop(top);
        return true;
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report(DocMsg::kUnknownShaderReading);
    }
    return false;
}

}  // namespace NvScn
