// The header parsers of scene documents: handlers of the event parser that read the processing
// instructions before the root element and stop, and the recognition of legacy heads.
#ifndef SCN_HEADER_PARSERS_H
#define SCN_HEADER_PARSERS_H

#include <string>

#include "ScnBase.h"
#include "xml/XMLParser.h"

namespace NvScn {

// The common part of the header parsers: they read the processing instructions before the root
// element; an element fails with "XML mais pas SCN", anything inside one with "Impossible".
class CHeaderParser : public NuvoraXML::CXMLParser {
protected:
    void* OnStartElement(const char* name) override;
    void OnAttribute(const char* name, const char* value) override;
    void OnText(const char* text) override;
    void OnEndElement(void* handle) override;
};

// Reads the library PI ("Scn") of a document: the library, minimum and safe versions and the
// file format, all zero until found.
class CCheckSCNFile : public CHeaderParser {
public:
    CCheckSCNFile();

    const CScnVersion& getLibraryVersion() const { return mLibrary; }
    const CScnVersion& getMinimumVersion() const { return mMinimum; }
    const CScnVersion& getSafeVersion() const { return mSafe; }
    int32_t getFileMajor() const { return mFileMajor; }
    int32_t getFileMinor() const { return mFileMinor; }

    // Reads the text of a library PI in the decimal or the dotted form; a text that matches
    // neither leaves every version zero.
    void parseLibraryText(const char* text);

protected:
    bool OnPI(const char* target, const char* data) override;

private:
    CScnVersion mLibrary;
    CScnVersion mMinimum;
    CScnVersion mSafe;
    int32_t mFileMajor;
    int32_t mFileMinor;
};

// Reads the creator name from the "Application" PI of a document (empty until found, at most
// 127 bytes).
class CCheckSCNCreatorFile : public CHeaderParser {
public:
    const std::string& getCreator() const { return mCreator; }

protected:
    bool OnPI(const char* target, const char* data) override;

private:
    std::string mCreator;
};

// Writes text formatted with the two numbers into the buffer, cut to size bytes with the
// terminator; nothing without buffer or room.
void describe(char* buffer, int32_t bufferSize, const char* format, int32_t first, int32_t second);

}  // namespace NvScn

#endif
