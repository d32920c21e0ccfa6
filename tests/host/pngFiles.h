#pragma once
// Writes a test image as a PNG file (the host encodes, the caller writes the bytes).

#include <host/image.h>

#include <fstream>
#include <string>
#include <vector>

inline bool writeTestPng(const std::string& path, const host::Image& image) {
    std::vector<unsigned char> bytes;
    std::string why;
    if (!host::encodePng(image, bytes, &why))
        return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out.good();
}
