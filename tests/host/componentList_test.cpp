// Component lists of every kind Maya writes (mesh, curve, surface, face-vertex and lattice
// components) read from files, seen through MFnComponentListData and the indexed component
// function sets, and written back as read.

#include "mayaAsciiFixture.h"

#include "geometry/componentList.h"

#include <maya/MFnComponentListData.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>
#include <maya/MIntArray.h>

namespace {

std::vector<int> ints(const MIntArray& array) {
    std::vector<int> values;
    for (unsigned int i = 0; i < array.length(); ++i)
        values.push_back(array[i]);
    return values;
}

class ComponentListTest : public MayaAsciiTest {
  protected:
    MObject listOf(const std::string& plugName) {
        MPlug plug;
        EXPECT_EQ(scene.findPlug(plugName, plug), MS::kSuccess) << plugName;
        return plug.asMObject();
    }
};

TEST_F(ComponentListTest, EveryKindIsReadAndWrittenBackAsRead) {
    const std::string lists[] = {"1 \"cv[*][*]\"",
                                 "1 \"cv[0:3][0:5]\"",
                                 "2 \"cv[*]\" \"cv[2:7]\"",
                                 "1 \"pt[*][*][*]\"",
                                 "1 \"pt[0:1][3:4][0:1]\"",
                                 "2 \"vtxFace[0][1]\" \"map[0:3]\"",
                                 "3 \"f[2]\" \"e[*]\" \"ep[1:2]\"",
                                 ""};
    std::string body = "//Maya ASCII 2017 scene\n";
    for (size_t i = 0; i < std::size(lists); ++i)
        body += "createNode groupParts -n \"g" + std::to_string(i) +
                "\";\n\tsetAttr \".ic\" -type \"componentList\" " + lists[i] + ";\n";
    // An array of lists: an empty one cannot share a line with its neighbours.
    body += "createNode transform -n \"t\";\n"
            "\taddAttr -ci true -m -ln \"lists\" -dt \"componentList\";\n"
            "\tsetAttr -s 3 \".lists[0:2]\" -type \"componentList\" 1 \"f[0]\" 1 \"f[1]\" 2 "
            "\"f[2]\" \"vtx[0]\";\n"
            "\tsetAttr \".lists[1]\" -type \"componentList\" ;\n";
    ASSERT_EQ(scene.openFile(write("kinds.ma", body)), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());

    const std::string saved = scratch() + "/saved.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    for (const std::string& list : lists)
        EXPECT_NE(text.find("-type \"componentList\" " + list + ";"), std::string::npos)
            << list << "\n"
            << text;
    messages->clear();
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    const std::vector<std::string> arrayLists = {"1 \"f[0]\"", "", "2 \"f[2]\" \"vtx[0]\""};
    for (size_t i = 0; i < arrayLists.size(); ++i) {
        MPlug plug;
        ASSERT_TRUE(scene.findPlug("t.lists[" + std::to_string(i) + "]", plug));
        const auto* ranges = host::componentRangesIn(plug.asMObject());
        ASSERT_NE(ranges, nullptr) << i;
        std::string listText;
        for (const host::ComponentRange& range : *ranges)
            listText +=
                (listText.empty() ? "" : " ") + ("\"" + host::formatComponentRange(range) + "\"");
        EXPECT_EQ(listText.empty() ? "" : std::to_string(ranges->size()) + " " + listText,
                  arrayLists[i]);
    }
}

TEST_F(ComponentListTest, MalformedComponentsAreRefusedWithOneClosingPeriod) {
    ASSERT_EQ(scene.openFile(write("bad.ma", "createNode groupParts -n \"g\";\n"
                                             "\tsetAttr \".ic\" -type \"componentList\" 1 "
                                             "\"cv[*][*][*][*]\";\n"
                                             "\tsetAttr \".ic\" -type \"componentList\" 1 "
                                             "\"vtx[1][2]\";\n"
                                             "\tsetAttr \".ic\" -type \"componentList\" 1 "
                                             "\"f[5:2]\";\n")),
              MS::kSuccess);
    ASSERT_EQ(errors().size(), 3u) << joined(errors());
    for (const std::string& error : errors()) {
        EXPECT_EQ(error.substr(error.size() - 2), "\".") << error;
        EXPECT_NE(error.find("componentList: expected"), std::string::npos) << error;
    }
}

TEST_F(ComponentListTest, ListDataGivesOneComponentPerKind) {
    ASSERT_EQ(scene.openFile(write("list.ma", "createNode groupParts -n \"g\";\n"
                                              "\tsetAttr \".ic\" -type \"componentList\" 4 "
                                              "\"cv[0:1][2]\" \"pt[*][*][*]\" \"cv[3][*]\" "
                                              "\"cv[0][3]\";\n")),
              MS::kSuccess);
    MObject data = listOf("g.ic");
    MStatus status;
    MFnComponentListData list(data, &status);
    ASSERT_EQ(status, MS::kSuccess);
    ASSERT_EQ(list.length(), 2u);

    MFnDoubleIndexedComponent cvs(list[0], &status);
    ASSERT_EQ(status, MS::kSuccess);
    EXPECT_EQ(cvs.componentType(), MFn::kSurfaceCVComponent);
    MIntArray u, v;
    ASSERT_EQ(cvs.getElements(u, v), MS::kSuccess);
    // "*" reads as -1: every v of row 3, however many the surface has.
    EXPECT_EQ(ints(u), (std::vector<int>{0, 1, 3, 0}));
    EXPECT_EQ(ints(v), (std::vector<int>{2, 2, -1, 3}));

    MFnTripleIndexedComponent points(list[1], &status);
    ASSERT_EQ(status, MS::kSuccess);
    EXPECT_EQ(points.componentType(), MFn::kLatticeComponent);
    EXPECT_TRUE(points.isComplete());
    EXPECT_FALSE(points.isEmpty());

    // Adding joins neighbours into ranges, in Maya's form.
    MFnDoubleIndexedComponent block;
    MObject blockObject = block.create(MFn::kSurfaceCVComponent);
    for (int i = 0; i < 2; ++i)
        for (int j = 4; j < 7; ++j)
            block.addElement(i, j);
    EXPECT_EQ(block.addElement(-1, 0), MS::kInvalidParameter);
    ASSERT_EQ(list.add(blockObject), MS::kSuccess);
    EXPECT_EQ(list.length(), 2u);
    EXPECT_TRUE(list.has(blockObject));
    block.addElement(9, 9);
    EXPECT_FALSE(list.has(blockObject));
    const auto* ranges = host::componentRangesIn(data);
    ASSERT_NE(ranges, nullptr);
    EXPECT_EQ(host::formatComponentRange(ranges->back()), "cv[0:1][4:6]");

    EXPECT_EQ(list.remove(blockObject), MS::kInvalidParameter); // not the whole cv component
    ASSERT_EQ(list.remove(0u), MS::kSuccess);
    ASSERT_EQ(list.length(), 1u);
    EXPECT_EQ(MFnComponent(list[0]).componentType(), MFn::kLatticeComponent);
}

TEST(IndexedComponents, CompleteDataAndElementsInOrder) {
    MFnTripleIndexedComponent lattice;
    MObject object = lattice.create(MFn::kLatticeComponent);
    EXPECT_TRUE(lattice.create(MFn::kSurfaceCVComponent).isNull());
    ASSERT_EQ(lattice.setObject(object), MS::kSuccess);
    ASSERT_EQ(lattice.setCompleteData(2, 1, 2), MS::kSuccess);
    lattice.addElement(1, 0, 1); // inside the complete range: nothing changes
    lattice.addElement(5, 5, 5);
    EXPECT_EQ(lattice.elementCount(), 5);
    int s = 0, t = 0, u = 0;
    ASSERT_EQ(lattice.getElement(1, s, t, u), MS::kSuccess);
    EXPECT_EQ(std::vector<int>({s, t, u}), std::vector<int>({0, 0, 1}));
    ASSERT_EQ(lattice.getElement(4, s, t, u), MS::kSuccess);
    EXPECT_EQ(std::vector<int>({s, t, u}), std::vector<int>({5, 5, 5}));
    EXPECT_EQ(lattice.getElement(5, s, t, u), MS::kInvalidParameter);
    int maxS = 0, maxT = 0, maxU = 0;
    ASSERT_EQ(lattice.getCompleteData(maxS, maxT, maxU), MS::kSuccess);
    EXPECT_EQ(std::vector<int>({maxS, maxT, maxU}), std::vector<int>({2, 1, 2}));

    MStatus status;
    MFnSingleIndexedComponent wrongKind(object, &status);
    MIntArray ids;
    EXPECT_EQ(wrongKind.getElements(ids), MS::kFailure);
    MFnDoubleIndexedComponent faceVertices;
    MObject vf = faceVertices.create(MFn::kMeshVtxFaceComponent);
    MIntArray vertices, faces;
    vertices.append(3);
    vertices.append(3);
    faces.append(1);
    faces.append(1);
    ASSERT_EQ(faceVertices.addElements(vertices, faces), MS::kSuccess);
    EXPECT_EQ(MFnComponent(vf).elementCount(), 1);
    EXPECT_TRUE(vf.hasFn(MFn::kDoubleIndexedComponent));
    EXPECT_FALSE(vf.hasFn(MFn::kSingleIndexedComponent));
}

} // namespace
