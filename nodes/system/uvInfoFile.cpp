#include "nodes/system/uvInfoFile.h"

#include <maya/MGlobal.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <system_error>
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

// Narrowing a finite double beyond float range is undefined in C++; give it the infinity
// IEEE narrowing would.
float narrow(double value) {
    const double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

void reportBadFile(const std::string& path, const std::string& what) {
    MGlobal::displayError(MString("UV info file ") + path.c_str() + ": " + what.c_str());
}

} // namespace

bool readUVInfoFile(const MString& path, MFloatArray& u, MFloatArray& v, MIntArray& faceIds) {
    const std::string name = path.asChar();
    std::error_code ignored;
    std::ifstream in;
    // A folder opens as a stream on some systems but holds no file data.
    if (!std::filesystem::is_directory(name, ignored))
        in.open(name, std::ios::in | std::ios::binary);
    if (!in.is_open() || !in.good()) {
        MGlobal::displayError("Can't open file " + path + ".");
        return false;
    }

    // The size first, so that nothing the file cannot hold is ever allocated.
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(0, std::ios::beg);
    if (end < 0 || !in.good()) {
        reportBadFile(name, "its size cannot be read.");
        return false;
    }
    const std::int64_t size = end;
    if (size < headerBytes) {
        reportBadFile(name, "too short for its 8-byte header (" + std::to_string(size) +
                                " bytes); expected a count and a face-id flag.");
        return false;
    }

    unsigned char header[headerBytes];
    if (!in.read(reinterpret_cast<char*>(header), headerBytes)) {
        reportBadFile(name, "the header cannot be read.");
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

    std::vector<unsigned char> data(static_cast<std::size_t>(needed - headerBytes));
    if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
        reportBadFile(name, "reading stopped before the end of the data.");
        return false;
    }

    const unsigned int n = static_cast<unsigned int>(count);
    const unsigned char* next = data.data();
    if (hasFaceIds) {
        for (unsigned int k = 0; k < n; ++k, next += 4)
            faceIds.append(readInt32(next));
    }
    for (unsigned int k = 0; k < n; ++k, next += 16) {
        u.append(narrow(readDouble(next)));
        v.append(narrow(readDouble(next + 8)));
    }
    return true;
}
