#include "host/src/dg/Data.h"

#include <cmath>
#include <limits>

#include "host/src/core/NumberText.h"

namespace ehost {

int numericComponents(MFnNumericData::Type t) {
    switch (t) {
        case MFnNumericData::k2Short:
        case MFnNumericData::k2Int:
        case MFnNumericData::k2Float:
        case MFnNumericData::k2Double:
            return 2;
        case MFnNumericData::k3Short:
        case MFnNumericData::k3Int:
        case MFnNumericData::k3Float:
        case MFnNumericData::k3Double:
            return 3;
        case MFnNumericData::k4Double:
            return 4;
        default:
            return 1;
    }
}

double storeAsNumeric(MFnNumericData::Type t, double v) {
    auto clampInt = [](double x, double lo, double hi) {
        if (std::isnan(x)) return 0.0;
        return std::trunc(std::min(std::max(x, lo), hi));
    };
    switch (t) {
        case MFnNumericData::kBoolean:
            return v != 0 ? 1.0 : 0.0;
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
            return clampInt(v, -128, 255);
        case MFnNumericData::kShort:
        case MFnNumericData::k2Short:
        case MFnNumericData::k3Short:
            return clampInt(v, -32768, 32767);
        case MFnNumericData::kInt:
        case MFnNumericData::k2Int:
        case MFnNumericData::k3Int:
            return clampInt(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        case MFnNumericData::kInt64:
            return std::trunc(v);
        case MFnNumericData::kFloat:
        case MFnNumericData::k2Float:
        case MFnNumericData::k3Float:
            return static_cast<double>(static_cast<float>(v));
        default:
            return v;
    }
}

bool holdsNumber(MFnNumericData::Type t, double v) {
    auto whole = [v](double lo, double hi) { return v == std::trunc(v) && v >= lo && v <= hi; };
    switch (t) {
        case MFnNumericData::kBoolean:
            return v == 0 || v == 1;
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
            return whole(-128, 255);
        case MFnNumericData::kShort:
        case MFnNumericData::k2Short:
        case MFnNumericData::k3Short:
            return whole(-32768, 32767);
        case MFnNumericData::kInt:
        case MFnNumericData::k2Int:
        case MFnNumericData::k3Int:
            return whole(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        case MFnNumericData::kInt64:
            // Doubles hold whole numbers exactly up to 2^53; beyond, a value is
            // not the one that was written.
            return whole(-9007199254740992.0, 9007199254740992.0);
        case MFnNumericData::kFloat:
        case MFnNumericData::k2Float:
        case MFnNumericData::k3Float:
            return !std::isfinite(v) || std::fabs(v) <= std::numeric_limits<float>::max();
        default:
            return true;
    }
}

std::string cannotHoldText(const std::string& plug, MFnNumericData::Type t, double value) {
    return plug + " cannot hold " + shortestText(value) + " (it is of type " + numericTypeName(t) +
           ")";
}

const char* dataTypeName(MFnData::Type t) {
    switch (t) {
        case MFnData::kNumeric:
            return "numeric";
        case MFnData::kString:
            return "string";
        case MFnData::kMatrix:
            return "matrix";
        case MFnData::kStringArray:
            return "stringArray";
        case MFnData::kDoubleArray:
            return "doubleArray";
        case MFnData::kFloatArray:
            return "floatArray";
        case MFnData::kIntArray:
            return "Int32Array";
        case MFnData::kPointArray:
            return "pointArray";
        case MFnData::kVectorArray:
            return "vectorArray";
        case MFnData::kMesh:
            return "mesh";
        case MFnData::kComponentList:
            return "componentList";
        case MFnData::kAny:
            return "any";
        default:
            return "unknown";
    }
}

const char* numericTypeName(MFnNumericData::Type t) {
    switch (t) {
        case MFnNumericData::kBoolean:
            return "bool";
        case MFnNumericData::kByte:
            return "byte";
        case MFnNumericData::kChar:
            return "char";
        case MFnNumericData::kShort:
            return "short";
        case MFnNumericData::k2Short:
            return "short2";
        case MFnNumericData::k3Short:
            return "short3";
        case MFnNumericData::kInt:
            return "long";
        case MFnNumericData::k2Int:
            return "long2";
        case MFnNumericData::k3Int:
            return "long3";
        case MFnNumericData::kInt64:
            return "int64";
        case MFnNumericData::kFloat:
            return "float";
        case MFnNumericData::k2Float:
            return "float2";
        case MFnNumericData::k3Float:
            return "float3";
        case MFnNumericData::kDouble:
            return "double";
        case MFnNumericData::k2Double:
            return "double2";
        case MFnNumericData::k3Double:
            return "double3";
        case MFnNumericData::k4Double:
            return "double4";
        default:
            return "unknown";
    }
}

}  // namespace ehost
