// The OBJ writer: one object and group per feather, every rachis and barbule a chain of
// segments over its own points, meshes with texture coordinates only for nodes that output
// them, and every index (relative, counting back from the last vertex) inside what the file
// has declared so far.

#include "featherExportSamples.h"

#include "export/featherObj.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// What a reader of the file sees, checking each index as it comes.
struct objFile {
    std::vector<std::string> objects, groups;
    // Points of each polyline: chained segments (each starting where the last one ended) make
    // one.
    std::vector<size_t> lineLengths;
    // Each face's corners as absolute 1-based "v/vt".
    std::vector<std::string> faces;
    std::vector<size_t> faceSizes;
    size_t vertices = 0, uvs = 0;
    size_t facesWithUVs = 0;
    std::string error;
    long lastLineEnd = 0;
};

// An index as OBJ reads it: negative ones count back from the last declared; 0 when out of
// range.
long absoluteIndex(long index, size_t declared) {
    const long absolute = index < 0 ? static_cast<long>(declared) + index + 1 : index;
    return absolute >= 1 && absolute <= static_cast<long>(declared) ? absolute : 0;
}

objFile readObj(const std::string& text) {
    objFile file;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        const auto fail = [&](const std::string& what) {
            if (file.error.empty())
                file.error = "line " + std::to_string(number) + ": " + what;
        };
        if (kind == "v") {
            double x, y, z;
            if (!(words >> x >> y >> z))
                fail("a vertex without three numbers");
            ++file.vertices;
        } else if (kind == "vt") {
            double u, v;
            if (!(words >> u >> v))
                fail("a texture coordinate without two numbers");
            ++file.uvs;
        } else if (kind == "g" || kind == "o") {
            std::string name, more;
            if (!(words >> name) || (words >> more))
                fail("a group or object needs one name");
            (kind == "g" ? file.groups : file.objects).push_back(name);
        } else if (kind == "l" || kind == "f") {
            std::string corner, face;
            std::vector<long> points;
            bool withUV = false;
            while (words >> corner) {
                const size_t slash = corner.find('/');
                const long v = absoluteIndex(std::stol(corner.substr(0, slash)), file.vertices);
                if (v == 0)
                    fail("vertex " + corner + " not declared yet");
                points.push_back(v);
                face += (face.empty() ? "" : " ") + std::to_string(v);
                if (slash != std::string::npos) {
                    withUV = true;
                    const long t = absoluteIndex(std::stol(corner.substr(slash + 1)), file.uvs);
                    if (t == 0)
                        fail("texture coordinate " + corner + " not declared yet");
                    face += "/" + std::to_string(t);
                }
            }
            if (kind == "l") {
                if (points.size() < 2)
                    fail("a line of fewer than 2 points");
                else if (!file.lineLengths.empty() && points.front() == file.lastLineEnd)
                    file.lineLengths.back() += points.size() - 1;
                else
                    file.lineLengths.push_back(points.size());
                file.lastLineEnd = points.empty() ? 0 : points.back();
            } else {
                if (points.size() < 3)
                    fail("a face of fewer than 3 corners");
                file.faceSizes.push_back(points.size());
                file.faces.push_back(face);
                file.facesWithUVs += withUV;
            }
        } else if (!kind.empty() && kind[0] != '#') {
            fail("unknown statement '" + kind + "'");
        }
    }
    return file;
}

