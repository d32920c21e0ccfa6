#include "export/outputFile.h"

#include "export/descriptorStream.h"
#include "export/gzipStream.h"
#include "export/temporaryFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// As the kernel's own limit on links in one lookup.
constexpr int maxLinks = 40;

std::string reason(int error) {
    return std::strerror(error);
}

// The permissions, owner and group the new file takes over from the one it replaces.
bool takeOver(int fd, const struct stat& replaced, std::string* why) {
    struct stat own;
    if (fstat(fd, &own) == 0 && (own.st_uid != replaced.st_uid || own.st_gid != replaced.st_gid)) {
        // Only a privileged process may give a file away; the group alone may still be allowed.
        if (fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
            (void)!fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    }
    // After fchown, which clears set-user-ID and set-group-ID bits.
    if (fchmod(fd, replaced.st_mode & 07777) != 0) {
        *why = "setting the permissions of the new file failed: " + reason(errno);
        return false;
    }
    return true;
}

bool takeUsualPermissions(int fd, std::string* why) {
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(fd, 0666 & ~mask) != 0) {
        *why = "setting the permissions of the new file failed: " + reason(errno);
        return false;
    }
    return true;
}

} // namespace

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
    return zipped.finish() && written && out.flush().good();
}

std::string specialFileProblem(unsigned int mode) {
    if (S_ISREG(mode))
        return std::string();
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    if (S_ISFIFO(mode))
        return "it is a FIFO (named pipe), not a regular file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a regular file";
    return "it is not a regular file";
}

bool resolveOutputPath(const std::string& path, std::string& target, std::string* why) {
    target = path;
    for (int links = 0;; ++links) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true; // a missing file is created; other lookup errors show when writing
        if (links == maxLinks) {
            *why = "following its symbolic links failed: " + reason(ELOOP);
            return false;
        }
        std::vector<char> text(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
        const ssize_t length = readlink(target.c_str(), text.data(), text.size());
        if (length < 0 || static_cast<size_t>(length) >= text.size()) {
            *why = "reading the symbolic link '" + target +
                   "' failed: " + reason(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string next(text.data(), static_cast<size_t>(length));
        target = next[0] == '/' ? next : folderOf(target) + next;
    }
}

bool writeFileAtomically(const std::string& path, const descriptorContent& content,
                         std::string* why) {
    std::string target;
    if (!resolveOutputPath(path, target, why))
        return false;
    struct stat existing;
    const bool replacing = stat(target.c_str(), &existing) == 0;
    if (replacing) {
        const std::string problem = specialFileProblem(existing.st_mode);
        if (!problem.empty()) {
            *why = problem;
            return false;
        }
    } else if (errno != ENOENT) {
        *why = "looking it up failed: " + reason(errno);
        return false;
    }

    const std::string folder = folderOf(target);
    std::string temporary;
    const int fd = createTemporaryFile(folder, temporary);
    if (fd < 0) {
        *why = "cannot create a temporary file in the folder '" + (folder.empty() ? "." : folder) +
               "': " + reason(errno);
        return false;
    }
    bool written = replacing ? takeOver(fd, existing, why) : takeUsualPermissions(fd, why);
    written = written && content(fd, why);
    if (written && fsync(fd) != 0) {
        *why = "writing failed: " + reason(errno);
        written = false;
    }
    if (close(fd) != 0 && written) {
        *why = "writing failed: " + reason(errno);
        written = false;
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) != 0) {
        *why = "renaming the temporary file '" + temporary + "' over it failed: " + reason(errno);
        written = false;
    }
    releaseTemporaryFile(temporary, !written);
    return written;
}

bool writeFileAtomically(const std::string& path, bool gzip, const fileContent& content,
                         std::string* why) {
    return writeFileAtomically(
        path,
        [&](int fd, std::string* reasonOut) {
            descriptorStreamBuf buffer(fd);
            std::ostream out(&buffer);
            if (writeContent(out, gzip, content))
                return true;
            *reasonOut = buffer.error() ? "writing failed: " + reason(buffer.error())
                                        : std::string("the content could not be written");
            return false;
        },
        why);
}
