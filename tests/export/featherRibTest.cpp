// The RIB writer on hand-built feathers: the grammar holds (balanced blocks, one value per
// vertex or curve as each class wants), curve counts and widths follow the geometry in linear
// and cubic form, optional variables appear only when asked, the rachis takes the form the node
// asks for, and the file forms (gzip, delayed-read archives) read back.

#include "featherExportSamples.h"

#include "../ribReader.h"

#include "export/exportText.h"
#include "export/featherRib.h"
#include "export/ribFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testrib::Request;

struct sampleScene {
    std::vector<featherGeometry> feathers{samples::featherAlongX(5, 3, 2),
                                          samples::featherAlongX(4, 0, 1)};
    featherExportNode node;
    sampleScene() {
        node.name = "wing";
        node.type = "quillo";
        node.feathers = &feathers;
        node.preFeatherRib = "Color [1 0 0]";
        node.postFeatherRib = "Opacity [1 1 1]\n";
        node.preFeatherMeshRib = "Color [0 1 0]";
        node.postFeatherMeshRib = "Opacity [0.5 0.5 0.5]";
    }
};

std::vector<Request> readRib(const std::string& text) {
    std::vector<Request> requests;
    std::string error;
    EXPECT_TRUE(testrib::read(text, requests, &error)) << error << "\n" << text.substr(0, 2000);
    return requests;
}

std::string ribText(const sampleScene& scene, const ribSettings& settings) {
    std::ostringstream out;
    EXPECT_TRUE(writeFeatherRib(out, {scene.node}, settings));
    return out.str();
}

std::vector<const Request*> named(const std::vector<Request>& requests, const std::string& name) {
    std::vector<const Request*> found;
    for (const Request& r : requests)
        if (r.name == name)
            found.push_back(&r);
    return found;
}

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "featherRib_" + std::to_string(::getpid()) + "_" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FeatherRib, LinearCurvesCarryOnePointAndOneWidthPerVertex) {
    sampleScene scene;
    scene.node.curveType = linearCurveType;
    ribSettings settings;
    settings.exportBarbuleUV = false;
    const std::vector<Request> requests = readRib(ribText(scene, settings));
    const auto curves = named(requests, "Curves");
    // Per feather its barbules, then its rachis; the second feather has one barbule.
    ASSERT_EQ(curves.size(), 4u);
    EXPECT_EQ(curves[0]->args[0].text, "linear");
    EXPECT_EQ(curves[0]->args[1].numbers, (std::vector<double>{3, 3, 3, 4, 4}));
    EXPECT_EQ(curves[1]->args[1].numbers, (std::vector<double>{5}));
    EXPECT_EQ(curves[2]->args[1].numbers, (std::vector<double>{4}));
    EXPECT_EQ(curves[3]->args[1].numbers, (std::vector<double>{4}));
    // Widths: barbule thickness per point x the barbule's factor 2; the rachis tube diameter
    // 2 x thickness x rachisThick (0.5).
    EXPECT_EQ(
        curves[0]->param("width")->numbers,
        (std::vector<double>{2, 1, 0.5, 2, 1, 0.5, 2, 1, 0.5, 2, 1, 0.5, 0.25, 2, 1, 0.5, 0.25}));
    const std::vector<double>& rachisWidth = curves[1]->param("width")->numbers;
    ASSERT_EQ(rachisWidth.size(), 5u);
    EXPECT_NEAR(rachisWidth.front(), 0.5, 1e-6);
    EXPECT_NEAR(rachisWidth.back(), 0.4, 1e-6);
    // The last right barbule of the first feather ends at its fourth point.
    const std::vector<double>& p = curves[0]->param("P")->numbers;
    const MFloatPoint& tip = scene.feathers[0].rightBarbules[1][3];
    EXPECT_FLOAT_EQ(static_cast<float>(p[p.size() - 3]), tip.x);
    EXPECT_FLOAT_EQ(static_cast<float>(p[p.size() - 1]), tip.z);
    for (const char* variable : {"s", "t", "N", "surfaceU"})
        EXPECT_EQ(curves[0]->param(variable), nullptr) << variable;
    EXPECT_TRUE(named(requests, "Basis").empty());
    EXPECT_TRUE(named(requests, "SubdivisionMesh").empty());
}

