#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

MeshStatus mergeComponents(const MeshGeometry& in, const ComponentList& components, double distance,
                           bool alwaysMergeTwo, MeshGeometry& out) {
    return mergeVertices(in, components.vertexIds(in), distance, alwaysMergeTwo, out);
}

MeshStatus bridgeComponents(const MeshGeometry& in, const ComponentList& components, int divisions,
                            MeshGeometry& out) {
    if (!components.vertices.empty() || !components.faces.empty())
        return MeshStatus::failure("a bridge is made between edges only");
    return bridgeEdges(in, components.edges, divisions, out);
}

MeshStatus averageComponents(const MeshGeometry& in, const ComponentList& components,
                             int iterations, MeshGeometry& out) {
    return averageVertices(in, components.vertexIds(in), iterations, out);
}

}  // namespace ehost
