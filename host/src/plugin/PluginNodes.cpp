#include "host/src/plugin/PluginNodes.h"

#include <maya/MPxLocatorNode.h>

#include "host/src/core/Guard.h"
#include "host/src/dag/Dag.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"

namespace ehost {

namespace {

//! A plug-in locator is a DAG shape whose behaviour comes from the plug-in.
class PluginDagNode : public DagNode {
public:
    using DagNode::DagNode;
    //! A locator has the box its plug-in gives when it says it is bounded.
    bool geometryBox(MBoundingBox& box, const MMatrix& matrix) override {
        auto* locator = dynamic_cast<MPxLocatorNode*>(user);
        if (!locator) return false;
        bool bounded = guarded([this] { return cls->typeName + ".isBounded of node " + name; },
                               false, [&] { return locator->isBounded(); });
        if (!bounded) return false;
        box = guarded([this] { return cls->typeName + ".boundingBox of node " + name; },
                      MBoundingBox(), [&] { return locator->boundingBox(); });
        box.transformUsing(matrix);
        return true;
    }
};

NodePtr makePluginNode(NodeClass* cls) {
    NodePtr node = cls->role == NodeRole::Depend
                       ? std::make_shared<Node>(cls)
                       : std::static_pointer_cast<Node>(std::make_shared<PluginDagNode>(cls));
    MStatus st;
    void* made = guarded([cls] { return "the creator of node type " + cls->typeName; },
                         static_cast<void*>(nullptr), [cls] { return cls->pluginCreator(); }, &st);
    // A creator that threw made no node; one that returned nothing leaves the
    // node to the host's own behaviour.
    if (!st) return nullptr;
    node->user = static_cast<MPxNode*>(made);
    if (node->user) ApiAccess::impl(*node->user).node = node.get();
    return node;
}

}  // namespace

MStatus registerPluginNodeType(const std::string& typeName, const MTypeId& id,
                               MCreatorFunction creator, MInitializeFunction initialize,
                               MPxNode::Type type, const std::string& classification,
                               const std::string& pluginName) {
    Registry& reg = theRegistry();
    if (typeName.empty() || !creator)
        return MStatus(MStatus::kInvalidParameter, "a node type needs a name and a creator");
    if (type != MPxNode::kDependNode && type != MPxNode::kLocatorNode)
        return MStatus(
            MStatus::kNotImplemented,
            "node type " + typeName + ": only dependency and locator nodes are supported");
    if (reg.findClass(typeName))
        return MStatus(MStatus::kFailure, "node type " + typeName + " is already registered");
    if (reg.findClass(id))
        return MStatus(MStatus::kFailure,
                       "node type id " + std::to_string(id.id()) + " is already registered");

    auto cls = std::make_unique<NodeClass>();
    cls->typeName = typeName;
    cls->typeId = id;
    cls->classification = classification;
    cls->pluginName = pluginName;
    cls->kind = type == MPxNode::kLocatorNode ? MFn::kPluginLocatorNode : MFn::kPluginDependNode;
    cls->role = type == MPxNode::kLocatorNode ? NodeRole::Locator : NodeRole::Depend;
    cls->pluginCreator = creator;
    cls->make = makePluginNode;
    addInheritedAttributes(*cls);
    if (type == MPxNode::kLocatorNode) addLocatorAttributes(*cls);

    reg.initializing = cls.get();
    MStatus st = initialize ? guarded("initialize of node type " + typeName, initialize)
                            : MStatus(MStatus::kSuccess);
    reg.initializing = nullptr;
    if (!st) return st;
    return reg.addClass(std::move(cls));
}

MStatus deregisterPluginNodeType(const MTypeId& id) {
    return theRegistry().removeClass(id);
}

}  // namespace ehost
