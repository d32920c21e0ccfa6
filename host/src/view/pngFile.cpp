// PNG files through libpng's simplified interface: whole images, 8-bit RGBA in memory.

#include <host/image.h>

#include <maya/MGlobal.h>

#include <png.h>

#include <cstring>

namespace host {

namespace {

const unsigned long long maxPixels = 1ull << 28;

MStatus fail(const std::string& message, MStatus status = MS::kFailure) {
    MGlobal::displayError(message.c_str());
    return status;
}

} // namespace

MStatus writePng(const std::string& path, const Image& image) {
    const size_t expected = static_cast<size_t>(image.width > 0 ? image.width : 0) *
                            static_cast<size_t>(image.height > 0 ? image.height : 0) * 4;
    if (expected == 0 || image.pixels.size() != expected)
        return fail("Cannot write the image '" + path + "': it is " + std::to_string(image.width) +
                        "x" + std::to_string(image.height) + " with " +
                        std::to_string(image.pixels.size()) + " bytes of pixels.",
                    MS::kInvalidParameter);
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr))
        return fail("Cannot write the image '" + path + "': " + png.message);
    return MS::kSuccess;
}

MStatus readPng(const std::string& path, Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
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