TEST(FeatherRib, EachFeatherBlockHoldsTheShaderThenTheNodeStringsAroundItsCurves) {
    sampleScene scene;
    ribSettings settings;
    settings.featherRibText = "Surface \"plumage\" \"float Kd\" [0.8]";
    settings.diceHair = true;
    const std::vector<Request> requests = readRib(ribText(scene, settings));
    std::string order;
    for (const Request& r : requests)
        if (r.name != "Attribute" || r.args[0].text == "dice")
            order += r.name + (r.name == "Attribute" ? ":dice" : "") + " ";
    // The node block, then two feather blocks.
    const std::string feather = "AttributeBegin Surface Attribute:dice Color Basis Curves Curves "
                                "Opacity AttributeEnd ";
    EXPECT_EQ(order, "AttributeBegin " + feather + feather + "AttributeEnd ");
    EXPECT_EQ(named(requests, "Surface")[0]->args[0].text, "plumage");
    std::vector<std::string> names;
    for (const Request* a : named(requests, "Attribute"))
        if (a->args[0].text == "identifier")
            names.push_back(a->args[2].strings.at(0));
    EXPECT_EQ(names, (std::vector<std::string>{"wing", "wing.feather0", "wing.feather1"}));
}

TEST(FeatherRib, CubicCurvesPassThroughEveryPointAndCarryUVsAndNormalsWhenAsked) {
    sampleScene scene;
    ribSettings settings;
    settings.exportNormal = true;
    settings.exportSurfaceUV = true;
    const std::vector<Request> requests = readRib(ribText(scene, settings));
    ASSERT_EQ(named(requests, "Basis").size(), 2u);
    EXPECT_EQ(named(requests, "Basis")[0]->args[0].text, "catmull-rom");
    const auto curves = named(requests, "Curves");
    ASSERT_EQ(curves.size(), 4u);
    const Request& barbules = *curves[0];
    EXPECT_EQ(barbules.args[0].text, "cubic");
    EXPECT_EQ(barbules.args[1].numbers, (std::vector<double>{5, 5, 5, 6, 6}));
    // The end points are doubled: the first two and the last two points are equal.
    const std::vector<double>& p = barbules.param("P")->numbers;
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(p[axis], p[3 + axis]);
        EXPECT_EQ(p[p.size() - 3 + axis], p[p.size() - 6 + axis]);
    }
    EXPECT_FLOAT_EQ(static_cast<float>(p[0]), scene.feathers[0].leftBarbules[0][0].x);
    std::string declaration;
    const testrib::Arg* s = barbules.param("s", &declaration);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(declaration, "varying float s");
    EXPECT_EQ(std::vector<double>(s->numbers.begin(), s->numbers.begin() + 3),
              (std::vector<double>{0, 0.5, 1}));
    const testrib::Arg* t = barbules.param("t", &declaration);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(declaration, "uniform float t");
    for (unsigned int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(static_cast<float>(t->numbers[i]), scene.feathers[0].leftPositions[i]);
    EXPECT_FLOAT_EQ(static_cast<float>(t->numbers[3]), scene.feathers[0].rightPositions[0]);
    const testrib::Arg* n = barbules.param("N", &declaration);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(declaration, "varying normal N");
    EXPECT_EQ(n->numbers[2], 1.0);                     // the barbule's up is +z
    EXPECT_EQ(curves[1]->param("N")->numbers[1], 1.0); // the rachis normal is +y
    EXPECT_EQ(barbules.param("surfaceU")->numbers, std::vector<double>{0.25});
    EXPECT_EQ(barbules.param("surfaceV")->numbers, std::vector<double>{0.75});
}

