#include "feather/errorReport.h"

#include <maya/MGlobal.h>

#include <iostream>
#include <new>
#include <string>

void reportApiError(const char* module, int line, const MStatus& status) {
    std::cerr << "\nAPI error detected in " << module << " at line " << line << std::endl;
    status.perror("");
}

void reportBuildFailure(const MPxNode& node, const std::exception& failure, const char* doing,
                        size_t count) noexcept {
    try {
        const bool memory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
        MString text = node.name() + ": " +
                       (memory ? MString("out of memory") : MString(failure.what())) + " while " +
                       doing;
        if (count > 0)
            text += MString(" ") + std::to_string(count).c_str() + " feathers";
        MGlobal::displayError(text + "; its feathers stay empty.");
    } catch (...) {
        // Not even the message fits: the empty feathers are all that can be done.
    }
}
