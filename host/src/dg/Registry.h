#pragma once
// The node types the host knows: its own and those plug-ins registered.

#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <memory>
#include <string>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

class Registry {
public:
    NodeClass* findClass(const std::string& typeName) const;
    NodeClass* findClass(const MTypeId& id) const;
    //! Adds a node type; its name and id must be new.
    MStatus addClass(std::unique_ptr<NodeClass> cls);
    //! Removes a node type; refused while nodes of it exist.
    MStatus removeClass(const MTypeId& id);
    const std::vector<std::unique_ptr<NodeClass>>& classes() const { return classes_; }

    //! The node type whose attributes are being defined (MPxNode::addAttribute).
    NodeClass* initializing = nullptr;

private:
    std::vector<std::unique_ptr<NodeClass>> classes_;
};

//! The running session's node types.
Registry& theRegistry();

}  // namespace ehost
