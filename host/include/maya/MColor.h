#pragma once
// RGBA colour in float. Arithmetic is component-wise on all four channels, alpha included.
// HSV uses hue in degrees [0, 360) and saturation/value in [0, 1].

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class OPENMAYA_EXPORT MColor {
  public:
    enum MColorType { kRGB, kHSV, kCMY, kCMYK };

    constexpr MColor() : r(0.0f), g(0.0f), b(0.0f), a(1.0f) {}
    constexpr MColor(float rr, float gg, float bb = 0.0f, float aa = 1.0f)
        : r(rr), g(gg), b(bb), a(aa) {}
    MColor(const float rgb[3]) : r(rgb[0]), g(rgb[1]), b(rgb[2]), a(1.0f) {}
    // Integer channels are scaled from [0, 255] / [0, 65535] to [0, 1].
    MColor(MColorType type, unsigned char c1, unsigned char c2, unsigned char c3,
           unsigned char alpha = 255);
    MColor(MColorType type, unsigned short c1, unsigned short c2, unsigned short c3,
           unsigned short alpha = 65535);
    MColor(MColorType type, float c1, float c2, float c3, float alpha = 1.0f);
    MColor(MColorType type, double c1, double c2, double c3, double alpha = 1.0);
    MColor(const MColor&) = default;
    MColor& operator=(const MColor&) = default;

    float operator()(unsigned int i) const { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    float& operator()(unsigned int i) { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    float operator[](unsigned int i) const { return (*this)(i); }
    float& operator[](unsigned int i) { return (*this)(i); }

    MColor& operator*=(float s) {
        r *= s;
        g *= s;
        b *= s;
        a *= s;
        return *this;
    }
    MColor operator*(float s) const { return MColor(r * s, g * s, b * s, a * s); }
    MColor& operator*=(const MColor& c) {
        r *= c.r;
        g *= c.g;
        b *= c.b;
        a *= c.a;
        return *this;
    }
    MColor operator*(const MColor& c) const { return MColor(r * c.r, g * c.g, b * c.b, a * c.a); }
    MColor& operator/=(float s) {
        r /= s;
        g /= s;
        b /= s;
        a /= s;
        return *this;
    }
    MColor operator/(float s) const { return MColor(r / s, g / s, b / s, a / s); }
    MColor& operator+=(const MColor& c) {
        r += c.r;
        g += c.g;
        b += c.b;
        a += c.a;
        return *this;
    }
    MColor operator+(const MColor& c) const { return MColor(r + c.r, g + c.g, b + c.b, a + c.a); }
    MColor& operator-=(const MColor& c) {
        r -= c.r;
        g -= c.g;
        b -= c.b;
        a -= c.a;
        return *this;
    }
    MColor operator-(const MColor& c) const { return MColor(r - c.r, g - c.g, b - c.b, a - c.a); }
    MColor operator-() const { return MColor(-r, -g, -b, -a); }
    bool operator==(const MColor& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
    bool operator!=(const MColor& c) const { return !(*this == c); }

    MStatus get(float dest[4]) const;
    // The colour in another model; kCMYK is not a three-channel model and fails.
    MStatus get(MColorType type, float& c1, float& c2, float& c3) const;
    MStatus get(MColorType type, float& c1, float& c2, float& c3, float& alpha) const;
    MStatus set(MColorType type, float c1, float c2, float c3, float alpha = 1.0f);

    // Black with alpha 1 (also what the default constructor gives).
    static const MColor kOpaqueBlack;

    float r;
    float g;
    float b;
    float a;
};

inline MColor operator*(float s, const MColor& c) {
    return c * s;
}
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MColor& c);
