// A Maya ASCII scene file, opened into a fresh scene with the plug-in's node types registered,
// then imported on top of itself (every name clashes). Bad files must only be reported.

#include "fuzzSupport.h"

#include <host/messages.h>
#include <host/scene.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::loadPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzz::scratchFile(".ma");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    host::MessageCapture quiet;
    host::Scene& scene = host::Scene::current();
    if (scene.openFile(path) == MS::kSuccess)
        scene.importFile(path);
    scene.fileNew();
    return 0;
}
