// The host-model file: what it states reaches the project exactly, and every mistake in it is
// refused with a message that names the place and the problem.
#include "CADHost.h"
#include "Model.h"
#include "test_host_support.h"

#include <vector>

namespace {

// A model of one wall body around the given polygons; more fields go before the elements.
std::string wall(const std::string& polygons, const std::string& more = "", const std::string& body = "")
{
    return "{\"format\": \"cadhost-model\", \"version\": 1, " + more +
           "\"materials\": [{\"name\": \"M\"}], \"elements\": [{\"type\": \"wall\", \"bodies\": [{"
           "\"vertices\": [[0,0,0],[1,0,0],[1,0,1],[0,0,1]], " + body + "\"polygons\": [" + polygons + "]}]}]}";
}

struct JsonError {
    const char* name;
    std::string json;
    std::string message;   // after "<path>: "
};

class RefusedHostModels : public HostFolderTest, public ::testing::WithParamInterface<JsonError> {};

TEST_P(RefusedHostModels, NameThePlaceAndTheProblem)
{
    const std::string path = write("model.json", GetParam().json);
    std::string error;
    EXPECT_FALSE(cadhost::loadModel(path, {}, &error));
    EXPECT_EQ(error, path + ": " + GetParam().message);
    EXPECT_TRUE(cadhost::project().model->elements.empty());
}

INSTANTIATE_TEST_SUITE_P(Mistakes, RefusedHostModels, ::testing::Values(
    JsonError{"NotJson", "{\"format\": NaN}",
              "not a host model: parse error at line 1, column 12: syntax error while parsing value - invalid literal; last read: '\"format\": N'"},
    JsonError{"NotAnObject", "[1, 2]", "the model is not an object"},
    JsonError{"OtherFormat", "{\"format\": \"gltf\"}", "the model is not a host model: its \"format\" is not \"cadhost-model\""},
    JsonError{"LaterVersion", "{\"format\": \"cadhost-model\", \"version\": 2}",
              "the model field \"version\" is 2; it must lie from 1 to 1"},
    JsonError{"MisspeltField", "{\"format\": \"cadhost-model\", \"orign\": [0, 0]}", "the model has an unknown field \"orign\""},
    // Refused after everything else of its object was read into what the reader returns (pixels,
    // a name too long to be kept in place): nothing of it may be lost (the sanitizer build checks).
    JsonError{"MisspeltFieldOfATexture",
              "{\"format\": \"cadhost-model\", \"textures\": [{\"pixels\": {\"width\": 1, \"height\": 2, "
              "\"rgba\": \"ffffff80000000ff\"}, \"xSiza\": 0.5}]}",
              "texture 1 has an unknown field \"xSiza\""},
    JsonError{"MisspeltFieldOfALight",
              "{\"format\": \"cadhost-model\", \"lights\": [{\"name\": \"A light with a long name\", \"colour\": [1, 1, 1]}]}",
              "light 1 has an unknown field \"colour\""},
    JsonError{"MisspeltFieldOfACameraSet",
              "{\"format\": \"cadhost-model\", \"cameraSets\": [{\"name\": \"A camera set with a long name\", "
              "\"cameras\": [{\"name\": \"A camera with a long name\"}], \"hidden\": true}]}",
              "camera set 1 has an unknown field \"hidden\""},
    JsonError{"MisspeltFieldOfAMaterial",
              "{\"format\": \"cadhost-model\", \"materials\": [{\"name\": \"A material with a long name\", \"shininess\": 5}]}",
              "material 1 has an unknown field \"shininess\""},
    JsonError{"TwoVertices", wall("{\"vertices\": [1, 2]}"),
              "element 1 body 1 polygon 1: the outer contour has 2 vertices; a polygon needs at least three"},
    JsonError{"SmallHole", wall("{\"vertices\": [[1, 2, 3, 4], [1, 2]]}"),
              "element 1 body 1 polygon 1: a hole has 2 vertices; a polygon needs at least three"},
    JsonError{"NoSuchVertex", wall("{\"vertices\": [1, 2, 9]}"),
              "element 1 body 1 polygon 1: vertex 9 does not exist; the body has 4 vertices"},
    JsonError{"TwoEdges", wall("{\"edges\": [1, 2]}", "", "\"edges\": [[1,2],[2,3],[3,1]], "),
              "element 1 body 1 polygon 1: the outer contour has 2 edges; a polygon needs at least three"},
    JsonError{"LeadingSeparator", wall("{\"edges\": [0, 1, 2, 3]}", "", "\"edges\": [[1,2],[2,3],[3,1]], "),
              "element 1 body 1 polygon 1: the outer contour has 0 edges; a polygon needs at least three"},
    JsonError{"OpenContour", wall("{\"edges\": [1, 2, -3]}", "", "\"edges\": [[1,2],[2,3],[3,1]], "),
              "element 1 body 1 polygon 1: edge 2 ends at vertex 3, but edge -3 after it begins at vertex 1"},
    JsonError{"NoSuchEdge", wall("{\"edges\": [1, 2, 4]}", "", "\"edges\": [[1,2],[2,3],[3,1]], "),
              "element 1 body 1 polygon 1: edge 4 does not exist; the body has 3 edges"},
    JsonError{"EdgeOnItself", wall("{\"vertices\": [1, 2, 3]}", "", "\"edges\": [[2,2]], "),
              "element 1 body 1: an edge joins vertex 2 with itself"},
    JsonError{"NoSuchNormal", wall("{\"normal\": 2, \"edges\": [1, 2, 3]}", "",
                                    "\"edges\": [[1,2],[2,3],[3,1]], \"normals\": [[0,-1,0]], "),
              "element 1 body 1 polygon 1: normal 2 does not exist; the body has 1 normals"},
    JsonError{"NormalMissing", wall("{\"edges\": [1, 2, 3]}", "", "\"edges\": [[1,2],[2,3],[3,1]], \"normals\": [[0,-1,0]], "),
              "element 1 body 1 polygon 1 needs a \"normal\": its body states its normals"},
    JsonError{"BothForms", wall("{\"edges\": [1, 2, 3], \"vertices\": [1, 2, 3]}"),
              "element 1 body 1 polygon 1 needs either \"edges\" or \"vertices\""},
    JsonError{"MaterialPastTheEnd", wall("{\"material\": 2, \"vertices\": [1, 2, 3]}"),
              "element 1 body 1 polygon 1 field \"material\" is 2; it must lie from -2147483648 to 1"},
    JsonError{"OwnTextureMissing", wall("{\"texture\": 1, \"vertices\": [1, 2, 3]}"),
              "element 1 body 1 polygon 1 field \"texture\" is 1; it must lie from 0 to 0"},
    JsonError{"HugeVertex", "{\"format\": \"cadhost-model\", \"elements\": [{\"bodies\": [{\"vertices\": [[0, 0, 1e300]]}]}]}",
              "element 1 body 1 vertex 1 lies 1e+300 m from the origin; the host takes coordinates up to 10000 km"},
    JsonError{"HugeThroughItsMatrix",
              "{\"format\": \"cadhost-model\", \"elements\": [{\"bodies\": [{\"matrix\": [1,0,0,2e7, 0,1,0,0, 0,0,1,0], "
              "\"vertices\": [[0, 0, 0]]}]}]}",
              "element 1 body 1 vertex 1 in the model lies 2e+07 m from the origin; the host takes coordinates up to 10000 km"},
    JsonError{"VertexNotThree", "{\"format\": \"cadhost-model\", \"elements\": [{\"bodies\": [{\"vertices\": [[0, 0]]}]}]}",
              "element 1 body 1 vertex 1 is not a list of 3 numbers"},
    JsonError{"TooFewCoordinates", wall("{\"vertices\": [1, 2, 3]}", "", "\"uv\": [[0, 0]], "),
              "element 1 body 1 has 1 texture coordinates for 4 vertices"},
    JsonError{"BadType", "{\"format\": \"cadhost-model\", \"elements\": [{\"type\": \"door\"}]}",
              "element 1 has a type that is none of 1 to 4, \"wall\", \"slab\", \"roof\" and \"other\""},
    JsonError{"NoSuchLayer", "{\"format\": \"cadhost-model\", \"elements\": [{\"layer\": 2}]}",
              "element 1 field \"layer\" is 2; it must lie from 1 to 1"},
    JsonError{"SameGuid",
              "{\"format\": \"cadhost-model\", \"elements\": [{\"guid\": \"000102030405060708090A0B0C0D0E0F\"}, "
              "{\"guid\": \"000102030405060708090a0b0c0d0e0f\"}]}",
              "element 2 has the guid of an element before it"},
    JsonError{"ShortGuid", "{\"format\": \"cadhost-model\", \"elements\": [{\"guid\": \"0001\"}]}",
              "element 1 has a guid that is not 32 hexadecimal digits"},
    JsonError{"ColourOutOfRange", "{\"format\": \"cadhost-model\", \"materials\": [{\"surface\": [0, 2, 0]}]}",
              "material 1 field \"surface\" has a component outside 0 to 1"},
    JsonError{"PercentOutOfRange", "{\"format\": \"cadhost-model\", \"materials\": [{\"transpPc\": 101}]}",
              "material 1 field \"transpPc\" is 101; it must lie from 0 to 100"},
    JsonError{"TextureOfNoImage", "{\"format\": \"cadhost-model\", \"textures\": [{\"name\": \"a.png\", \"available\": true}]}",
              "texture 1 is available but has neither pixels nor a readable image"},
    JsonError{"PixelsShort",
              "{\"format\": \"cadhost-model\", \"textures\": [{\"pixels\": {\"width\": 2, \"height\": 1, \"rgba\": \"ff00ff00\"}}]}",
              "texture 1 pixels needs \"rgba\" of 8 hexadecimal digits for each of its 2 pixels (at most 16777216)"},
    JsonError{"PixelsNotHex",
              "{\"format\": \"cadhost-model\", \"textures\": [{\"pixels\": {\"width\": 1, \"height\": 1, \"rgba\": \"ff00zz00\"}}]}",
              "texture 1 pixels has \"rgba\" with a character that is not a hexadecimal digit"},
    JsonError{"DayOutOfYear", "{\"format\": \"cadhost-model\", \"site\": {\"dayOfYear\": 365}}",
              "site field \"dayOfYear\" is 365; it must lie from 0 to 364"},
    JsonError{"NoSuchCity", "{\"format\": \"cadhost-model\", \"site\": {\"cityIndex\": 3}}",
              "the model has a \"cityIndex\" of 3 but 1 cities"},
    JsonError{"ThreeRenderingRecords", "{\"format\": \"cadhost-model\", \"rendering\": [{}, {}, {}]}",
              "the model has \"rendering\" that is neither one record nor a list of two"},
    JsonError{"CosineOutOfRange", "{\"format\": \"cadhost-model\", \"lights\": [{\"cosAngle\": 2}]}",
              "light 1 has a \"cosAngle\" outside -1 to 1"},
    JsonError{"CameraFarAway", "{\"format\": \"cadhost-model\", \"cameraSets\": [{\"cameras\": [{\"position\": [0, 0, 1e8]}]}]}",
              "camera set 1 camera 1 field \"position\" lies 1e+08 m from the origin; the host takes coordinates up to 10000 km"}),
    [](const ::testing::TestParamInfo<JsonError>& info) { return info.param.name; });

TEST_F(HostFolderTest, AModelOfNothingButItsFormatIsAFreshProject)
{
    const std::string path = write("empty.json", "{\"format\": \"cadhost-model\"}");
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    const cadhost::Project& p = cadhost::project();
    EXPECT_EQ(p.layers.size(), 1u);
    EXPECT_STREQ(p.layers[0].name, "ArchiCAD Layer");
    EXPECT_EQ(p.place.dayOfYear, 171);
    EXPECT_EQ(p.rendering[0].sun, 1);
    EXPECT_EQ(p.rendering[0].lights, 0);   // no lights in the model
    EXPECT_EQ(p.projection.isPersp, 1);
    EXPECT_EQ(p.projection.cameraX, 20.0);
}

TEST_F(HostFolderTest, AnImageFileBesideTheModelIsDecoded)
{
    const std::string path = write("image.json", "{\"format\": \"cadhost-model\", \"textures\": ["
                                                 "{\"name\": \"b.png\", \"image\": \"" HOST_MODELS "/bricks.png\"},"
                                                 "{\"name\": \"c.png\", \"image\": \"corrupt.png\"}]}");
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    const cadhost::Model& m = *cadhost::project().model;
    ASSERT_EQ(m.textures.size(), 2u);
    EXPECT_TRUE(m.textures[0].available);
    EXPECT_EQ(m.textures[0].width, 2);
    EXPECT_FALSE(m.textures[1].available);
    EXPECT_EQ(cadhost::project().modelWarnings,
              std::vector<std::string>{"texture \"c.png\" cannot be read from " + mFolder + "/corrupt.png: No such file or directory"});
}

TEST_F(HostFolderTest, StatedNormalsAndEdgesAreKeptAsStated)
{
    const std::string path = write("stated.json", wall("{\"normal\": -1, \"edges\": [-3, -2, -1]}", "",
                                                       "\"edges\": [[1,2],[2,3],[3,1]], \"normals\": [[0,2,0]], "));
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    const cadhost::Model& m = *cadhost::project().model;
    ASSERT_EQ(m.polygons.size(), 1u);
    EXPECT_EQ(m.polygons[0].normal, -1);
    EXPECT_EQ(m.edgeRefs, (std::vector<int32_t>{-3, -2, -1}));
    ASSERT_EQ(m.normals.size(), 1u);
    EXPECT_EQ(m.normals[0].y, 1.0);   // unit length
}

}  // namespace
