#include "programPaths.h"

#include <unistd.h>

#include <vector>

namespace quillo {

std::string programDirectory() {
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer.data(), static_cast<size_t>(length));
    return path.substr(0, path.find_last_of('/'));
}

std::string defaultPluginPath() {
    return programDirectory() + "/../lib/quillo2013.so";
}

std::string pluginName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.find('.'));
}

} // namespace quillo
