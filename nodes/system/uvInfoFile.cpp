#include "nodes/system/uvInfoFile.h"

#include "feather/buildBudget.h"
#include "feather/buildInputs.h"

#include <maya/MGlobal.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::int64_t headerBytes = 8;

// Little-endian decoding, whatever the byte order of the machine.
std::uint64_t littleEndian(const unsigned char* bytes, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

int readInt32(const unsigned char* bytes) {
    const std::uint32_t raw = static_cast<std::uint32_t>(littleEndian(bytes, 4));
    std::int32_t value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

double readDouble(const unsigned char* bytes) {
    const std::uint64_t raw = littleEndian(bytes, 8);
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void reportBadFile(const std::string& path, const std::string& what) {
    MGlobal::displayError(MString("UV info file ") + path.c_str() + ": " + what.c_str());
}

} // namespace

namespace {

// Positions read and appended per step: what is held is what the file has actually given.
constexpr unsigned int positionsPerChunk = 1u << 16;

// Opens the file without blocking (a FIFO without a writer would block an ordinary open
// forever) and accepts only a regular file, checked on the open descriptor. -1 with *why.
int openRegularFile(const std::string& name, std::string* why) {
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return -1;
    }
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        *why = !known                   ? std::strerror(errno)
               : S_ISDIR(info.st_mode)  ? "it is a folder"
               : S_ISFIFO(info.st_mode) ? "it is a FIFO (named pipe), not a regular file"
                                        : "it is a device or another special file, not a "
                                          "regular file";
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Reads exactly `size` bytes; false at the end of the file or on an error (errno kept).
bool readExactly(int fd, unsigned char* into, size_t size) {
    while (size > 0) {
        const ssize_t count = read(fd, into, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        into += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

// Reads `count` records of `size` bytes, a chunk at a time, handing each to `take`. False at
// an early end of the file (errno 0) or a read error (errno set).
template <class Take> bool readRecords(int fd, unsigned int count, size_t size, Take take) {
    std::vector<unsigned char> chunk;
    for (unsigned int done = 0; done < count;) {
        const unsigned int step = std::min(count - done, positionsPerChunk);
        chunk.resize(step * size);
        errno = 0;
        if (!readExactly(fd, chunk.data(), chunk.size()))
            return false;
        for (unsigned int k = 0; k < step; ++k)
            take(chunk.data() + k * size);
        done += step;
    }
    return true;
}

// Closes the descriptor on every way out.
struct descriptorCloser {
    int fd;
    ~descriptorCloser() { close(fd); }
};

} // namespace

bool readUVInfoFile(const MString& path, MFloatArray& u, MFloatArray& v, MIntArray& faceIds,
                    unsigned long long maxPositions) {
    const std::string name = path.asChar();
    std::string why;
    const int fd = openRegularFile(name, &why);
    if (fd < 0) {
        MGlobal::displayError("Can't open file " + path + ".");
        reportBadFile(name, why + ".");
        return false;
    }
    const descriptorCloser closer{fd};

    // The size first, so that no count the file cannot hold is ever believed.
    struct stat info;
    if (fstat(fd, &info) != 0) {
        reportBadFile(name, std::string("its size cannot be read: ") + std::strerror(errno) + ".");
        return false;
    }
    const std::int64_t size = info.st_size;
    if (size < headerBytes) {
        reportBadFile(name, "too short for its 8-byte header (" + std::to_string(size) +
                                " bytes); expected a count and a face-id flag.");
        return false;
    }

    unsigned char header[headerBytes];
    if (!readExactly(fd, header, headerBytes)) {
        reportBadFile(name,
                      std::string("the header cannot be read: ") + std::strerror(errno) + ".");
        return false;
    }
    const int count = readInt32(header);
    const bool hasFaceIds = readInt32(header + 4) == 1;
    // A negative count is no list a writer could have meant: a corrupt or foreign file, which
    // must not pass as "no roots".
    if (count < 0) {
        reportBadFile(name, "its count of positions is negative (" + std::to_string(count) +
                                "); this is not a UV info file.");
        return false;
    }
    if (count == 0)
        return true;

    // At most 20 * (2^31 - 1) bytes: no overflow in 64 bits.
    const std::int64_t bytesPerPosition = hasFaceIds ? 20 : 16;
    const std::int64_t needed = headerBytes + bytesPerPosition * count;
    if (size < needed) {
        reportBadFile(name, std::to_string(count) + " positions" +
                                (hasFaceIds ? " with face ids" : "") + " need " +
                                std::to_string(needed) + " bytes, the file holds " +
                                std::to_string(size) + ".");
        return false;
    }
    if (static_cast<unsigned long long>(count) > maxPositions) {
        reportBadFile(name, "its " + std::to_string(count) + " positions are more than the " +
                                std::to_string(maxPositions) + " the build budget allows (" +
                                buildBudgetVariable + ").");
        return false;
    }

    // Read in chunks into lists of their own, so that a file that ends early (it shrank, or
    // announced more than a sparse file really holds) leaves the caller's lists untouched.
    const unsigned int n = static_cast<unsigned int>(count);
    MIntArray readIds;
    MFloatArray readU, readV;
    const bool read =
        (!hasFaceIds ||
         readRecords(fd, n, 4, [&](const unsigned char* id) { readIds.append(readInt32(id)); })) &&
        readRecords(fd, n, 16, [&](const unsigned char* uv) {
            readU.append(narrowToFloat(readDouble(uv)));
            readV.append(narrowToFloat(readDouble(uv + 8)));
        });
    if (!read) {
        reportBadFile(name, std::string("reading stopped before the end of the data: ") +
                                (errno ? std::strerror(errno) : "the file ended") + ".");
        return false;
    }
    for (unsigned int k = 0; k < readIds.length(); ++k)
        faceIds.append(readIds[k]);
    for (unsigned int k = 0; k < n; ++k) {
        u.append(readU[k]);
        v.append(readV[k]);
    }
    return true;
}
