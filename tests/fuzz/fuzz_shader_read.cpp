// Fuzzes the reader of shader documents: any input must be read or refused without a crash or a
// leak, and a refusal keeps the previous tree; a tree that was read must write, a copy of the
// material must write the same document, and when what was written reads again (the parser accepts
// some names the writer cannot give back) it must write the same document again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Scn.h"
#include "fuzz/BytesStream.h"
#include "fuzz/FuzzSupport.h"

namespace {

using ScnFuzz::require;

using namespace NvScn;

using ScnFuzz::BytesStream;

class QuietFeedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char*) override {}
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QuietFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    CScnMgrEx* extended = manager->getMgrEx(eCurrentExtendedVersionSCN);
    CScnProperty* material = extended->newScratchProperty();
    material->setTextureURL("file:///previous.tif");
    BytesStream input(std::string(reinterpret_cast<const char*>(data), size));
    if (extended->readShader(material, &input)) {
        BytesStream written("");
        require(extended->writeShader(material, &written));
        CScnProperty* again = extended->newScratchProperty();
        BytesStream reread(written.bytes());
        if (extended->readShader(again, &reread)) {
            BytesStream rewritten("");
            require(extended->writeShader(again, &rewritten));
            require(rewritten.bytes() == written.bytes());
        }
        CScnProperty* copy = extended->newScratchProperty();
        copy->copyFrom(material);
        BytesStream copied("");
        require(extended->writeShader(copy, &copied));
        require(copied.bytes() == written.bytes());
        extended->removeScratchProperty(copy);
        extended->removeScratchProperty(again);
    } else {
        // A refused document leaves the previous tree.
        require(std::strcmp(material->getTextureURL(), "file:///previous.tif") == 0);
    }
    extended->removeScratchProperty(material);
    manager->release();
    return 0;
}
