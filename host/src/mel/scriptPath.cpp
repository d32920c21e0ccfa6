#include "host/mel.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace host {

namespace {

std::vector<std::string>& addedDirectories() {
    static auto* dirs = new std::vector<std::string>;
    return *dirs;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

} // namespace

void addScriptPath(const std::string& directory) {
    auto& dirs = addedDirectories();
    if (!directory.empty() && std::find(dirs.begin(), dirs.end(), directory) == dirs.end())
        dirs.push_back(directory);
}

std::vector<std::string> scriptPath() {
    std::vector<std::string> result;
    if (const char* env = std::getenv("MAYA_SCRIPT_PATH")) {
        std::string list = env;
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t colon = list.find(':', start);
            if (colon == std::string::npos)
                colon = list.size();
            std::string dir = list.substr(start, colon - start);
            if (!dir.empty() && std::find(result.begin(), result.end(), dir) == result.end())
                result.push_back(dir);
            start = colon + 1;
        }
    }
    for (const std::string& dir : addedDirectories())
        if (std::find(result.begin(), result.end(), dir) == result.end())
            result.push_back(dir);
    return result;
}

std::string findScript(const std::string& fileName) {
    if (fileName.empty())
        return "";
    std::vector<std::string> names{fileName};
    std::size_t slash = fileName.rfind('/');
    std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    if (base.find('.') == std::string::npos)
        names.push_back(fileName + ".mel");
    for (const std::string& name : names) {
        if (name.find('/') != std::string::npos && isFile(name))
            return name;
        if (name[0] == '/')
            continue;
        for (const std::string& dir : scriptPath()) {
            std::string candidate = joinPath(dir, name);
            if (isFile(candidate))
                return candidate;
        }
    }
    return "";
}

} // namespace host
