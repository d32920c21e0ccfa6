// A Maya ASCII scene file, opened into a fresh scene with the plug-in's node types registered,
// then imported on top of itself (every name clashes): first untrusted, as quillo opens scenes,
// then trusted. Bad files must only be reported. Untrusted, nothing but the commands that
// describe a scene may run: the seeds call a sentinel command (directly, through eval, source,
// procedures and blocks) that stops the fuzzer if it ever runs. Trusted, everything runs, and a
// file that opens, imports or sources itself must be refused rather than recurse; the plug-in's
// export command is taken away so that no input writes files.

#include "fuzzSupport.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::loadPlugin();
    host::Scene::registerMelCommands();
    host::deregisterMelCommand("quilloExportFeathers");
    host::registerMelCommand("fuzzSentinel", [](host::MelCall&) {
        fuzz::check(host::Scene::trustsScenes(), "an untrusted scene ran a command it may not");
        return MStatus(MS::kSuccess);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzz::scratchFile(".ma");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    host::MessageCapture quiet;
    host::Scene& scene = host::Scene::current();
    for (bool trusted : {false, true}) {
        host::Scene::setTrustScenes(trusted);
        if (scene.openFile(path) == MS::kSuccess)
            scene.importFile(path);
        scene.fileNew();
    }
    host::Scene::setTrustScenes(false);
    host::melResetSession(); // procedures a trusted file defined
    return 0;
}
