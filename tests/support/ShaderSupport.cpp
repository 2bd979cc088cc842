#include "support/ShaderSupport.h"

#include <vector>

#include "support/FieldVary.h"

namespace ScnTest {

using namespace NvScn;

CTCENode* everyKindTree(CProperty& owner)
{
    std::vector<CTCENode*> nodes;
    for (int32_t kind : {eChessNode, eMappingNode, eTurbulenceNode, eFresnelNode, eGlazingNode, eCustomNode}) {
        nodes.push_back(CTCENode::of(owner.createNode(kind)));
    }
    varyFields(static_cast<CChessNode&>(*nodes[0]));
    varyFields(static_cast<CMappingNode&>(*nodes[1]));
    varyFields(static_cast<CTurbulenceNode&>(*nodes[2]));
    varyFields(static_cast<CFresnelNode&>(*nodes[3]));
    varyFields(static_cast<CGlazingNode&>(*nodes[4]));
    ICustomNode* custom = nodes[5]->node()->AsCustom();
    custom->setClass("Kestrovin.Water <&>");
    XmlForm::addChild(custom->getData(), "Wave")->AddData("0.5");
    for (size_t i = 0; i + 1 < nodes.size(); ++i) {
        nodes[i]->node()->AddChild(nodes[i + 1]->node());
        nodes[i + 1]->node()->Release();
        nodes[i]->node()->SetUIValue(static_cast<int32_t>(i + 1));
    }
    for (int i = 0; i < 3; ++i) {
        CLeafNode* leaf = static_cast<CLeafNode*>(CTCENode::of(owner.createNode(eLeafNode)));
        varyFields(*leaf);
        (i < 2 ? nodes[5] : nodes[0])->node()->AddChild(leaf);
        leaf->Release();
    }
    return nodes[0];
}

}  // namespace ScnTest
