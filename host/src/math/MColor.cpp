#include <maya/MColor.h>

#include <algorithm>
#include <cmath>
#include <ostream>

const MColor MColor::kOpaqueBlack(0.0f, 0.0f, 0.0f, 1.0f);

MColor::MColor(MColorType type, unsigned char c1, unsigned char c2, unsigned char c3,
               unsigned char alpha)
    : MColor() {
    // Integer hue spans the whole range too: 255 is a full turn.
    const float k = 1.0f / 255.0f;
    set(type, c1 * k * (type == kHSV ? 360.0f : 1.0f), c2 * k, c3 * k, alpha * k);
}

MColor::MColor(MColorType type, unsigned short c1, unsigned short c2, unsigned short c3,
               unsigned short alpha)
    : MColor() {
    const float k = 1.0f / 65535.0f;
    set(type, c1 * k * (type == kHSV ? 360.0f : 1.0f), c2 * k, c3 * k, alpha * k);
}

MColor::MColor(MColorType type, float c1, float c2, float c3, float alpha) : MColor() {
    set(type, c1, c2, c3, alpha);
}

MColor::MColor(MColorType type, double c1, double c2, double c3, double alpha) : MColor() {
    set(type, float(c1), float(c2), float(c3), float(alpha));
}

MStatus MColor::get(float dest[4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = r;
    dest[1] = g;
    dest[2] = b;
    dest[3] = a;
    return MS::kSuccess;
}

MStatus MColor::get(MColorType type, float& c1, float& c2, float& c3) const {
    switch (type) {
    case kRGB:
        c1 = r;
        c2 = g;
        c3 = b;
        return MS::kSuccess;
    case kCMY:
        c1 = 1.0f - r;
        c2 = 1.0f - g;
        c3 = 1.0f - b;
        return MS::kSuccess;
    case kHSV: {
        const float mx = std::max({r, g, b});
        const float mn = std::min({r, g, b});
        const float d = mx - mn;
        float h = 0.0f;
        if (d > 0.0f) {
            if (mx == r)
                h = 60.0f * std::fmod((g - b) / d, 6.0f);
            else if (mx == g)
                h = 60.0f * ((b - r) / d + 2.0f);
            else
                h = 60.0f * ((r - g) / d + 4.0f);
            if (h < 0.0f)
                h += 360.0f;
        }
        c1 = h;
        c2 = mx > 0.0f ? d / mx : 0.0f;
        c3 = mx;
        return MS::kSuccess;
    }
    default:
        return MS::kInvalidParameter;
    }
}

MStatus MColor::get(MColorType type, float& c1, float& c2, float& c3, float& alpha) const {
    alpha = a;
    return get(type, c1, c2, c3);
}

MStatus MColor::set(MColorType type, float c1, float c2, float c3, float alpha) {
    switch (type) {
    case kRGB:
        *this = MColor(c1, c2, c3, alpha);
        return MS::kSuccess;
    case kCMY:
        *this = MColor(1.0f - c1, 1.0f - c2, 1.0f - c3, alpha);
        return MS::kSuccess;
    case kHSV: {
        const float h = std::fmod(std::fmod(c1, 360.0f) + 360.0f, 360.0f) / 60.0f;
        const float c = c3 * c2;
        const float xx = c * (1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f));
        const float m = c3 - c;
        float rr = 0.0f, gg = 0.0f, bb = 0.0f;
        switch (std::min(5, int(h))) {
        case 0:
            rr = c, gg = xx;
            break;
        case 1:
            rr = xx, gg = c;
            break;
        case 2:
            gg = c, bb = xx;
            break;
        case 3:
            gg = xx, bb = c;
            break;
        case 4:
            rr = xx, bb = c;
            break;
        default:
            rr = c, bb = xx;
            break;
        }
        *this = MColor(rr + m, gg + m, bb + m, alpha);
        return MS::kSuccess;
    }
    default:
        return MS::kInvalidParameter;
    }
}

std::ostream& operator<<(std::ostream& os, const MColor& c) {
    return os << '[' << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ']';
}
