// Edge smoothing flags and the normals that follow from them.

#include "host/src/mesh/MeshGeometry.h"

#include <algorithm>
#include <numeric>

namespace ehost {

namespace {

// Newell's method on coordinates relative to the first corner, so that
// polygons far from the origin do not lose their normal to cancellation.
Vec3 newellNormal(const std::vector<Vec3>& points, const int* corners, int count) {
    const Vec3 base = points[corners[0]];
    Vec3 n;
    for (int i = 0; i < count; ++i) {
        const Vec3 a = points[corners[i]] - base;
        const Vec3 b = points[corners[i + 1 == count ? 0 : i + 1]] - base;
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalized(n);
}

// Union-find over the faces around one vertex.
struct FaceGroups {
    std::vector<int> parent;
    explicit FaceGroups(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int root(int i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    }
    void join(int a, int b) { parent[root(a)] = root(b); }
};

}  // namespace

std::uint64_t MeshGeometry::edgeKey(int a, int b) {
    const auto lo = static_cast<std::uint32_t>(std::min(a, b));
    const auto hi = static_cast<std::uint32_t>(std::max(a, b));
    return (static_cast<std::uint64_t>(lo) << 32) | hi;
}

bool MeshGeometry::isPairSmooth(int a, int b) const {
    return hardEdges_.empty() || hardEdges_.count(edgeKey(a, b)) == 0;
}

bool MeshGeometry::isEdgeSmooth(int edge) const {
    if (!validEdge(edge)) return true;
    const EdgeVertices ev = topology().edgeVertices(edge);
    return isPairSmooth(ev.first, ev.second);
}

MeshStatus MeshGeometry::setEdgeSmoothing(int edge, bool smooth) {
    return setEdgeSmoothings({edge}, {smooth ? 1 : 0});
}

MeshStatus MeshGeometry::setEdgeSmoothings(const std::vector<int>& edgeIds,
                                           const std::vector<int>& smoothFlags) {
    if (edgeIds.size() != smoothFlags.size())
        return MeshStatus::failure("setEdgeSmoothings was given " + std::to_string(edgeIds.size()) +
                                   " edges but " + std::to_string(smoothFlags.size()) + " flags");
    for (int e : edgeIds) {
        if (!validEdge(e))
            return MeshStatus::failure("edge id " + std::to_string(e) +
                                       " is out of range (the mesh has " +
                                       std::to_string(numEdges()) + " edges)");
    }
    bool any = false;
    for (std::size_t i = 0; i < edgeIds.size(); ++i) {
        const EdgeVertices ev = topology().edgeVertices(edgeIds[i]);
        const std::uint64_t key = edgeKey(ev.first, ev.second);
        any |= smoothFlags[i] ? hardEdges_.erase(key) > 0 : hardEdges_.insert(key).second;
    }
    if (any) changed(kSmoothing);
    return {};
}

std::vector<int> MeshGeometry::edgeSmoothings() const {
    std::vector<int> flags(numEdges(), 1);
    if (hardEdges_.empty()) return flags;
    for (int e = 0; e < numEdges(); ++e) {
        const EdgeVertices ev = topology().edgeVertices(e);
        flags[e] = isPairSmooth(ev.first, ev.second) ? 1 : 0;
    }
    return flags;
}

void MeshGeometry::cleanupEdgeSmoothing() {
    faceVertexNormals();
}

Vec3 MeshGeometry::faceNormal(int face) const {
    if (!validFace(face)) return {};
    return newellNormal(points_, connects_.data() + offsets_[face], counts_[face]);
}

Vec3 MeshGeometry::vertexNormal(int vertex) const {
    if (!validVertex(vertex)) return {};
    if (const std::vector<Vec3>* all = vertexNormals_.peek()) return (*all)[vertex];
    // After a point moved, one vertex's normal from its own faces, not every
    // vertex's anew: a brush moves vertices one by one and asks each one's
    // normal in between. The same sum in the same order as vertexNormals(),
    // so the same bits.
    Vec3 sum;
    for (int f : vertexFaces(vertex)) sum += faceNormal(f);
    return normalized(sum);
}

Vec3 MeshGeometry::faceVertexNormal(int face, int local) const {
    const int fv = faceVertexIndex(face, local);
    return fv < 0 ? Vec3{} : faceVertexNormals()[fv];
}

const std::vector<Vec3>& MeshGeometry::faceNormals() const {
    return faceNormals_.get([this] {
        auto normals = std::make_shared<std::vector<Vec3>>(counts_.size());
        for (int f = 0; f < numFaces(); ++f)
            (*normals)[f] = newellNormal(points_, connects_.data() + offsets_[f], counts_[f]);
        return std::shared_ptr<const std::vector<Vec3>>(std::move(normals));
    });
}

const std::vector<Vec3>& MeshGeometry::vertexNormals() const {
    return vertexNormals_.get([this] {
        const std::vector<Vec3>& faces = faceNormals();
        auto normals = std::make_shared<std::vector<Vec3>>(points_.size());
        for (int f = 0; f < numFaces(); ++f)
            for (int k = offsets_[f]; k < offsets_[f + 1]; ++k)
                (*normals)[connects_[k]] += faces[f];
        for (Vec3& n : *normals) n = normalized(n);
        return std::shared_ptr<const std::vector<Vec3>>(std::move(normals));
    });
}

const std::vector<Vec3>& MeshGeometry::faceVertexNormals() const {
    return faceVertexNormals_.get([this] {
        const std::vector<Vec3>& vertex = vertexNormals();
        auto normals = std::make_shared<std::vector<Vec3>>(connects_.size());
        for (std::size_t k = 0; k < connects_.size(); ++k) (*normals)[k] = vertex[connects_[k]];
        if (hardEdges_.empty()) return std::shared_ptr<const std::vector<Vec3>>(std::move(normals));

        // Only corners at a vertex touching a hard edge can differ from the
        // vertex normal; regroup the faces around each such vertex.
        std::vector<int> splitVertices;
        for (std::uint64_t key : hardEdges_) {
            splitVertices.push_back(static_cast<int>(key >> 32));
            splitVertices.push_back(static_cast<int>(key & 0xffffffffu));
        }
        std::sort(splitVertices.begin(), splitVertices.end());
        splitVertices.erase(std::unique(splitVertices.begin(), splitVertices.end()),
                            splitVertices.end());

        const MeshTopology& topo = topology();
        const std::vector<Vec3>& faceN = faceNormals();
        for (int v : splitVertices) {
            const std::span<const int> faces = topo.vertexFaces(v);
            auto slot = [&](int face) {
                return static_cast<int>(std::lower_bound(faces.begin(), faces.end(), face) -
                                        faces.begin());
            };
            FaceGroups groups(faces.size());
            for (int e : topo.vertexEdges(v)) {
                const EdgeVertices ev = topo.edgeVertices(e);
                if (!isPairSmooth(ev.first, ev.second)) continue;
                const std::span<const int> shared = topo.edgeFaces(e);
                for (std::size_t i = 1; i < shared.size(); ++i)
                    groups.join(slot(shared[0]), slot(shared[i]));
            }
            std::vector<Vec3> sums(faces.size());
            for (std::size_t i = 0; i < faces.size(); ++i)
                sums[groups.root(static_cast<int>(i))] += faceN[faces[i]];
            for (std::size_t i = 0; i < faces.size(); ++i) {
                const int f = faces[i];
                const int* corner = std::find(connects_.data() + offsets_[f],
                                              connects_.data() + offsets_[f + 1], v);
                (*normals)[corner - connects_.data()] =
                    normalized(sums[groups.root(static_cast<int>(i))]);
            }
        }
        return std::shared_ptr<const std::vector<Vec3>>(std::move(normals));
    });
}

}  // namespace ehost
