#pragma once
// An offscreen OpenGL context drawing into memory of its own, through Mesa's OSMesa (software
// rendering, no display needed). Legacy OpenGL (immediate mode, matrix and attribute stacks,
// feedback) is available in it. Single-threaded, as everything in the host.

#include <string>
#include <vector>

namespace host {

class GLContext {
  public:
    GLContext() = default;
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    // Makes the context current, drawing into a colour buffer of this size; the context is
    // created on first use and the buffer replaced when the size changes. False, with the
    // reason in error, when OSMesa cannot.
    bool makeCurrent(int width, int height, std::string& error);
    bool isCurrent() const;

    // The colour buffer: 4 bytes a pixel (RGBA), rows from the bottom (OpenGL's order).
    const std::vector<unsigned char>& buffer() const { return buffer_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    void* context_ = nullptr; // an OSMesaContext
    std::vector<unsigned char> buffer_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace host
