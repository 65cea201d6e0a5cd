#pragma once
// The host's polygon history nodes: creators (polySphere, polyCube,
// polyPlane) whose output feeds a mesh shape's inMesh, and modifiers
// (polyMergeVert, polyBridgeEdge, polyAverageVertex) that sit between a mesh's
// former input and the shape and redo their edit whenever the input changes.

#include "host/src/dg/Graph.h"

namespace ehost {

class Registry;

struct PolySphereAttributes {
    AttrPtr radius, subdivisionsAxis, subdivisionsHeight, output;
};
struct PolyCubeAttributes {
    AttrPtr width, height, depth, subdivisionsWidth, subdivisionsHeight, subdivisionsDepth, output;
};
struct PolyPlaneAttributes {
    AttrPtr width, height, subdivisionsWidth, subdivisionsHeight, output;
};
const PolySphereAttributes& polySphereAttributes();
const PolyCubeAttributes& polyCubeAttributes();
const PolyPlaneAttributes& polyPlaneAttributes();

//! What every modifier has: the mesh in, the mesh out and the components it
//! works on (strings such as "vtx[3]", see ComponentList).
struct PolyModifierAttributes {
    AttrPtr inputPolymesh, output, inputComponents;
};
const PolyModifierAttributes& polyModifierAttributes();

struct PolyMergeVertAttributes {
    AttrPtr distance, alwaysMergeTwoVertices;
};
struct PolyBridgeEdgeAttributes {
    AttrPtr divisions, direction;
};
struct PolyAverageVertexAttributes {
    AttrPtr iterations;
};
const PolyMergeVertAttributes& polyMergeVertAttributes();
const PolyBridgeEdgeAttributes& polyBridgeEdgeAttributes();
const PolyAverageVertexAttributes& polyAverageVertexAttributes();

//! Subdivision counts a creator accepts; values outside are clamped (the
//! largest keeps a mistyped value from asking for billions of vertices).
inline constexpr int kMinSphereAxis = 3, kMinSphereHeight = 2, kMinGridDivisions = 1;
inline constexpr int kMaxDivisions = 4096;
//! Most smoothing passes a polyAverageVertex node makes.
inline constexpr int kMaxIterations = 10000;

void registerPolyCreatorTypes(Registry& registry);
void registerPolyModifierTypes(Registry& registry);
//! Both of the above (called with the host's other built-in types).
void registerPolyNodeTypes(Registry& registry);

}  // namespace ehost
