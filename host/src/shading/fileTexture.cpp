#include "shading/fileTexture.h"

#include "foundation/regularFile.h"
#include "graph/graph.h"
#include "graph/nodeType.h"
#include "shading/textureNode.h"

#include <host/image.h>

#include <maya/MFnTypedAttribute.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

#include <unistd.h>

namespace host {

namespace {

void initializeFileTexture() {
    addTextureAttributes();
    MFnTypedAttribute typed;
    MPxNode::addAttribute(typed.create("fileTextureName", "ftn", MFnData::kString));
}

struct CachedImage {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    Image image;
};

// A handful of images covers any network; beyond that the cache starts again.
constexpr size_t kMaxCachedImages = 16;

std::map<std::string, CachedImage>& imageCache() {
    static std::map<std::string, CachedImage> cache;
    return cache;
}

// Opened without blocking, so a texture path naming a FIFO is refused instead of hanging.
bool isPng(const std::string& path, std::string* why) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const int fd = openRegularFile(path, why);
    if (fd < 0)
        return false;
    char head[8] = {};
    const bool png = read(fd, head, 8) == 8 && std::memcmp(head, signature, 8) == 0;
    close(fd);
    if (!png)
        *why = "it is not a PNG image";
    return png;
}

// Checked here before readPng so that a missing or foreign file gives the sample's one
// warning and nothing else.
const Image* loadImage(const std::string& path, const std::string& node, std::string* error) {
    const std::string where = "the image file '" + path + "' of '" + node + "'";
    std::error_code code;
    if (path.empty()) {
        *error = "'" + node + "' has no image file name";
        return nullptr;
    }
    std::string why;
    if (!isPng(path, &why)) {
        *error = where + " cannot be read: " + why;
        return nullptr;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    const auto modified = std::filesystem::last_write_time(path, code);
    if (code) {
        *error = where + " cannot be read: " + code.message();
        return nullptr;
    }
    auto& cache = imageCache();
    auto it = cache.find(path);
    if (it != cache.end() && it->second.size == size && it->second.modified == modified)
        return &it->second.image;
    CachedImage entry{size, modified, Image{}};
    if (!readPng(path, entry.image) || entry.image.width <= 0 || entry.image.height <= 0) {
        *error = where + " cannot be decoded as a PNG image";
        return nullptr;
    }
    if (cache.size() >= kMaxCachedImages && it == cache.end())
        cache.clear();
    CachedImage& stored = cache[path];
    stored = std::move(entry);
    return &stored.image;
}

int wrapIndex(long long index, int count) {
    long long r = index % count;
    return static_cast<int>(r < 0 ? r + count : r);
}

void texel(const Image& image, int x, int y, float* rgba) {
    const unsigned char* p = image.pixel(x, y);
    for (int k = 0; k < 4; ++k)
        rgba[k] = static_cast<float>(p[k]) / 255.0f;
}

void bilinear(const Image& image, float u, float v, MFloatVector& color, float& alpha) {
    const double fx = static_cast<double>(u) * image.width - 0.5;
    const double fy = (1.0 - static_cast<double>(v)) * image.height - 0.5;
    const double x0 = std::floor(fx), y0 = std::floor(fy);
    const float tx = static_cast<float>(fx - x0), ty = static_cast<float>(fy - y0);
    const int xa = wrapIndex(static_cast<long long>(x0), image.width);
    const int xb = wrapIndex(static_cast<long long>(x0) + 1, image.width);
    const int ya = wrapIndex(static_cast<long long>(y0), image.height);
    const int yb = wrapIndex(static_cast<long long>(y0) + 1, image.height);
    float a[4], b[4], c[4], d[4], result[4];
    texel(image, xa, ya, a);
    texel(image, xb, ya, b);
    texel(image, xa, yb, c);
    texel(image, xb, yb, d);
    for (int k = 0; k < 4; ++k)
        result[k] =
            (a[k] * (1.0f - tx) + b[k] * tx) * (1.0f - ty) + (c[k] * (1.0f - tx) + d[k] * tx) * ty;
    color = MFloatVector(result[0], result[1], result[2]);
    alpha = result[3];
}

MStatus evaluateFileTexture(Node& node, const ShadingInputs&, const TextureCoordinates& uv,
                            std::vector<MFloatVector>& colors, std::vector<float>& alphas,
                            std::string* error) {
    std::string path;
    if (const AttributeDef* name = node.findAttribute("fileTextureName"))
        if (Slot* slot = Graph::instance().pull(PlugRef{&node, name, {}}))
            path = slot->text.asChar();
    const Image* image = loadImage(path, node.name(), error);
    if (!image)
        return MS::kFailure;
    for (size_t i = 0; i < colors.size(); ++i)
        if (uv.inside[i] && std::isfinite(uv.u[i]) && std::isfinite(uv.v[i]) &&
            std::fabs(uv.u[i]) < 1e6f && std::fabs(uv.v[i]) < 1e6f)
            bilinear(*image, uv.u[i], uv.v[i], colors[i], alphas[i]);
    return MS::kSuccess;
}

} // namespace

void registerFileTextureType(TypeRegistry& registry) {
    // Host-reserved id, outside the ranges plug-ins are given.
    registry.registerBuiltin("file", MTypeId(0x0fff0023), &ShadingNode::creator,
                             MPxNode::kDependNode, MFn::kFileTexture, false, false,
                             &initializeFileTexture);
    SamplerRegistry::instance().add("file", textureSampler(&evaluateFileTexture));
}

} // namespace host
