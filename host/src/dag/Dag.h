#pragma once
// DAG nodes: transforms and shapes under the world, with paths and matrices.

#include <maya/MBoundingBox.h>
#include <maya/MMatrix.h>

#include <string>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

class DagNode : public Node {
public:
    using Node::Node;

    //! The node's own matrix (identity except for transforms).
    virtual MMatrix localMatrix() const;
    MMatrix worldMatrix() const;
    //! "|parent|child"; the world itself is "".
    std::string fullPath() const;
    //! Whether the node hangs under the world through live parents.
    bool inWorld() const;
    bool isWorld() const { return parent == nullptr && name.empty(); }
    //! Whether names like "node.vtx[3]" pick components of the node (mesh shapes do).
    virtual bool hasComponents() const { return false; }
    //! How many components of a kind (vertices, edges, faces) the node has.
    virtual int componentCount(MFn::Type kind);
    //! The vertices of a face, in order (shapes with faces; none otherwise).
    virtual std::vector<int> faceVertexIds(int face) {
        (void)face;
        return {};
    }
    //! The box around the node's own geometry carried through the matrix
    //! (exactly, point by point, where the node can); false for a node
    //! without geometry (a transform, an unbounded locator).
    virtual bool geometryBox(MBoundingBox& box, const MMatrix& matrix);

    void dropLinks() override;

    DagNode* parent = nullptr;
    std::vector<NodePtr> children;
};

using DagPtr = std::shared_ptr<DagNode>;

//! A new DAG root for a scene (the world: no name, no parent).
DagPtr makeWorld();
//! The running scene's DAG root.
DagNode& theWorld();

//! Moves a node under a new parent (at the end, or at position when >= 0);
//! returns the former parent and position so that the move can be undone.
std::pair<DagNode*, int> reparent(DagNode& child, DagNode* newParent, int position = -1);
int childPosition(const DagNode& child);

//! The node hanging at a "|a|b" path or under a plain unique name.
DagNode* findDag(const std::string& pathOrName);

//! Bounding boxes as the host computes them. Intermediate objects never
//! count; hidden ones (visibility off) only when includeHidden.
//! The node's box in its parent's space: its own geometry and the boxes of
//! its children, carried through its matrix (a shape's is its geometry's).
MBoundingBox boundsInParent(DagNode& node, bool includeHidden = true);
//! The same in the node's own space (without its matrix).
MBoundingBox boundsInOwnSpace(DagNode& node, bool includeHidden = true);
//! The world-space box around the geometry at and below the node.
MBoundingBox worldBounds(DagNode& node, bool includeHidden = true);

}  // namespace ehost
