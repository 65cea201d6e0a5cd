#include "patch/PatchHelpers.h"

#include <maya/MItGeometry.h>

#include "railnode/RailNodeOps.h"

namespace tessark {

MString relaxCommand(const MDagPath& mesh) {
    MString text = "polyAverageVertex - i 1";
    MIntArray faces = readNewFaces();
    MString path = mesh.fullPathName();
    for (unsigned i = 0; i < faces.length(); ++i) {
        text += " \"";
        text += path;
        text += ".f[";
        text += faces[i];
        text += "]\"";
    }
    return text;
}

MIntArray verticesAtPoints(const MDagPath& mesh, const MPointArray& points) {
    MIntArray ids;
    if (points.length() == 0) return ids;
    MStatus status;
    MItGeometry geometry(mesh, &status);
    if (!status) return ids;
    MPointArray positions;
    geometry.allPositions(positions, MSpace::kWorld);
    for (unsigned p = 0; p < points.length(); ++p)
        for (unsigned v = 0; v < positions.length(); ++v)
            if (positions[v].distanceTo(points[p]) < 0.0001) ids.append(static_cast<int>(v));
    return ids;
}

}  // namespace tessark
