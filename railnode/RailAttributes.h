#pragma once
// The rail node's attribute names, in one place: the node type defines its
// attributes with them and the gateway (RailNode.h) finds its plugs with
// them, so a misspelt name cannot read back silently as an empty array.

namespace tessark::rail {

struct AttributeName {
    const char* longName;
    const char* shortName;
};

inline constexpr AttributeName strokes{"strokes", "stk"};
inline constexpr AttributeName sizes{"sizes", "sz"};
inline constexpr AttributeName playersLine{"playersLine", "pla"};
inline constexpr AttributeName strokesShadow{"strokesShadow", "shtk"};
inline constexpr AttributeName sizesShadow{"sizesShadow", "shz"};
inline constexpr AttributeName strokesNondestruct{"strokesNondestruct", "stnd"};
inline constexpr AttributeName sizesNondestruct{"sizesNondestruct", "snd"};
inline constexpr AttributeName locked{"locked", "lck"};
inline constexpr AttributeName close{"close", "cl"};
inline constexpr AttributeName newFaces{"newFaces", "nf"};
inline constexpr AttributeName displayInfo{"displayInfo", "di"};
inline constexpr AttributeName isLastPlayer{"isLastPlayer", "ilp"};
inline constexpr AttributeName TessarkMesh{"TessarkMesh", "zm"};
inline constexpr AttributeName toMerge{"toMerge", "tmg"};
inline constexpr AttributeName playerpts{"playerpts", "ppt"};
inline constexpr AttributeName magnetPt{"magnetPt", "mgn"};
inline constexpr AttributeName fusept{"fusept", "fpt"};
inline constexpr AttributeName fusemesh{"fusemesh", "fmh"};
inline constexpr AttributeName fuseindices{"fuseindices", "fid"};
inline constexpr AttributeName mode{"mode", "mo"};

}  // namespace tessark::rail
