#include "export/outputFile.h"

#include "export/gzipStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

std::string folderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeContent(std::ostream& out, bool gzip, const fileContent& content) {
    if (!gzip)
        return content(out) && out.flush().good();
    gzipStreamBuf zipped(out);
    std::ostream compressed(&zipped);
    const bool written = content(compressed) && compressed.good();
    return zipped.finish() && written;
}

namespace {

std::string systemMessage(int error, const char* fallback) {
    return error ? std::strerror(error) : fallback;
}

// Writes the file at `path` itself, which must exist or be creatable.
bool writeInPlace(const std::string& path, bool gzip, const fileContent& content,
                  std::string* why) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        *why = systemMessage(errno, "the file could not be opened");
        return false;
    }
    bool written = writeContent(out, gzip, content);
    int error = errno;
    out.close();
    if (written && out.fail()) {
        written = false;
        error = errno;
    }
    if (!written)
        *why = systemMessage(error, "the file could not be written");
    return written;
}

} // namespace

bool writeFileAtomically(const std::string& path, bool gzip, const fileContent& content,
                         std::string* why) {
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            *why = "it is a folder";
            return false;
        }
        if (!S_ISREG(existing.st_mode))
            return writeInPlace(path, gzip, content, why);
    }

    const std::string folder = folderOf(path);
    std::string temporary = folder + "." + fileNameOf(path) + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    temporary = name.data();
    // mkstemp makes the file private; the export gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    if (!writeInPlace(temporary, gzip, content, why)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        *why = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
