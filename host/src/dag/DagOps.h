#pragma once
// Scene edits on nodes: creation under the DAG, deletion with everything it
// takes along. Each edit that can be undone returns what is needed to put the
// scene back. (Duplication knows the built-in node types: nodes/Duplicate.h.)

#include <functional>
#include <string>
#include <vector>

#include "host/src/dag/Dag.h"

namespace ehost {

struct Created {
    NodePtr top;   // what was made at the top: the new transform above a shape, else the node
    NodePtr node;  // the node of the requested type
};

//! Makes a node of the class; DAG nodes go under parent (the world when null),
//! and a shape without a parent gets a new transform named after it.
Created createNode(NodeClass& cls, const std::string& name, DagNode* parent, MStatus* status);

//! Everything a deletion took out of the scene, to put it back.
struct Removal {
    struct Entry {
        NodePtr node;
        DagNode* parent = nullptr;
        int position = -1;
    };
    std::vector<Entry> nodes;  // in the order they were removed
    std::vector<std::pair<PlugRef, PlugRef>> connections;
    bool empty() const { return nodes.empty(); }
};

//! Removes nodes (DAG nodes with everything below them) and their connections.
Removal removeNodes(const std::vector<Node*>& nodes);
//! Puts removed nodes back where they were, with their connections.
void restore(const Removal& removal);
//! Removes again what restore put back.
void removeAgain(const Removal& removal);

}  // namespace ehost