TEST(FeatherObj, EachFeatherIsAnObjectAndGroupOfItsRachisAndBarbulePolylines) {
    std::vector<featherGeometry> wing{samples::featherAlongX(5, 3, 2),
                                      samples::featherAlongX(4, 0, 1)};
    std::vector<featherGeometry> tail{samples::featherAlongX(2, 1, 0)};
    tail[0].leftBarbules.push_back(MFloatPointArray(1, MFloatPoint(0.0f, 0.0f, 0.0f)));
    featherExportNode first, second;
    first.name = "wing";
    first.feathers = &wing;
    second.name = "tail shape";
    second.feathers = &tail;
    std::ostringstream out;
    ASSERT_TRUE(writeFeatherObj(out, {first, second}));
    const objFile file = readObj(out.str());
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.groups,
              (std::vector<std::string>{"wing_feather0", "wing_feather1", "tail_shape_feather0"}));
    EXPECT_EQ(file.objects, file.groups);
    // Rachis first, then left and right barbules; a one-point barbule is no line.
    EXPECT_EQ(file.lineLengths, (std::vector<size_t>{5, 3, 3, 3, 4, 4, 4, 4, 2, 3}));
    EXPECT_EQ(file.vertices, 5u + 9 + 8 + 4 + 4 + 2 + 3);
    EXPECT_TRUE(file.faceSizes.empty());
    EXPECT_EQ(file.uvs, 0u);
    // The first barbule's second point, as written.
    EXPECT_NE(out.str().find("\nv 0.6 0 -0.5\nl -2 -1\n"), std::string::npos);
}

TEST(FeatherObj, MeshesWithUVsFollowTheCurvesOnlyForNodesThatOutputThem) {
    std::vector<featherGeometry> feathers{samples::featherAlongX(3, 1, 1),
                                          samples::featherAlongX(3, 1, 1)};
    for (featherGeometry& g : feathers) {
        g.rachisMesh = samples::stripMesh(2, 0.0f);
        g.barbuleMesh = samples::stripMesh(3, 1.0f);
    }
    featherExportNode node;
    node.name = "wing";
    node.feathers = &feathers;
    std::ostringstream plain;
    ASSERT_TRUE(writeFeatherObj(plain, {node}));
    EXPECT_TRUE(readObj(plain.str()).faceSizes.empty());

    node.outputFeatherMesh = true;
    std::ostringstream meshes;
    ASSERT_TRUE(writeFeatherObj(meshes, {node}));
    const objFile file = readObj(meshes.str());
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.faceSizes, std::vector<size_t>(2 * (2 + 3), 4));
    EXPECT_EQ(file.facesWithUVs, file.faceSizes.size());
    EXPECT_EQ(file.uvs, 2u * (6 + 8));
    EXPECT_EQ(file.vertices, 2u * (3 + 3 + 4 + 6 + 8));
    // The second feather's rachis mesh starts after everything of the first: 24 vertices and
    // 14 texture coordinates, then its own 3 + 3 + 4 curve points.
    EXPECT_EQ(file.faces[5], "35/15 36/16 38/18 37/17") << meshes.str();

    // A face pointing outside its mesh is dropped rather than written out of range.
    feathers[0].barbuleMesh.polygonConnects[0] = 99;
    std::ostringstream broken;
    ASSERT_TRUE(writeFeatherObj(broken, {node}));
    const objFile checked = readObj(broken.str());
    EXPECT_EQ(checked.error, "");
    EXPECT_EQ(checked.faceSizes.size(), 9u);
}

// Names come from scenes and may hold any byte: a line break in one must not end the header
// comment and leave the rest of the name as a statement of its own (a vertex, a face).
TEST(FeatherObj, ControlCharactersInNamesStayInsideTheCommentAndTheGroupName) {
    std::vector<featherGeometry> feathers{samples::featherAlongX(3, 1, 1)};
    featherExportNode node;
    node.name = "wing\nv 1 2 3\r\x01"
                "f 1 2 3";
    node.type = "quillo\n#";
    node.feathers = &feathers;
    std::ostringstream out;
    ASSERT_TRUE(writeFeatherObj(out, {node}));
    const objFile file = readObj(out.str());
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.groups, (std::vector<std::string>{"wing_v_1_2_3__f_1_2_3_feather0"}));
    EXPECT_EQ(file.vertices, 3u + 3 + 4);
    EXPECT_TRUE(file.faceSizes.empty());
    EXPECT_NE(out.str().find("# node wing_v 1 2 3__f 1 2 3 (quillo_#)\n"), std::string::npos)
        << out.str();
}

} // namespace
