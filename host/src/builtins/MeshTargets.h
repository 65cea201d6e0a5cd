#pragma once
// What the modelling commands are given: names of nodes and of mesh
// components ("|m|mShape.vtx[3]", "m.e[2:5]", "m.f[*]", blanks allowed inside
// the brackets), or the active selection. Components are counted against
// the mesh's input geometry (tweaks never change counts), so naming one
// vertex costs the same on any mesh size and does not evaluate the shape.

#include <maya/MStringArray.h>

#include <string>
#include <vector>

#include "host/src/mesh/ops/ComponentList.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost {

//! One named thing: a node, or components of a mesh shape.
struct Pick {
    NodePtr node;  // the mesh shape when components are named
    bool hasComponents = false;
    ComponentType type = ComponentType::Vertex;
    std::vector<int> ids;
};

//! Resolves each name in order; false with a reason (and out unchanged) when
//! one names nothing or a component that does not exist.
bool resolvePicks(const MStringArray& names, std::vector<Pick>& out, std::string& why);
//! The active selection as picks.
std::vector<Pick> selectionPicks();
//! The names given, or the selection when none were.
bool picksOrSelection(const MStringArray& names, std::vector<Pick>& out, std::string& why);

//! The mesh shape a node stands for: itself, or the one visible mesh shape
//! below a transform; null otherwise.
MeshShape* meshShapeOf(Node& node);

//! Components per mesh shape, in the order the shapes were first named.
struct MeshPick {
    std::shared_ptr<MeshShape> shape;
    ComponentList components;
    bool whole = false;  // the mesh itself was named: all of it
};
//! Groups picks by mesh; a picked transform stands for its mesh shape.
//! False with a reason for a pick that is not a mesh, or a component the
//! mesh no longer has.
bool meshPicks(const std::vector<Pick>& picks, std::vector<MeshPick>& out, std::string& why);
//! meshPicks() of the names given, or of the selection when none were.
bool meshPicksOrSelection(const MStringArray& names, std::vector<MeshPick>& out, std::string& why);

}  // namespace ehost