TEST(FeatherRib, TheRachisBecomesASubdivisionMeshOrNothingAsTheNodeAsks) {
    sampleScene scene;
    scene.node.rachisRenderAs = rachisAsSubdivisionMesh;
    scene.node.rachisSides = 4;
    scene.feathers[1].rachisMesh = samples::stripMesh(3, 0.0f);
    ribSettings settings;
    settings.rachisMeshRibText = "Surface \"shaft\"";
    std::vector<Request> requests = readRib(ribText(scene, settings));
    EXPECT_EQ(named(requests, "Curves").size(), 2u) << "barbules only";
    const auto meshes = named(requests, "SubdivisionMesh");
    ASSERT_EQ(meshes.size(), 2u);
    // The first feather's tube is made here: 4 sides around 5 rachis points; the second's is the
    // one the build kept.
    EXPECT_EQ(meshes[0]->args[1].numbers.size(), 16u);
    EXPECT_EQ(meshes[1]->args[1].numbers, (std::vector<double>{4, 4, 4}));
    std::string declaration;
    ASSERT_NE(meshes[1]->param("s", &declaration), nullptr);
    EXPECT_EQ(declaration, "facevarying float s");
    EXPECT_EQ(meshes[1]->param("s")->numbers[2], 1.0); // corner 2 of face 0 is point 3: u = 1
    std::string order;
    for (const Request& r : requests)
        if (r.name == "Surface" || r.name == "Color" || r.name == "Opacity" ||
            r.name == "SubdivisionMesh")
            order += (r.name == "Surface" ? r.args[0].text : r.name) + " ";
    const std::string feather = "quillo Color Opacity shaft Color SubdivisionMesh Opacity ";
    EXPECT_EQ(order, feather + feather);

    scene.node.rachisRenderAs = 3;
    requests = readRib(ribText(scene, settings));
    EXPECT_EQ(named(requests, "Curves").size(), 2u);
    EXPECT_TRUE(named(requests, "SubdivisionMesh").empty());
}

TEST(FeatherRib, AnEmptyShaderTextIsRefusedAndNoFileIsWritten) {
    sampleScene scene;
    ribSettings settings;
    settings.featherRibText = " \n";
    EXPECT_NE(ribSettingsProblem(settings, {scene.node}).find("\"featherRibText\" is empty"),
              std::string::npos);
    settings.featherRibText = "Surface \"quillo\"";
    settings.rachisMeshRibText = "";
    EXPECT_EQ(ribSettingsProblem(settings, {scene.node}), "") << "no mesh is written";
    scene.node.rachisRenderAs = rachisAsSubdivisionMesh;
    const std::string problem = ribSettingsProblem(settings, {scene.node});
    EXPECT_NE(problem.find("\"rachisMeshRibText\" is empty"), std::string::npos) << problem;
    EXPECT_NE(problem.find("wing"), std::string::npos) << problem;

    const std::string path = tempPath("empty_shader.rib");
    std::remove(path.c_str());
    std::string why;
    EXPECT_FALSE(exportFeatherRib(path, {scene.node}, settings, &why));
    EXPECT_NE(why.find("cannot write '" + path + "'"), std::string::npos) << why;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FeatherRib, GzipCompressionWritesAGzipFileOfTheSameText) {
    // Enough feathers that the compressed stream spans several buffers.
    sampleScene scene;
    for (int i = 0; i < 300; ++i)
        scene.feathers.push_back(samples::featherAlongX(20, 40, 40));
    ribSettings settings;
    settings.gzipCompression = true;
    settings.exportNormal = true;
    const std::string path = tempPath("scene.rib.gz");
    std::string why;
    ASSERT_TRUE(exportFeatherRib(path, {scene.node}, settings, &why)) << why;
    const std::string raw = readFile(path);
    ASSERT_GT(raw.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 0x1f);
    EXPECT_EQ(static_cast<unsigned char>(raw[1]), 0x8b);
    const std::string text = testrib::gunzip(path);
    EXPECT_EQ(text, ribText(scene, settings));
    EXPECT_LT(raw.size(), text.size() / 3);
    EXPECT_EQ(named(readRib(text), "Curves").size(), 2u * scene.feathers.size());
    std::remove(path.c_str());
}

