// The JSON export of feathers built from a fuzzed description: the document must parse, and
// every array must hold what the feathers hold.

#include "fuzzDescription.h"
#include "fuzzSupport.h"

#include "jsonReader.h"

#include "export/featherJson.h"

#include <sstream>

namespace {

using fuzz::check;

void checkMesh(const testjson::Value& mesh, const featherMeshData& data, const char* which) {
    const std::string name = which;
    check(mesh["points"].size() == data.points.length(), name + ": one point per vertex");
    check(mesh["polygonConnects"].size() == data.polygonConnects.length(),
          name + ": every face-vertex written");
    check(mesh["uvIds"].size() == data.uvIds.length(), name + ": every uv id written");
    check(mesh["polygonCounts"].size() == data.polygonCounts.length(),
          name + ": every face written");
    check(mesh["u"].size() == data.uArray.length() && mesh["v"].size() == data.vArray.length(),
          name + ": every uv written");
}

void checkSide(const testjson::Value& side, const std::vector<MFloatPointArray>& curves,
               const char* which) {
    const std::string name = which;
    check(side["curves"].size() == curves.size(), name + ": one curve per barbule");
    for (size_t c = 0; c < curves.size(); ++c)
        check(side["curves"][c]["points"].size() == curves[c].length(),
              name + ": every point of a barbule written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::fuzzedFeathers built;
    fuzz::buildFuzzedFeathers(in, built);

    featherJsonNode node;
    node.name = built.node.name;
    node.type = built.node.type;
    node.feathers = in.ConsumeIntegralInRange(0, 7) == 0 ? nullptr : &built.feathers;
    std::ostringstream out;
    check(writeFeatherJson(out, {node}), "the JSON writer fails on a memory stream");

    testjson::Value document;
    testjson::Reader reader;
    const std::string text = out.str();
    check(reader.parse(text, document),
          "not JSON at offset " + std::to_string(reader.where()) + ": " +
              text.substr(reader.where() > 40 ? reader.where() - 40 : 0, 80));
    const testjson::Value& written = document["nodes"][0];
    check(written["name"].text == node.name, "the node name reads back as given");
    const size_t expected = node.feathers ? built.feathers.size() : 0;
    check(written["feathers"].size() == expected, "one object per feather");
    for (size_t f = 0; f < expected; ++f) {
        const featherGeometry& g = built.feathers[f];
        const testjson::Value& feather = written["feathers"][f];
        check(feather["name"].text == g.name.asChar(), "the feather name reads back as given");
        check(feather["rachis"]["points"].size() == g.rachisPoints.length(),
              "every rachis point written");
        check(feather["rachis"]["thickness"].size() == g.rachisThickness.length(),
              "every rachis thickness written");
        checkSide(feather["left"], g.leftBarbules, "left");
        checkSide(feather["right"], g.rightBarbules, "right");
        check(feather["barbuleThickness"].size() == g.barbuleThickness.length(),
              "every barbule thickness written");
        if (feather.has("rachisMesh"))
            checkMesh(feather["rachisMesh"], g.rachisMesh, "rachisMesh");
        if (feather.has("barbuleMesh"))
            checkMesh(feather["barbuleMesh"], g.barbuleMesh, "barbuleMesh");
    }
    return 0;
}
