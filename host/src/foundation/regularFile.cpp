#include "foundation/regularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace host {

namespace {

std::string notRegular(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a FIFO (named pipe), not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a regular file";
    return "it is not a regular file";
}

} // namespace

int openRegularFile(const std::string& path, std::string* why) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // A socket cannot be opened at all (ENXIO); say what it is rather than that.
        struct stat info;
        *why = stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) ? notRegular(info.st_mode)
                                                                        : std::strerror(error);
        return -1;
    }
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        *why = known ? notRegular(info.st_mode) : std::string(std::strerror(errno));
        close(fd);
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool readRegularFile(const std::string& path, std::string& bytes, std::string* why) {
    const int fd = openRegularFile(path, why);
    if (fd < 0)
        return false;
    bytes.clear();
    char buffer[1 << 16];
    while (true) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            *why = std::strerror(errno);
            close(fd);
            return false;
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    return true;
}

} // namespace host
