#include "fuzzSupport.h"

#include <host/mel.h>
#include <host/messages.h>

#include <maya/MObject.h>

#include "plugin/plugin.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <unistd.h>

extern "C" MStatus initializePlugin(MObject obj);

namespace fuzz {

void loadPlugin() {
    static MObject plugin;
    if (!plugin.isNull())
        return;
    host::addScriptPath(QUILLO_SOURCE_DIR "/mel");
    plugin = MObject(std::make_shared<host::Plugin>());
    host::MessageCapture quiet;
    host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
    const MStatus status = initializePlugin(plugin);
    host::Plugin::setActive(nullptr);
    check(status == MS::kSuccess, "the plug-in does not initialise");
}

const std::string& scratchFile(const std::string& suffix) {
    static std::string path;
    if (path.empty()) {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir && *dir ? dir : "/tmp") + "/quillo_fuzz_" +
               std::to_string(getpid()) + suffix;
        std::atexit([] { std::remove(path.c_str()); });
    }
    return path;
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

void check(bool condition, const std::string& what) {
    if (!condition)
        fail(what);
}

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzz
