#pragma once
// The optional MStatus out-parameter of API calls: written only when the caller passed one.

#include <maya/MStatus.h>

namespace host {
inline void report(MStatus* status, MStatus value) {
    if (status)
        *status = value;
}
} // namespace host
