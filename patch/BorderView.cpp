#include "patch/BorderView.h"

#include <maya/MIntArray.h>
#include <maya/MItMeshEdge.h>
#include <maya/MItMeshVertex.h>

namespace tessark {

geo::BorderMeshView readBorderMeshView(const MDagPath& mesh) {
    geo::BorderMeshView view;
    MStatus status;
    MItMeshVertex vertex(mesh, MObject::kNullObj, &status);
    if (!status) return view;
    MItMeshEdge edge(mesh, MObject::kNullObj, &status);
    if (!status) return view;
    MIntArray around;
    for (; !vertex.isDone(); vertex.next()) {
        MPoint p = vertex.position(MSpace::kWorld);
        view.positions.push_back({p.x, p.y, p.z, 1.0});
        vertex.getConnectedEdges(around);
        view.vertexEdges.emplace_back(around.begin(), around.end());
    }
    for (; !edge.isDone(); edge.next()) {
        view.edgeVertices.push_back({edge.index(0), edge.index(1)});
        view.boundary.push_back(edge.onBoundary());
        edge.getConnectedEdges(around);
        view.edgeNeighbours.emplace_back(around.begin(), around.end());
    }
    return view;
}

}  // namespace tessark