TEST(FeatherRib, DelayedReadArchivesHoldEachNodeWithinTheBoundTheMainFileGives) {
    namespace fs = std::filesystem;
    const fs::path folder = tempPath("archives");
    fs::remove_all(folder);
    fs::create_directories(folder / "parts");
    sampleScene scene;
    sampleScene other;
    other.node.name = "tail|shape";
    other.feathers.pop_back();
    // A name made safe into the same file name as the previous node's gets a file of its own.
    sampleScene clash;
    clash.node.name = "tail:shape";
    ribSettings settings;
    settings.delayReadArchive = true;
    settings.relativePath = true;
    settings.tempFileDir = "parts";
    const std::string main = (folder / "scene.rib").string();
    std::string why;
    ASSERT_TRUE(exportFeatherRib(main, {scene.node, other.node, clash.node}, settings, &why))
        << why;
    const std::string stem = archiveStem(main);
    const auto archive = [&](unsigned int number, const std::string& node) {
        return archivePath("parts/", stem, number, node);
    };

    const std::vector<Request> requests = readRib(readFile(main));
    const auto procedurals = named(requests, "Procedural");
    ASSERT_EQ(procedurals.size(), 3u);
    EXPECT_EQ(procedurals[0]->args[0].text, "DelayedReadArchive");
    EXPECT_EQ(procedurals[0]->args[1].strings.at(0), archive(1, "wing"));
    EXPECT_EQ(procedurals[1]->args[1].strings.at(0), archive(1, "tail_shape"));
    EXPECT_EQ(procedurals[2]->args[1].strings.at(0), archive(1, "tail_shape_2"));
    EXPECT_EQ(
        named(readRib(readFile((folder / archive(1, "tail_shape")).string())), "Curves").size(), 2u)
        << "the first node's one feather, not overwritten by the second";
    const std::vector<double>& bound = procedurals[0]->args[2].numbers;
    ASSERT_EQ(bound.size(), 6u);
    // Every point of the node, widths included, lies in the bound.
    const std::vector<Request> wing = readRib(readFile((folder / archive(1, "wing")).string()));
    const auto curves = named(wing, "Curves");
    ASSERT_EQ(curves.size(), 4u);
    for (const Request* c : curves) {
        const std::vector<double>& p = c->param("P")->numbers;
        for (size_t i = 0; i < p.size(); ++i) {
            const int axis = static_cast<int>(i % 3);
            EXPECT_GE(p[i], bound[2 * axis]) << "axis " << axis;
            EXPECT_LE(p[i], bound[2 * axis + 1]) << "axis " << axis;
        }
    }
    EXPECT_LE(bound[2], -1.0) << "the widest barbule (2) reaches 1 below the feather's plane";
    // ... and no further: the points span y = 0 only, so the reach is the whole margin.
    EXPECT_DOUBLE_EQ(bound[2], -1.0);
    EXPECT_DOUBLE_EQ(bound[3], 1.0);

    settings.relativePath = false;
    settings.gzipCompression = true;
    ASSERT_TRUE(exportFeatherRib(main, {scene.node}, settings, &why)) << why;
    const std::vector<Request> mainRequests = readRib(testrib::gunzip(main));
    const auto absolute = named(mainRequests, "Procedural");
    ASSERT_EQ(absolute.size(), 1u);
    const std::string reference = absolute[0]->args[1].strings.at(0);
    EXPECT_EQ(reference, fs::weakly_canonical(folder / archive(2, "wing")).string());
    EXPECT_EQ(named(readRib(testrib::gunzip(reference)), "Curves").size(), 4u);
    fs::remove_all(folder);
}

// Every file in a folder with its content.
std::map<std::string, std::string> folderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = readFile(entry.path().string());
    return files;
}

TEST(FeatherRib, AFailedMainFileTakesItsArchivesAlongOnlyWhenTempFilesAreDeleted) {
    namespace fs = std::filesystem;
    const fs::path folder = tempPath("failed_archives");
    fs::remove_all(folder);
    fs::create_directories(folder);
    sampleScene scene;
    ribSettings settings;
    settings.delayReadArchive = true;
    settings.tempFileDir = folder.string();
    const std::string main = (folder / "missing" / "scene.rib").string();
    std::string why;
    EXPECT_FALSE(exportFeatherRib(main, {scene.node}, settings, &why));
    EXPECT_NE(why.find("cannot write '" + main + "'"), std::string::npos) << why;
    EXPECT_TRUE(folderFiles(folder).empty());
    settings.deleteTempFile = false;
    EXPECT_FALSE(exportFeatherRib(main, {scene.node}, settings, &why));
    EXPECT_TRUE(fs::exists(archivePath(folder.string() + "/", archiveStem(main), 1, "wing")));
    fs::remove_all(folder);
}

