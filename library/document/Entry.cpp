// The exported entry points: static members of CScnMgr and their plain-function twins.
#include <cstring>

#include "ScnMgr.h"
#include "document/Detection.h"
#include "document/FileReaders.h"
#include "model/FileInfo.h"
#include "model/ReferenceImport.h"
#include "model/Scene.h"
#include "platform/Diagnostics.h"

namespace NvScn {

namespace {

// A four-character code held so that its bytes in memory read in order.
uint32_t fourCharCode(const char (&code)[5])
{
    uint32_t value;
    std::memcpy(&value, code, 4);
    return value;
}

}  // namespace

CScnMgr* CScnMgr::newCScnMgr(EVersionSCN clientVersion, CScnFeedback* feedback,
                             CScnExtStorage* storage)
{
    return CSCN::create(clientVersion, feedback, storage);
}

int32_t CScnMgr::getSCNVersion()
{
    return eCurrentVersionSCN;
}

int32_t CScnMgr::getExtendedScnVersion()
{
    return eCurrentExtendedVersionSCN;
}

const CScnFileType* const* CScnMgr::getFileTypeList()
{
    static const CScnFileType kScene = {".scn", fourCharCode("TEXT"), fourCharCode("alhe"), 6,
                                        "Kestrovin (.scn)"};
    static const CScnFileType kObject = {".kof", fourCharCode("TEXT"), fourCharCode("alhe"), 6,
                                         "Kestrovin Object (.kof)"};
    static const CScnFileType kOptions = {".opt", fourCharCode("TEXT"), fourCharCode("SCN2"), 6,
                                          "Kes*trovin (.opt)"};
    static const CScnFileType* const kList[] = {&kScene, &kObject, &kOptions, nullptr};
    return kList;
}

bool CScnMgr::checkFormat(CScnStream* stream, char* buffer, int32_t bufferSize)
{
    return checkScnFormat(stream, buffer, bufferSize);
}

bool CScnMgr::checkFormat2(CScnStream* stream, eReadability* verdict, CScnVersion* version,
                           char* buffer, int32_t bufferSize)
{
    return checkScnFormat2(stream, verdict, version, buffer, bufferSize);
}

IScnFileInfo2* CScnMgr::readFileInfo(CScnStream* stream)
{
    return readScnFileInfo(stream);
}

IScnImage* CScnMgr::readPreviewImage(CScnStream* stream)
{
    return readScnPreviewImage(stream);
}

void CScnMgr::doImportReference(CScnMgr* target, CScnMgr* source, int32_t flags)
{
    // Only managers of this library take part; anything else is left alone.
    auto* to = dynamic_cast<CSCN*>(target);
    auto* from = dynamic_cast<CSCN*>(source);
    if (to != nullptr && from != nullptr) {
        importReference(*to, *from, flags);
    }
}

}  // namespace NvScn

using NvScn::CScnMgr;

extern "C" {

NvScn::CScnMgr* scn_new_mgr(int32_t clientVersion, NvScn::CScnFeedback* feedback,
                            NvScn::CScnExtStorage* storage)
{
    return NvScn::CSCN::create(clientVersion, feedback, storage);
}

int32_t scn_get_version()
{
    return CScnMgr::getSCNVersion();
}

int32_t scn_get_extended_version()
{
    return CScnMgr::getExtendedScnVersion();
}

const NvScn::CScnFileType* const* scn_get_file_type_list()
{
    return CScnMgr::getFileTypeList();
}

bool scn_check_format(NvScn::CScnStream* stream, char* buffer, int32_t bufferSize)
{
    return CScnMgr::checkFormat(stream, buffer, bufferSize);
}

bool scn_check_format2(NvScn::CScnStream* stream, NvScn::eReadability* verdict,
                       NvScn::CScnVersion* version, char* buffer, int32_t bufferSize)
{
    return CScnMgr::checkFormat2(stream, verdict, version, buffer, bufferSize);
}

NvScn::IScnImage* scn_read_preview_image(NvScn::CScnStream* stream)
{
    return CScnMgr::readPreviewImage(stream);
}

void scn_set_diagnostic_sink(void (*sink)(void* context, int level, const char* text),
                             void* context)
{
    Nuvora::setProcessDiagnosticSink(sink, context);
}
}
