#include "foundation/filesBeingRead.h"

#include <sys/stat.h>

#include <vector>

namespace host {

namespace {

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    std::string path; // when the file cannot be asked (it is then refused by its reader)
    bool operator==(const Identity& other) const {
        return path.empty() ? other.path.empty() && device == other.device && inode == other.inode
                            : path == other.path;
    }
};

std::vector<Identity>& reading() {
    static std::vector<Identity> files;
    return files;
}

Identity identityOf(const std::string& path) {
    Identity identity;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
    } else {
        identity.path = path;
    }
    return identity;
}

} // namespace

FileBeingRead::FileBeingRead(const std::string& path) {
    std::vector<Identity>& files = reading();
    const Identity identity = identityOf(path);
    for (const Identity& open : files)
        if (open == identity) {
            error_ = "'" + path +
                     "' is already being read (a file cannot open, import or source itself).";
            return;
        }
    if (files.size() >= static_cast<size_t>(kMaxNestedFiles)) {
        error_ = "'" + path + "' would nest files that open, import or source one another " +
                 "more than " + std::to_string(kMaxNestedFiles) + " deep.";
        return;
    }
    files.push_back(identity);
}

FileBeingRead::~FileBeingRead() {
    if (!refused())
        reading().pop_back();
}

} // namespace host
