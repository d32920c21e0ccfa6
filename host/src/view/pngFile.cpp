// PNG files through libpng's simplified interface: whole images, 8-bit RGBA in memory.

#include <host/image.h>

#include "foundation/regularFile.h"

#include <maya/MGlobal.h>

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace host {

namespace {

const unsigned long long maxPixels = 1ull << 28;

MStatus fail(const std::string& message, MStatus status = MS::kFailure) {
    MGlobal::displayError(message.c_str());
    return status;
}

} // namespace

bool encodePng(const Image& image, std::vector<unsigned char>& bytes, std::string* why) {
    const size_t expected = static_cast<size_t>(image.width > 0 ? image.width : 0) *
                            static_cast<size_t>(image.height > 0 ? image.height : 0) * 4;
    if (expected == 0 || image.pixels.size() != expected) {
        *why = "the image is " + std::to_string(image.width) + "x" + std::to_string(image.height) +
               " with " + std::to_string(image.pixels.size()) + " bytes of pixels";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    // The most a PNG of this image can take, so that it is compressed once.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    bytes.resize(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels.data(), 0, nullptr)) {
        *why = std::string("libpng failed: ") + png.message;
        png_image_free(&png);
        bytes.clear();
        return false;
    }
    bytes.resize(size);
    return true;
}

MStatus readPng(const std::string& path, Image& image) {
    std::string why;
    const int fd = openRegularFile(path, &why);
    if (fd < 0)
        return fail("Cannot read the image '" + path + "': " + why + ".");
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return fail("Cannot read the image '" + path + "': " + std::strerror(errno) + ".");
    }
    // Closes the file on every way out; libpng only reads from it.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&png, file))
        return fail("Cannot read the image '" + path + "': " + png.message);
    png.format = PNG_FORMAT_RGBA;
    // Refused before anything is allocated for it: no image the host uses comes near this.
    if (static_cast<unsigned long long>(png.width) * png.height > maxPixels) {
        png_image_free(&png);
        return fail("Cannot read the image '" + path + "': " + std::to_string(png.width) + "x" +
                    std::to_string(png.height) + " pixels is more than the host reads.");
    }
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        std::string message = png.message;
        png_image_free(&png);
        return fail("Cannot read the image '" + path + "': " + message);
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels = std::move(pixels);
    return MS::kSuccess;
}

} // namespace host
