#include "feather/errorReport.h"

#include <maya/MGlobal.h>

#include <iostream>
#include <new>

void reportApiError(const char* module, int line, const MStatus& status) {
    std::cerr << "\nAPI error detected in " << module << " at line " << line << std::endl;
    status.perror("");
}

void reportBuildFailure(const MString& node, const std::exception& failure,
                        const std::string& building) noexcept {
    try {
        const bool memory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
        MGlobal::displayError(node + ": " +
                              (memory ? MString("out of memory") : MString(failure.what())) +
                              " while " + building.c_str() + "; its feathers stay empty.");
    } catch (...) {
        // Not even the message fits: the empty feathers are all that can be done.
    }
}
