#pragma once
// Turning names into scene items: "node", "|a|b", "a|b", "node.attr[2].child",
// "mesh.vtx[3]", "mesh.e[2:5]", "mesh.f[*]", with "*" as a wildcard in
// node names. Shared by MSelectionList and the command language.

#include <string>
#include <vector>

#include "host/src/dag/Selection.h"

namespace ehost {

//! Appends what the text names; false with a reason when it names nothing.
bool resolveName(const std::string& text, std::vector<SelItem>& out, std::string& error);
//! The node a plain name or DAG path names (no components, no plugs), or null.
Node* resolveNode(const std::string& text);
//! Adds an item, merging components of the same node into one item.
void addItem(std::vector<SelItem>& items, const SelItem& item, bool merge = true);
//! "node", "node.vtx[3:5]", "node.attr" as the host prints selections.
std::vector<std::string> itemStrings(const SelItem& item, bool fullPaths = false);
//! The component's elements as the host names them, without the node:
//! "vtx[3:5]" (consecutive elements as ranges, ascending), "vtxFace[3][1]".
std::vector<std::string> componentStrings(const Component& component);
//! The kind of a component name ("vtx", "e", "f", "vtxFace"), or kInvalid.
MFn::Type componentKind(const std::string& name);
//! The name of a component kind ("vtx" ...); "" for a kind without one.
const char* componentKindName(MFn::Type kind);
//! The number of elements of a component kind on a mesh shape.
int componentCount(Node& shape, MFn::Type kind);

}  // namespace ehost
