#pragma once
// The files an open scene reads, so that no command writes its output over one of them: the
// scene file itself, the files its references read, every texture a file node reads
// ("fileTextureName") and every UV info file a feather system names ("uviFile").

#include <string>
#include <vector>

namespace quillo {

struct SceneInput {
    std::string path;
    std::string role; // "the scene being read", "the texture of file1", ...
};

// The scene's inputs, the scene file first.
std::vector<SceneInput> sceneInputs(const std::string& scenePath);

// Why `output` must not be written ("" when it may): it is one of the inputs. Files are
// compared themselves (device and inode, links followed, as the writers follow them), so any
// other name of an input counts too. An output that does not exist yet is no input.
std::string outputIsInput(const std::string& output, const std::vector<SceneInput>& inputs);

} // namespace quillo
