#include "export/exportText.h"

#include <cmath>
#include <cstdio>

std::string finiteFloatText(float value) {
    if (!std::isfinite(value))
        value = 0.0f;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}
