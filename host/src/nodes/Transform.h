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
};

}  // namespace ehost
