// Large arrays of numbers: read from a file part by part, kept packed, turned into slots only
// when something needs slots, and saved back as they were read.

#include "mayaAsciiFixture.h"

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
    ASSERT_EQ(scene.openFile(write("sparse.ma", "//Maya ASCII 2013 scene\n"
                                                "createNode transform -n \"m\";\n"
                                                "createNode mesh -n \"mShape\" -p \"m\";\n"
                                                "\tsetAttr \".pt[7]\" -type \"float3\" 7 0 0;\n"
                                                "\tsetAttr \".pt[2]\" -type \"float3\" 2 0 0;\n"
                                                "\tsetAttr -s 2 \".pt[6:7]\" 6 0 0 70 0 0;\n")),
              MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    const host::PackedElements* pt = container("mShape", "pt")->elements.packed();
    ASSERT_NE(pt, nullptr);
    EXPECT_EQ(pt->indices, (std::vector<unsigned int>{2, 6, 7}));
    EXPECT_EQ(pt->values, (std::vector<double>{2, 0, 0, 6, 0, 0, 70, 0, 0}));

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
