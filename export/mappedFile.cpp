#include "export/mappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

mappedFile::~mappedFile() {
    if (mapped_)
        munmap(const_cast<char*>(data_), size_);
}

mappedFile::mappedFile(mappedFile&& other) noexcept
    : data_(other.data_), size_(other.size_), mapped_(other.mapped_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.mapped_ = false;
}

bool mappedFile::open(const std::string& path, std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        *why = std::strerror(errno);
        close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        close(fd);
        return false;
    }
    size_ = static_cast<size_t>(info.st_size);
    data_ = "";
    if (size_ > 0) {
        void* at = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (at == MAP_FAILED) {
            *why = std::strerror(errno);
            close(fd);
            return false;
        }
        madvise(at, size_, MADV_SEQUENTIAL);
        data_ = static_cast<const char*>(at);
        mapped_ = true;
    }
    close(fd);
    return true;
}
