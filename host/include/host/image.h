#pragma once
// Images the host draws and reads: 8-bit RGBA pixels, and PNG files. Failures are reported
// through MGlobal::displayError, naming the file, and returned as a status.

#include <maya/MStatus.h>

#include <cstddef>
#include <string>
#include <vector>

namespace host {

struct Image {
    int width = 0;
    int height = 0;
    // Four bytes a pixel (red, green, blue, alpha), rows from the top of the picture.
    std::vector<unsigned char> pixels;

    const unsigned char* pixel(int x, int y) const {
        return pixels.data() +
               (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
};

// Writes an 8-bit RGBA PNG. An image without pixels, or one whose pixel count does not match
// its size, is refused with kInvalidParameter.
MStatus writePng(const std::string& path, const Image& image);
// Reads any PNG libpng reads, converted to 8-bit RGBA.
MStatus readPng(const std::string& path, Image& image);

} // namespace host
