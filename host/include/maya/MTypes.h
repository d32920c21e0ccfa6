#pragma once
// Basic definitions shared by every host header, shaped like the devkit's MTypes.h.

#ifndef MAYA_API_VERSION
#define MAYA_API_VERSION 201300
#endif
#define MAYA_API_STRINGIFY_(x) #x
#define MAYA_API_STRINGIFY(x) MAYA_API_STRINGIFY_(x)
#define MAYA_API_VERSION_STRING MAYA_API_STRINGIFY(MAYA_API_VERSION)

#define OPENMAYA_EXPORT __attribute__((visibility("default")))
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

typedef unsigned int MCallbackId;

typedef short short2[2];
typedef short short3[3];
typedef int int2[2];
typedef int int3[3];
typedef float float2[2];
typedef float float3[3];
typedef double double2[2];
typedef double double3[3];
typedef double double4[4];

class MSpace {
  public:
    enum Space {
        kInvalid = 0,
        kTransform = 1,
        kPreTransform = 2,
        kPostTransform = 3,
        kWorld = 4,
        kObject = kPreTransform,
        kLast = 5
    };
};

typedef void* (*MCreatorFunction)();
class MStatus;
typedef MStatus (*MInitializeFunction)();
class MSyntax;
typedef MSyntax (*MCreateSyntaxFunction)();

#define McheckErr(stat, msg)                                                                       \
    if (MS::kSuccess != stat) {                                                                    \
        stat.perror(msg);                                                                          \
        return stat;                                                                               \
    }
