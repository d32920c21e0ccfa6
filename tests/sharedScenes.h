#pragma once
// The real Maya files kept beside the repository, in ../shared/scenes/maya. CI always has them;
// a clone in a folder of its own does not, and the tests that read them then skip, naming the
// folder they looked for.

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

inline std::string sharedScenesFolder() {
    return std::string(QUILLO_SOURCE_DIR) + "/../shared/scenes/maya";
}

inline std::string sharedScenePath(const std::string& name) {
    return sharedScenesFolder() + "/" + name;
}

inline bool sharedScenesPresent() {
    struct stat info {};
    return stat(sharedScenesFolder().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// First statement of a test (or of a fixture's SetUp) that reads the shared scenes.
#define SKIP_WITHOUT_SHARED_SCENES()                                                               \
    if (!sharedScenesPresent())                                                                    \
    GTEST_SKIP() << "the real Maya scenes are not here: " << sharedScenesFolder()                  \
                 << " is missing (it sits beside the repository)"
