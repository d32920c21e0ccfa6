// The RIB export of feathers built from a fuzzed description, inline and as a delayed-read
// archive reference: the text must parse as RIB, blocks balanced, and every Curves and
// SubdivisionMesh must hold as many values as its counts announce.

#include "fuzzDescription.h"
#include "fuzzSupport.h"

#include "ribReader.h"

#include "export/featherRib.h"
#include "export/ribFiles.h"

#include <cmath>
#include <sstream>

using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::fuzzedFeathers built;
    fuzz::buildFuzzedFeathers(in, built);

    ribSettings settings;
    settings.exportBarbuleUV = in.ConsumeBool();
    settings.exportSurfaceUV = in.ConsumeBool();
    settings.exportNormal = in.ConsumeBool();
    settings.diceHair = in.ConsumeBool();
    const std::vector<featherExportNode> nodes = {built.node};
    check(ribSettingsProblem(settings, nodes).empty(), "the default shaders are refused");

    std::ostringstream out;
    check(writeFeatherRib(out, nodes, settings), "the RIB writer fails on a memory stream");
    std::vector<testrib::Request> requests;
    std::string error;
    check(testrib::read(out.str(), requests, &error), "inline RIB: " + error);

    // The delayed-read form: a procedural with the node's bound and its archive's name.
    const MBoundingBox bound = ribNodeBound(built.node);
    const std::string folder = archiveFolder(in.ConsumeRandomLengthString(16), "/scene/out.rib");
    const std::string archive =
        archivePath(folder, archiveStem("/scene/out.rib"), 1, built.node.name);
    check(archive.rfind(folder, 0) == 0, "the archive lies in its folder");
    check(archive.find('/', folder.size()) == std::string::npos,
          "a node name cannot lead the archive out of its folder");
    const std::string reference = archiveReference(archive, "/scene/out.rib", in.ConsumeBool());
    std::ostringstream delayed;
    writeDelayedArchiveRib(delayed, built.node.name, reference, bound);
    requests.clear();
    check(testrib::read(delayed.str(), requests, &error), "delayed-read RIB: " + error);
    return 0;
}
