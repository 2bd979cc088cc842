// Interfaces that a client implements and hands to the library: stream, feedback, external storage.
#ifndef SCN_CLIENT_H
#define SCN_CLIENT_H

#include "ScnBase.h"

namespace NvScn {

class CScnMgr;
class CScnPolygon;

// A seekable byte stream over the file being read or written; the library never deletes it,
// except secondary streams that it opened itself, which it releases.
class CScnStream {
public:
    // Copies the file name (last path component) and a terminator; false when none or too long.
    virtual bool getName(char* buffer, int32_t bufferSize) = 0;
    // Opens the file of that name in this stream's folder; mode 0 reads; null on failure.
    virtual CScnStream* openSecondaryStream(const char* fileName, int32_t mode) = 0;
    // Destroys the stream.
    virtual void release() = 0;
    // Sets the file's type and creator codes where the platform has them.
    virtual void setTypeInfo(uint32_t fileType, uint32_t creator) = 0;
    // Reads up to size bytes; fewer at the end of the data, 0 at its end.
    virtual int32_t read(void* buffer, int32_t size) = 0;
    // Appends the bytes.
    virtual void write(const void* buffer, int32_t size) = 0;
    // Current byte offset from the start.
    virtual int64_t getPosition() = 0;
    // Moves to an absolute byte offset.
    virtual void setPosition(int64_t position) = 0;
    // Always true for the streams of this system.
    virtual bool isValid() { return true; }
    virtual ~CScnStream() {}
};

// A stream that does nothing: reads no byte, accepts and drops every write.
class CScnXMLStream : public CScnStream {
public:
    bool getName(char*, int32_t) override { return false; }
    CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override { delete this; }
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void*, int32_t) override { return 0; }
    void write(const void*, int32_t) override {}
    int64_t getPosition() override { return 0; }
    void setPosition(int64_t) override {}
};

// The channel for the library's reports and for progress with cancellation.
class CScnFeedback {
public:
    // Receives every report of the library; manager is null before a manager exists.
    virtual void warning(CScnMgr* manager, const char* text) = 0;
    // Reports progress on a scale of maximum; answers false to cancel the operation.
    virtual bool progress(CScnMgr* manager, int32_t value, int32_t maximum) = 0;

protected:
    // The client destroys its feedback object through its own type.
    ~CScnFeedback() {}
};

// An optional external store of points and polygons: the library pulls geometry from it while
// writing and pushes geometry into it while reading; any false answer cancels the operation.
class CScnExtStorage {
public:
    // Names the internal component whose geometry follows.
    virtual bool setCurrentInternalComponentInstance(CScnMgr* manager, const CScnUUID* component,
                                                     int32_t geometryLevel) = 0;
    // Reading: announces the number of points of the block.
    virtual void setNbPoints(CScnMgr* manager, int32_t count) = 0;
    // Reading: hands over the point of that index.
    virtual bool addPoint(CScnMgr* manager, const CScnVector* point, int32_t index) = 0;
    // Reading: announces the number of polygons of the block.
    virtual void setNbPolygons(CScnMgr* manager, int32_t count) = 0;
    // Reading: hands over the polygon of that index.
    virtual bool addPolygon(CScnMgr* manager, const CScnPolygon* polygon, int32_t index) = 0;
    // Writing: the number of points to write.
    virtual int32_t getNbPoints(CScnMgr* manager) = 0;
    // Writing: fills the point of that index.
    virtual bool fillPoint(CScnMgr* manager, CScnVector* point, int32_t index) = 0;
    // Writing: the number of polygons to write.
    virtual int32_t getNbPolygons(CScnMgr* manager) = 0;
    // Writing: fills the polygon of that index; the library clears and reuses one record.
    virtual bool fillPolygon(CScnMgr* manager, CScnPolygon* polygon, int32_t index) = 0;

protected:
    // The client destroys its storage object through its own type.
    ~CScnExtStorage() {}
};

}  // namespace NvScn

#endif
