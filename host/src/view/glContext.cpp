#include "view/glContext.h"

#include <GL/osmesa.h>

namespace host {

GLContext::~GLContext() {
    if (context_)
        OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
}

bool GLContext::makeCurrent(int width, int height, std::string& error) {
    if (width < 1 || height < 1) {
        error = "a view needs at least one pixel, not " + std::to_string(width) + "x" +
                std::to_string(height) + ".";
        return false;
    }
    if (!context_) {
        // RGBA with a 24-bit depth buffer; no stencil or accumulation buffer is needed.
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
        if (!context_) {
            error = "OSMesa could not create an OpenGL context.";
            return false;
        }
    }
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (width != width_ || height != height_ || buffer_.size() != size) {
        buffer_.assign(size, 0);
        width_ = width;
        height_ = height;
    } else if (isCurrent()) {
        return true;
    }
    if (!OSMesaMakeCurrent(static_cast<OSMesaContext>(context_), buffer_.data(), GL_UNSIGNED_BYTE,
                           width, height)) {
        error = "OSMesa could not draw into a " + std::to_string(width) + "x" +
                std::to_string(height) + " buffer.";
        return false;
    }
    return true;
}

bool GLContext::isCurrent() const {
    return context_ && OSMesaGetCurrentContext() == static_cast<OSMesaContext>(context_);
}

} // namespace host
