#include "sceneInputs.h"

#include <host/scene.h>

#include <sys/stat.h>

namespace quillo {

namespace {

// The node types whose string attribute names a file the scene reads.
const struct {
    const char* type;
    const char* attribute;
    const char* what;
} fileReaders[] = {{"file", "fileTextureName", "the texture of "},
                   {"quilloSystem", "uviFile", "the UV info file of "}};

} // namespace

std::vector<SceneInput> sceneInputs(const std::string& scenePath) {
    std::vector<SceneInput> inputs{{scenePath, "the scene being read"}};
    host::Scene& scene = host::Scene::current();
    for (const auto& [reference, file] : scene.referencedFiles())
        inputs.push_back({file, "the file the reference " + reference + " reads"});
    for (const std::string& node : scene.nodeNames())
        for (const auto& reader : fileReaders) {
            std::string path;
            if (scene.typeOf(node) == reader.type &&
                scene.getAttr(node + "." + reader.attribute, path) && !path.empty())
                inputs.push_back({path, reader.what + node});
        }
    return inputs;
}

std::string outputIsInput(const std::string& output, const std::vector<SceneInput>& inputs) {
    struct stat written;
    if (stat(output.c_str(), &written) != 0)
        return std::string();
    for (const SceneInput& input : inputs) {
        struct stat read;
        if (stat(input.path.c_str(), &read) == 0 && read.st_dev == written.st_dev &&
            read.st_ino == written.st_ino)
            return "'" + output + "' is " + input.role + " ('" + input.path + "')";
    }
    return std::string();
}

} // namespace quillo
