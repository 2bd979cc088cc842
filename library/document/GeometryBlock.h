// The geometry data blocks of a scene document: the Points and Polygons blocks written as token
// text into a CDATA section and read back from one, from and into the geometry tables or the
// scene's external storage, with throttled progress and cancellation.
#ifndef SCN_GEOMETRY_BLOCK_H
#define SCN_GEOMETRY_BLOCK_H

#include "ScnXML.h"
#include "model/Geometry.h"

namespace NvScn {

class CSCN;

// Writes the Points block: from the scene's external storage when it has one and ownTable is
// false, otherwise from points (which may then be null). The scene may be null (no storage, no
// progress, no reports). Throws the token messages on failure, cancellation or a short write.
void writePointsBlock(NuvoraXML::XIXMLWriteStream* stream, CSCN* scene, const CPointMgr* points,
                      bool ownTable = false);

// Writes the Polygons block, from the external storage or from polygons, like writePointsBlock.
void writePolygonsBlock(NuvoraXML::XIXMLWriteStream* stream, CSCN* scene,
                        const CPolygonMgr* polygons, bool ownTable = false);

// Reads a Points block into the scene's external storage when it has one, otherwise appends the
// points to the table; every point passes the scene's vector fix-up. Throws on bad data and
// cancellation; when the table cannot grow it reports "No memory availiable" and is left empty.
void readPointsBlock(NuvoraXML::CXMLReadStream* stream, CSCN* scene, CPointMgr* points);

// Reads a Polygons block into the external storage or appends to the table, like readPointsBlock.
void readPolygonsBlock(NuvoraXML::CXMLReadStream* stream, CSCN* scene, CPolygonMgr* polygons);

}  // namespace NvScn

#endif
