#pragma once
// The error report shared by the plug-in and its engine: every checked API call that fails is
// reported with the module and line that made it, then execution goes on. Nothing is undone and no
// error reaches the host.

#include <maya/MStatus.h>
#include <maya/MPxNode.h>

#include <cstddef>
#include <exception>

// Writes "\nAPI error detected in <module> at line <line>\n" to the error stream, then the
// status's own description.
void reportApiError(const char* module, int line, const MStatus& status);

// Reports the status if it is a failure; evaluates to nothing.
#define QUILLO_CHECK(status, module)                                                               \
    do {                                                                                           \
        MStatus quilloCheckedStatus_ = (status);                                                   \
        if (quilloCheckedStatus_ != MS::kSuccess)                                                  \
            reportApiError(module, __LINE__, quilloCheckedStatus_);                                \
    } while (0)

// Reports an exception that stopped a node's build, above all memory running out, as one error
// through MGlobal: "<node>: out of memory while <doing>; its feathers stay empty.", where
// <doing> is `doing`, followed by " <count> feathers" when count is above 0 (another exception
// gives its what() in place of "out of memory"). Takes no memory before it is safe to fail and
// never throws: when not even the message can be made, nothing is shown. The node keeps none
// of what was being built.
void reportBuildFailure(const MPxNode& node, const std::exception& failure, const char* doing,
                        size_t count) noexcept;
