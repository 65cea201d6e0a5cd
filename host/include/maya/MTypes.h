#pragma once
// Basic definitions shared by every header of the host API.

#include <cstddef>

#ifndef MAYA_API_VERSION
#define MAYA_API_VERSION 20200000
#endif

#define OPENMAYA_EXPORT
#define OPENMAYAUI_EXPORT
#define OPENMAYARENDER_EXPORT
#define OPENMAYAANIM_EXPORT
#define FND_EXPORT

#define MAYA_NAMESPACE_OPEN
#define MAYA_NAMESPACE_CLOSE

typedef unsigned int uint;
typedef unsigned short ushort;
typedef unsigned char uchar;
typedef unsigned long MCallbackId;

typedef bool MBool;

typedef short short2[2];
typedef short short3[3];
typedef int int2[2];
typedef int int3[3];
typedef float float2[2];
typedef float float3[3];
typedef double double2[2];
typedef double double3[3];
typedef double double4[4];

#ifndef NULL
#define NULL 0
#endif

//! Coordinate spaces accepted by the geometry function sets.
class MSpace {
public:
    enum Space {
        kInvalid = 0,
        kTransform = 1,
        kPreTransform = 2,
        kPostTransform = 3,
        kWorld = 4,
        kLast = 5,
        kObject = kPreTransform
    };
};

//! Platform-independent scalar types used by the data function sets.
namespace MHWRender {
enum DrawAPI {
    kNone = 0,
    kOpenGL = 1 << 0,
    kDirectX11 = 1 << 1,
    kOpenGLCoreProfile = 1 << 2,
    kAllDevices = kOpenGL | kDirectX11 | kOpenGLCoreProfile
};
}  // namespace MHWRender

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
