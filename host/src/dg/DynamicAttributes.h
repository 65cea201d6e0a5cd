#pragma once
// Attributes added to one node rather than to its type: the engine under
// MFnDependencyNode::addAttribute / removeAttribute, MDGModifier and the
// addAttr / deleteAttr commands. A removal keeps what undoing it needs.

#include <maya/MStatus.h>

#include <map>
#include <utility>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

//! Adds a top-level attribute (and its children) to the node alone; it is
//! marked dynamic. Refused when a name is taken on the node.
MStatus addDynamicAttribute(Node& node, const AttrPtr& attr);

//! What a removed dynamic attribute held, to put it back.
struct RemovedAttribute {
    AttrPtr attr;
    int slot = -1;  // its top-level position
    Slot value;
    std::map<PlugAddr, PlugState> states;  // its plugs' locks and flags
    //! The connections it had, source first, in the order they are made again.
    std::vector<std::pair<std::pair<NodePtr, PlugAddr>, std::pair<NodePtr, PlugAddr>>> links;
};

//! Breaks the attribute's connections and takes it off the node. Only a
//! dynamic top-level attribute can be removed.
MStatus removeDynamicAttribute(Node& node, const Attribute* attr, RemovedAttribute* removed);
//! Puts a removed attribute back where it was, with its value and connections.
MStatus restoreDynamicAttribute(Node& node, RemovedAttribute& removed);

//! The node's dynamic top-level attributes, in the order they were added.
std::vector<AttrPtr> dynamicAttributes(const Node& node);

}  // namespace ehost
