#pragma once
// Images the host draws and reads: 8-bit RGBA pixels, PNG bytes and PNG files. Failures to read
// are reported through MGlobal::displayError, naming the file, and returned as a status.
// Writing a file is the caller's: the quillo program writes the bytes under a temporary name
// and renames them into place, so a failed write never destroys an earlier image.

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

// The image as the bytes of an 8-bit RGBA PNG file. False, with *why, for an image without
// pixels or one whose pixel count does not match its size, or when libpng fails.
bool encodePng(const Image& image, std::vector<unsigned char>& bytes, std::string* why);
// Reads any PNG libpng reads, converted to 8-bit RGBA. Only a regular file is read: a folder,
// FIFO or device is refused without blocking.
MStatus readPng(const std::string& path, Image& image);

} // namespace host
