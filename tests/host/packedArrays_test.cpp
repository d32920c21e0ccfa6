// Large arrays of numbers: read from a file part by part, kept packed, turned into slots only
// when something needs slots, and saved back as they were read.

#include "mayaAsciiFixture.h"

#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MSelectionList.h>

#include <sstream>

namespace {

class PackedArrays : public MayaAsciiTest {
  protected:
    static host::Slot* container(const std::string& node, const std::string& attribute) {
        host::Node* n = host::Graph::instance().find(node);
        const host::AttributeDef* a = n ? n->findAttribute(attribute) : nullptr;
        return a ? n->slot(a, std::vector<int>(a->chain().size(), -1), false) : nullptr;
    }
    // A mesh whose ".vt" holds `count` vertices (x = index) in one setAttr, then `tail`.
    std::string meshScene(int count, const std::string& tail = "") {
        std::ostringstream text;
        text << "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n"
             << "createNode transform -n \"m\";\ncreateNode mesh -n \"mShape\" -p \"m\";\n"
             << "\tsetAttr -s " << count << " \".vt[0:" << count - 1 << "]\"";
        for (int i = 0; i < count; ++i)
            text << (i % 4 ? " " : "\n\t\t") << i << " 0.5 -2";
        text << tail << ";\ncreateNode transform -n \"after\";\n";
        return text.str();
    }
};

// A grid of w x h quads: vertices, edges and faces each in one setAttr.
std::string gridScene(int w, int h) {
    std::ostringstream text;
    text << "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n"
         << "createNode transform -n \"g\";\ncreateNode mesh -n \"gShape\" -p \"g\";\n";
    const int vertices = (w + 1) * (h + 1), edges = (h + 1) * w + h * (w + 1);
    text << "\tsetAttr -s " << vertices << " \".vt[0:" << vertices - 1 << "]\"";
    for (int j = 0; j <= h; ++j)
        for (int i = 0; i <= w; ++i)
            text << " " << i << " 0 " << j;
    // Edges along x first (row j, step i), then along z.
    text << ";\n\tsetAttr -s " << edges << " \".ed[0:" << edges - 1 << "]\"";
    for (int j = 0; j <= h; ++j)
        for (int i = 0; i < w; ++i)
            text << " " << j * (w + 1) + i << " " << j * (w + 1) + i + 1 << " 0";
    for (int j = 0; j < h; ++j)
        for (int i = 0; i <= w; ++i)
            text << " " << j * (w + 1) + i << " " << (j + 1) * (w + 1) + i << " 0";
    text << ";\n\tsetAttr -s " << w * h << " \".fc[0:" << w * h - 1 << "]\" -type \"polyFaces\"";
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            text << "\n\t\tf 4 " << j * w + i << " " << (h + 1) * w + (w + 1) * j + i + 1 << " "
                 << -((j + 1) * w + i) - 1 << " " << -((w + 1) * j + i + (h + 1) * w) - 1;
    text << ";\n";
    return text.str();
}

} // namespace

TEST_F(PackedArrays, LongArraysAreReadInPartsAndKeptPacked) {
    // 300,000 numbers: the lexer hands them over in several parts.
    const int count = 100000;
    const std::string path = write("big.ma", meshScene(count));
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    host::Slot* vt = container("mShape", "vt");
    ASSERT_NE(vt, nullptr);
    ASSERT_NE(vt->elements.packed(), nullptr);
    EXPECT_EQ(vt->elements.size(), static_cast<size_t>(count));

    // Saved straight from the packed numbers, the file reads back to the same numbers.
    const std::vector<double> numbers = vt->elements.packed()->values;
    EXPECT_EQ(numbers[3 * 1234], 1234.0);
    const std::string saved = scratch() + "/saved.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    vt = container("mShape", "vt");
    ASSERT_NE(vt->elements.packed(), nullptr);
    EXPECT_EQ(vt->elements.packed()->values, numbers);
    // Asked for one plug, the array becomes slots holding the same numbers.
    std::vector<double> last;
    ASSERT_TRUE(scene.getAttr("mShape.vt[" + std::to_string(count - 1) + "]", last));
    EXPECT_EQ(last, (std::vector<double>{count - 1.0, 0.5, -2.0}));
    EXPECT_EQ(vt->elements.packed(), nullptr);
    EXPECT_EQ(vt->elements.size(), static_cast<size_t>(count));
}

