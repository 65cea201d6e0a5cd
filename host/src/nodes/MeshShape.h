#pragma once
// The built-in mesh shape. Its output is the evaluated history (inMesh) when
// connected, else its own geometry (cachedInMesh), plus the per-vertex tweaks
// in pnts. The polyTweak node adds tweaks to a mesh flowing through history.

#include <memory>
#include <set>

#include "host/src/dag/Dag.h"
#include "host/src/dg/MeshData.h"

namespace ehost {

struct MeshAttributes {
    AttrPtr inMesh, outMesh, cachedInMesh, pnts;
};
const MeshAttributes& meshAttributes();

struct PolyTweakAttributes {
    AttrPtr inputPolymesh, output, tweak;
};
const PolyTweakAttributes& polyTweakAttributes();

class MeshShape : public DagNode {
public:
    using DagNode::DagNode;
    MStatus compute(const PlugAddr& plug, MDataBlock& block) override;
    //! Without history, a mesh written to outMesh becomes the shape's own
    //! geometry, as the host keeps it: the next evaluation shows it instead of
    //! recomputing the output from what the shape held before.
    PlugAddr storedAt(const PlugAddr& plug) const override;
    //! The tweak elements a connection reaches; they are kept even at zero.
    std::set<int> connectedTweaks() const;
    bool hasComponents() const override { return true; }
    int componentCount(MFn::Type kind) override;
    std::vector<int> faceVertexIds(int face) override;
    //! The box of the output geometry (tweaks included).
    bool geometryBox(MBoundingBox& box, const MMatrix& matrix) override;

    bool hasHistory() const;
    //! The evaluated output geometry (never null).
    std::shared_ptr<const MeshGeometry> output();
    //! The geometry before tweaks: the evaluated input, or the shape's own.
    std::shared_ptr<const MeshGeometry> base();
    bool hasTweaks() const;

    //! Makes the shape's own geometry equal to what it shows (tweaks baked in,
    //! pnts emptied) and returns it for editing. Refused with history, where
    //! an edit would be lost at the next evaluation.
    MeshGeometry* editOwnGeometry(MStatus* status);
    //! Call after editing the geometry returned by editOwnGeometry.
    void ownGeometryEdited();
    //! Moves vertices so that the output shows the given positions exactly:
    //! the own geometry without history, tweaks with history.
    MStatus setOutputPoints(const std::vector<Vec3>& points);
    MStatus setOutputPoint(int vertex, const Vec3& point);
};

//! Adds tweaks in an array attribute (pnts, tweak) to geometry.
std::shared_ptr<const MeshGeometry> applyTweaks(Node& node, const Attribute* tweaks,
                                                std::shared_ptr<const MeshGeometry> base);

}  // namespace ehost
