#pragma once
// The built-in transform node: translate, rotate (radians, XYZ order) and scale.

#include "host/src/dag/Dag.h"

namespace ehost {

struct TransformAttributes {
    AttrPtr translate, rotate, scale, rotateOrder;
};
const TransformAttributes& transformAttributes();

class TransformNode : public DagNode {
public:
    using DagNode::DagNode;
    MMatrix localMatrix() const override;

private:
    // Rebuilding the matrix from its parts is costly next to the queries that
    // read it: keep it until a value of the node changes.
    mutable MMatrix cached_;
    mutable unsigned long long cachedStamp_ = ~0ull;
};

}  // namespace ehost
