#pragma once
// Object sets (and shading groups): membership is a connection from the
// member's instObjGroups (DAG) or message (other nodes) into the set.

#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

struct ObjectSetAttributes {
    AttrPtr dagSetMembers, dnSetMembers;
};
const ObjectSetAttributes& objectSetAttributes();

std::vector<Node*> setMembers(Node& set);
//! Makes node a member; a DAG node leaves its previous shading group.
MStatus addSetMember(Node& set, Node& member);

}  // namespace ehost
