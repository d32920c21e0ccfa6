// Scene files with hostile values, opened by the real program: every numeric attribute of the
// feather node and the feather system at the ends of what a number can be, NaN and infinity
// written out, texts of a megabyte and bytes that are not UTF-8. quillo must neither crash nor
// hang: it reads, warns or names the bad line, and still draws.

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string guidesScene = QUILLO_SOURCE_DIR "/examples/featherGuides.ma";

// Numeric attributes by short name; compounds with their value count.
const char* const featherNumbers[] = {"dispqua",
                                      "disas",
                                      "uniwi",
                                      "multiInst",
                                      "active",
                                      "render",
                                      "curvetype",
                                      "surfea",
                                      "dir",
                                      "rachra",
                                      "racseg",
                                      "racpos",
                                      "racsides",
                                      "racthick",
                                      "racstart",
                                      "racend",
                                      "barn",
                                      "forceperseg",
                                      "turnaf",
                                      "rotdeg",
                                      "racnoisefre",
                                      "barnoisefre",
                                      "updowl",
                                      "kbsd",
                                      "bargapth",
                                      "bargapf",
                                      "bargapp",
                                      "bargs",
                                      "kbp1",
                                      "kbp2",
                                      "kbp3",
                                      "kbp4",
                                      "kbsa1",
                                      "kbsa2",
                                      "kbsa3",
                                      "kbsa4",
                                      "barls",
                                      "shapesym",
                                      "bars",
                                      "barl",
                                      "barth",
                                      "barrath",
                                      "updown",
                                      "randseed",
                                      "dispPBB",
                                      "uvprosc",
                                      "protuv",
                                      "autoct",
                                      "fadestart",
                                      "rooto",
                                      "tipo",
                                      "bardif",
                                      "barsp",
                                      "bargl",
                                      "selfshadow",
                                      "huevar",
                                      "satvar",
                                      "valvar",
                                      "varfreq",
                                      "outfeamesh",
                                      "combbarb",
                                      "barlenth",
                                      "barden[0].barden_Position",
                                      "barden[0].barden_FloatValue",
                                      "barden[0].barden_Interp",
                                      "lbarbls[1].lbarbls_Position",
                                      "gsinf[0].gsurid"};
const char* const featherTriples[] = {"pbbs", "rtc", "tpc", "mainc", "barspecc", "rartc", "rattc"};
const char* const featherTexts[] = {"barcoltex", "texpro", "prefr", "postfr", "prefmr", "postfmr"};
const char* const systemNumbers[] = {
    "active",    "dispqua",     "dispbarqua", "renqua",     "uuvi",      "useg",      "vseg",
    "jitterdis", "jitterfre",   "gpf",        "gloalScale", "randScale", "radius",    "power",
    "scaleTex",  "baldnessTex", "radiusTex",  "rands",      "dispPBB",   "outfeamesh"};
const char* const systemTexts[] = {"uvif", "uvsn"};

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "quillo_hostile_" + std::to_string(::getpid()) + "_" + name;
}

// The example scene with every numeric attribute of its feather node and system set to
// `value` (as written in the file) and the texts set to `text`.
std::string hostileScene(const std::string& value, const std::string& text) {
    std::ostringstream scene;
    scene << std::ifstream(guidesScene).rdbuf();
    for (const char* name : featherNumbers)
        scene << "setAttr \"quilloShape." << name << "\" " << value << ";\n";
    for (const char* name : featherTriples)
        scene << "setAttr \"quilloShape." << name << "\" -type \"double3\" " << value << ' '
              << value << ' ' << value << ";\n";
    scene << "setAttr \"quilloShape.noisephase\" -type \"double2\" " << value << ' ' << value
          << ";\nsetAttr \"quilloShape.gsinf[0].guv\" -type \"float2\" " << value << ' ' << value
          << ";\n";
    for (const char* name : systemNumbers)
        scene << "setAttr \"quilloSystemShape1." << name << "\" " << value << ";\n";
    scene << "setAttr \"quilloSystemShape1.uvOffset\" -type \"double2\" " << value << ' ' << value
          << ";\n";
    for (const char* name : featherTexts)
        scene << "setAttr \"quilloShape." << name << "\" -type \"string\" \"" << text << "\";\n";
    for (const char* name : systemTexts)
        scene << "setAttr \"quilloSystemShape1." << name << "\" -type \"string\" \"" << text
              << "\";\n";
    return scene.str();
}

// Neither a sanitizer report nor a signal: the program ended by itself.
void expectCleanExit(const RunResult& run, const std::string& what) {
    EXPECT_GE(run.exitCode, 0) << what << "\n" << run.output.substr(0, 4000);
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << what << "\n" << run.output;
    EXPECT_EQ(run.output.find("runtime error"), std::string::npos) << what << "\n" << run.output;
}

TEST(QuilloHostileScene, FiniteExtremesAreReadClampedAndDrawn) {
    const std::string megabyte(1 << 20, 'q');
    const std::string invalidUtf8 = "\xff\xfe\xc3\x28\xa0\xa1\xe2\x28\xa1\xf0\x28\x8c\xbc";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1e308", megabyte},
        {"-1e308", invalidUtf8},
        {"2147483647", "0:4294967295"},
        {"-2147483648", ""},
        {"3.4e38", "%s%n%x"},
        {"4.9e-324", "\\\\"},
        {"99999999999999999999", "map1"}};
    const std::string scene = tempPath("finite.ma"), image = tempPath("finite.png");
    for (const auto& [value, text] : cases) {
        const std::string what = "value " + value + ", text of " + std::to_string(text.size());
        std::ofstream(scene, std::ios::binary) << hostileScene(value, text);
        RunResult run = runQuillo("render " + scene + " -o " + image + " --size 32x24");
        expectCleanExit(run, what);
        // Values a build refuses fail it, and then the last line names the nodes.
        if (run.exitCode == 6)
            EXPECT_NE(run.output.find("failed to build"), std::string::npos) << what;
        else
            EXPECT_EQ(run.exitCode, 0) << what << "\n" << run.output.substr(0, 4000);
        EXPECT_TRUE(std::ifstream(image).good()) << what;
        std::remove(image.c_str());
        run = runQuillo("info " + scene);
        expectCleanExit(run, what);
        EXPECT_NE(run.output.find("quilloSystemShape1"), std::string::npos) << what;
    }
    std::remove(scene.c_str());
}

TEST(QuilloHostileScene, NotANumberAndInfinityAreRefusedByLineAndTheRestIsDrawn) {
    const std::string scene = tempPath("nonfinite.ma"), image = tempPath("nonfinite.png");
    for (const char* value : {"nan", "inf", "-inf", "1e999", "-1e999"}) {
        std::ofstream(scene, std::ios::binary) << hostileScene(value, "text");
        const RunResult run = runQuillo("render " + scene + " -o " + image + " --size 32x24");
        expectCleanExit(run, value);
        EXPECT_EQ(run.exitCode, 3) << value << "\n" << run.output.substr(0, 4000);
        // The first numeric line after the example's own is named with its file and line.
        std::ifstream example(guidesScene);
        int lines = 0;
        for (std::string line; std::getline(example, line);)
            ++lines;
        EXPECT_NE(run.output.find(scene + " line " + std::to_string(lines + 1)), std::string::npos)
            << value << "\n"
            << run.output.substr(0, 4000);
        EXPECT_TRUE(std::ifstream(image).good()) << value;
        std::remove(image.c_str());
    }
    std::remove(scene.c_str());
}

} // namespace