TEST(FeatherRib, ArchivesAreAUnitWithTheirMainFile) {
    namespace fs = std::filesystem;
    const fs::path folder = tempPath("archive_unit");
    fs::remove_all(folder);
    fs::create_directories(folder / "shotA");
    fs::create_directories(folder / "shotB");
    fs::create_directories(folder / "temp");
    ribSettings settings;
    settings.delayReadArchive = true;
    settings.tempFileDir = (folder / "temp").string();
    sampleScene a, b;
    b.feathers.pop_back();
    const std::string mainA = (folder / "shotA" / "feathers.rib").string();
    const std::string mainB = (folder / "shotB" / "feathers.rib").string();
    std::string why;
    ASSERT_TRUE(exportFeatherRib(mainA, {a.node}, settings, &why)) << why;
    ASSERT_TRUE(exportFeatherRib(mainB, {b.node}, settings, &why)) << why;
    // Two shots of one file name never share archives: each main file names its own feathers.
    const auto namedArchive = [&](const std::string& main) {
        return named(readRib(readFile(main)), "Procedural").at(0)->args[1].strings.at(0);
    };
    EXPECT_NE(namedArchive(mainA), namedArchive(mainB));
    EXPECT_EQ(named(readRib(readFile(namedArchive(mainA))), "Curves").size(), 4u);
    EXPECT_EQ(named(readRib(readFile(namedArchive(mainB))), "Curves").size(), 2u);

    // A re-export whose main file cannot be written (a 4 KB file-size limit: the archives fit,
    // the main file of 60 nodes does not) leaves the main file and what it names as they were,
    // and removes what it wrote.
    std::vector<featherExportNode> many;
    std::vector<featherGeometry> none;
    for (int n = 0; n < 60; ++n) {
        featherExportNode node = a.node;
        node.name = "node" + std::to_string(n);
        node.feathers = &none;
        many.push_back(node);
    }
    ASSERT_TRUE(exportFeatherRib(mainA, many, settings, &why)) << why;
    const auto before = folderFiles(folder / "temp");
    const std::string mainBefore = readFile(mainA);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string reason;
        _exit(!exportFeatherRib(mainA, many, settings, &reason) &&
                      reason.find("File too large") != std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    EXPECT_EQ(readFile(mainA), mainBefore);
    EXPECT_EQ(folderFiles(folder / "temp"), before);

    // A successful re-export switches to new archives, then drops the ones nobody names.
    ASSERT_TRUE(exportFeatherRib(mainA, {a.node}, settings, &why)) << why;
    const std::string stemA = archiveStem(mainA);
    EXPECT_EQ(archiveExportNumbers((folder / "temp/").string(), stemA),
              std::vector<unsigned int>{3});
    EXPECT_EQ(fs::path(namedArchive(mainA)).filename(),
              fs::path(archivePath("", stemA, 3, "wing")));
    EXPECT_EQ(folderFiles(folder / "temp").size(), 2u) << "shot A's wing and shot B's wing";
    fs::remove_all(folder);
}

TEST(FeatherRib, TheTempFolderExpandsPercentTempAndFollowsTheMainFile) {
    const char* saved = std::getenv("TMPDIR");
    const std::string restore = saved ? saved : "";
    setenv("TMPDIR", "/scratch/t", 1);
    EXPECT_EQ(archiveFolder("%temp%", "/a/b.rib"), "/scratch/t/");
    EXPECT_EQ(archiveFolder("%TEMP%/quillo", "/a/b.rib"), "/scratch/t/quillo/");
    unsetenv("TMPDIR");
    EXPECT_EQ(archiveFolder("%temp%", "/a/b.rib"), "/tmp/");
    EXPECT_EQ(archiveFolder("", "/a/b.rib"), "/a/");
    EXPECT_EQ(archiveFolder("ribs", "/a/b.rib"), "/a/ribs/");
    EXPECT_EQ(archiveFolder("/abs/", "/a/b.rib"), "/abs/");
    EXPECT_EQ(archiveFolder("", "b.rib"), "");
    if (saved)
        setenv("TMPDIR", restore.c_str(), 1);
}

TEST(FeatherRib, NamesAreQuotedAndNonFiniteValuesNeverReachTheFile) {
    EXPECT_EQ(ribString("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(finiteFloatText(0.1f), "0.1");
    EXPECT_EQ(finiteFloatText(std::numeric_limits<float>::quiet_NaN()), "0");
    sampleScene scene;
    scene.node.name = "odd \"name\"";
    scene.feathers[0].leftBarbules[0][1].x = std::numeric_limits<float>::infinity();
    const std::vector<Request> requests = readRib(ribText(scene, ribSettings()));
    EXPECT_EQ(named(requests, "Attribute")[0]->args[2].strings.at(0), "odd \"name\"");
}

} // namespace
