// The UV info file: whatever the bytes, the reader either refuses them, leaving the lists
// empty, or returns exactly the positions (and face ids) its header announces.

#include "fuzzSupport.h"

#include "nodes/system/uvInfoFile.h"

#include <host/messages.h>

#include <cstdint>
#include <cstring>

namespace {

int32_t headerInt(const uint8_t* bytes) {
    const uint32_t raw = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                         static_cast<uint32_t>(bytes[2]) << 16 |
                         static_cast<uint32_t>(bytes[3]) << 24;
    int32_t value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzz::scratchFile(".uvinfo");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    MFloatArray u, v;
    MIntArray faceIds;
    bool ok;
    {
        host::MessageCapture quiet;
        ok = readUVInfoFile(MString(path.c_str()), u, v, faceIds);
        fuzz::check(ok || quiet.count(host::MessageKind::kError) == 1,
                    "a refused file shows exactly one error");
    }
    if (!ok) {
        fuzz::check(u.length() == 0 && v.length() == 0 && faceIds.length() == 0,
                    "a refused file leaves the lists untouched");
        return 0;
    }
    fuzz::check(size >= 8, "a file shorter than its header is refused");
    const int32_t count = headerInt(data);
    const bool hasFaceIds = headerInt(data + 4) == 1;
    fuzz::check(count >= 0, "a negative count is refused");
    const uint64_t needed = 8 + static_cast<uint64_t>(count) * (hasFaceIds ? 20 : 16);
    fuzz::check(needed <= size, "a file shorter than its count announces is refused");
    fuzz::check(u.length() == static_cast<unsigned int>(count) &&
                    v.length() == static_cast<unsigned int>(count),
                "one u and one v per announced position");
    fuzz::check(faceIds.length() == (hasFaceIds ? static_cast<unsigned int>(count) : 0u),
                "face ids exactly when the header says so");
    if (count > 0 && hasFaceIds)
        fuzz::check(faceIds[0] == headerInt(data + 8), "face ids kept as written");
    return 0;
}