TEST_F(PackedArrays, SingleElementsMergeInOrderAndBrokenPartsChangeNothing) {
    ASSERT_EQ(scene.openFile(write("sparse.ma",
                                   "//Maya ASCII 2013 scene\n"
                                   "createNode transform -n \"m\";\n"
                                   "createNode mesh -n \"mShape\" -p \"m\";\n"
                                   "\tsetAttr \".pt[7]\" -type \"float3\" 7 0 0;\n"
                                   "\tsetAttr \".pt[2]\" -type \"float3\" 2 0 0;\n"
                                   "\tsetAttr -s 2 \".pt[6:7]\" 6 0 0 70 0 0;\n"
                                   "\tsetAttr \".fc[2]\" -type \"polyFaces\" f 3 0 1 2;\n"
                                   "\tsetAttr \".fc[0]\" -type \"polyFaces\" f 3 3 4 5;\n"
                                   "\tsetAttr \".fc[2]\" -type \"polyFaces\" f 4 6 7 8 9;\n")),
              MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    const host::PackedElements* pt = container("mShape", "pt")->elements.packed();
    ASSERT_NE(pt, nullptr);
    EXPECT_EQ(pt->indices, (std::vector<unsigned int>{2, 6, 7}));
    EXPECT_EQ(pt->values, (std::vector<double>{2, 0, 0, 6, 0, 0, 70, 0, 0}));
    const host::PackedElements* fc = container("mShape", "fc")->elements.packed();
    ASSERT_NE(fc, nullptr);
    EXPECT_EQ(fc->indices, (std::vector<unsigned int>{0, 2}));
    EXPECT_EQ(fc->ints, (std::vector<int>{1, 3, 3, 4, 5, 0, 0, 0, 1, 4, 6, 7, 8, 9, 0, 0, 0}));

    // A file that breaks off, or miscounts, inside a command read in parts: one error, the
    // array untouched, and reading goes on.
    for (const std::string& tail : {std::string(" 1 2 \"unclosed\n"), std::string(" 1 2 3")}) {
        messages->clear();
        ASSERT_EQ(scene.openFile(write("broken.ma", meshScene(40000, tail))), MS::kSuccess);
        ASSERT_EQ(errors().size(), 1u) << joined(errors());
        EXPECT_TRUE(container("mShape", "vt")->elements.empty());
        EXPECT_EQ(scene.typeOf("after"), "transform");
    }
    EXPECT_NE(errors()[0].find("expected 120000 values (3 for each of 40000 elements)"),
              std::string::npos)
        << errors()[0];
}

TEST_F(PackedArrays, FacesAreReadInPartsAndKeptAsInts) {
    // 12,000 faces of 6 words: more than one part, with a face across each boundary.
    const int w = 120, h = 100;
    ASSERT_EQ(scene.openFile(write("grid.ma", gridScene(w, h))), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    const host::PackedElements* fc = container("gShape", "fc")->elements.packed();
    ASSERT_NE(fc, nullptr);
    ASSERT_NE(fc->codec, nullptr);
    EXPECT_EQ(fc->indices.size(), static_cast<size_t>(w * h));

    MSelectionList list;
    ASSERT_TRUE(list.add("gShape"));
    MDagPath path;
    ASSERT_TRUE(list.getDagPath(0, path));
    MFnMesh mesh(path);
    EXPECT_EQ(mesh.numPolygons(), w * h);
    EXPECT_EQ(mesh.numVertices(), (w + 1) * (h + 1));
    EXPECT_TRUE(errors().empty()) << joined(errors());

    const std::string saved = scratch() + "/saved.ma", again = scratch() + "/again.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    ASSERT_EQ(scene.saveFile(again), MS::kSuccess);
    EXPECT_EQ(withoutStamp(read(again)), withoutStamp(read(saved)));
    // Faces turned into slots hold what the ints did.
    host::Slot* faces = container("gShape", "fc");
    ASSERT_EQ(faces->elements.size(), static_cast<size_t>(w * h));
    EXPECT_NE(faces->elements.find(w * h - 1), faces->elements.end());
    EXPECT_EQ(faces->elements.packed(), nullptr);
    ASSERT_EQ(scene.saveFile(again), MS::kSuccess);
    EXPECT_EQ(withoutStamp(read(again)), withoutStamp(read(saved)));
}
