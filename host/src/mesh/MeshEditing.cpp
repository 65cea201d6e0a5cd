// Topology edits: appending polygons with vertex merging, deleting faces.

#include "host/src/mesh/MeshGeometry.h"

#include <algorithm>
#include <cmath>

namespace ehost {

namespace {

std::string cornerText(std::size_t i) {
    return "corner " + std::to_string(i);
}

}  // namespace

AddPolygonResult MeshGeometry::addPolygon(const std::vector<Vec3>& corners, bool mergeVertices,
                                          double tolerance) {
    AddPolygonResult result;
    if (corners.size() < 3) {
        result.error =
            "a polygon needs at least 3 corners; " + std::to_string(corners.size()) + " were given";
        return result;
    }
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vec3& c = corners[i];
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) {
            result.error = cornerText(i) + " of the new polygon has a non-finite coordinate";
            return result;
        }
    }
    if (mergeVertices && !(tolerance >= 0 && std::isfinite(tolerance))) {
        result.error = "the merge tolerance must be a finite number >= 0";
        return result;
    }

    if (mergeVertices) {
        if (mergeIndex_.matches(tolerance, pointsStamp_))
            mergeIndex_.catchUp(points_);
        else
            mergeIndex_.rebuild(tolerance, pointsStamp_, points_);
    }

    // Resolve every corner before touching the mesh, so a refusal changes nothing.
    const int firstNew = numVertices();
    std::vector<int> ids(corners.size());
    std::vector<Vec3> newPoints;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        int id = mergeVertices ? mergeIndex_.findLowest(points_, corners[i]) : -1;
        if (id < 0 && mergeVertices) {
            // Corners of this polygon that became new vertices count as well.
            for (std::size_t j = 0; j < newPoints.size(); ++j) {
                if (lengthSquared(newPoints[j] - corners[i]) <= tolerance * tolerance) {
                    id = firstNew + static_cast<int>(j);
                    break;
                }
            }
        }
        if (id < 0) {
            id = firstNew + static_cast<int>(newPoints.size());
            newPoints.push_back(corners[i]);
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (ids[j] == id) {
                result.error = cornerText(j) + " and " + cornerText(i) +
                               " of the new polygon merge into the same vertex (" +
                               std::to_string(id) + ")";
                return result;
            }
        }
        ids[i] = id;
    }

    const bool countsKept = useCountsValid_;
    points_.insert(points_.end(), newPoints.begin(), newPoints.end());
    counts_.push_back(static_cast<int>(ids.size()));
    connects_.insert(connects_.end(), ids.begin(), ids.end());
    offsets_.push_back(static_cast<int>(connects_.size()));
    for (UVSet& s : uvSets_)
        if (!s.faceVertexUVs.empty()) s.faceVertexUVs.resize(connects_.size(), -1);
    // Existing edges keep their vertex pairs, so the hard-edge flags stay right
    // and every edge the polygon adds is smooth.
    changed(kPointsMoved | kPolygons);
    if (countsKept) {
        useCounts_.resize(points_.size(), 0);
        for (int id : ids) ++useCounts_[static_cast<std::size_t>(id)];
        useCountsValid_ = true;
    }
    result.face = numFaces() - 1;
    return result;
}

MeshStatus MeshGeometry::deleteFace(int face) {
    return deleteFaces({face});
}

MeshStatus MeshGeometry::deleteFaces(const std::vector<int>& faces) {
    std::vector<char> deleted(counts_.size(), 0);
    for (int f : faces) {
        if (!validFace(f))
            return MeshStatus::failure("face id " + std::to_string(f) +
                                       " is out of range (the mesh has " +
                                       std::to_string(numFaces()) + " faces)");
        deleted[f] = 1;
    }
    if (!faces.empty()) applyFaceDeletion(deleted);
    return {};
}

bool MeshGeometry::deleteTrailingFaces(int firstDeleted) {
    if (!hardEdges_.empty()) return false;
    if (!useCountsValid_) {
        useCounts_.assign(points_.size(), 0);
        for (int v : connects_) ++useCounts_[static_cast<std::size_t>(v)];
        useCountsValid_ = true;
    }
    const int cut = offsets_[static_cast<std::size_t>(firstDeleted)];
    const int vertexCount = numVertices();
    int orphans = 0, lowestOrphan = vertexCount;
    for (std::size_t k = static_cast<std::size_t>(cut); k < connects_.size(); ++k) {
        const int v = connects_[k];
        if (--useCounts_[static_cast<std::size_t>(v)] == 0) {
            ++orphans;
            lowestOrphan = std::min(lowestOrphan, v);
        }
    }
    if (lowestOrphan != vertexCount - orphans) {
        // Vertices in the middle would go: the counts are off now, and the
        // general deletion renumbers.
        useCountsValid_ = false;
        return false;
    }
    connects_.resize(static_cast<std::size_t>(cut));
    counts_.resize(static_cast<std::size_t>(firstDeleted));
    offsets_.resize(static_cast<std::size_t>(firstDeleted) + 1);
    for (UVSet& uv : uvSets_)
        if (!uv.faceVertexUVs.empty()) uv.faceVertexUVs.resize(static_cast<std::size_t>(cut));
    points_.resize(static_cast<std::size_t>(vertexCount - orphans));
    useCounts_.resize(points_.size());
    changed(kPointsMoved | kPolygons | kSmoothing | kAttributes |
            (orphans ? kPointsRewritten : 0u));
    useCountsValid_ = true;
    return true;
}

void MeshGeometry::applyFaceDeletion(const std::vector<char>& deleted) {
    // The last faces alone, as the tool deletes its last patch, go without a
    // walk over the whole mesh.
    {
        std::size_t first = deleted.size();
        while (first > 0 && deleted[first - 1]) --first;
        if (first < deleted.size() &&
            std::find(deleted.begin(), deleted.begin() + static_cast<std::ptrdiff_t>(first),
                      char(1)) == deleted.begin() + static_cast<std::ptrdiff_t>(first) &&
            deleteTrailingFaces(static_cast<int>(first)))
            return;
    }
    // Hard flags of edges that lose all their faces go with them, so that a
    // later polygon re-creating the edge gets a smooth one.
    if (!hardEdges_.empty()) {
        const MeshTopology& topo = topology();
        for (auto it = hardEdges_.begin(); it != hardEdges_.end();) {
            const int e =
                topo.findEdge(static_cast<int>(*it >> 32), static_cast<int>(*it & 0xffffffffu));
            const std::span<const int> users = topo.edgeFaces(e);
            const bool survives =
                std::any_of(users.begin(), users.end(), [&](int f) { return !deleted[f]; });
            it = survives ? std::next(it) : hardEdges_.erase(it);
        }
    }

    // Vertices the deleted faces used and no surviving face uses are removed.
    std::vector<char> used(points_.size(), 0), orphanCandidate(points_.size(), 0);
    for (int f = 0; f < numFaces(); ++f)
        for (int k = offsets_[f]; k < offsets_[f + 1]; ++k)
            (deleted[f] ? orphanCandidate : used)[connects_[k]] = 1;
    std::vector<int> newId(points_.size());
    int nextId = 0;
    for (std::size_t v = 0; v < points_.size(); ++v)
        newId[v] = orphanCandidate[v] && !used[v] ? -1 : nextId++;
    const bool verticesRemoved = nextId != numVertices();

    std::vector<int> counts, connects;
    counts.reserve(counts_.size());
    connects.reserve(connects_.size());
    for (int f = 0; f < numFaces(); ++f) {
        if (deleted[f]) continue;
        counts.push_back(counts_[f]);
        for (int k = offsets_[f]; k < offsets_[f + 1]; ++k) connects.push_back(newId[connects_[k]]);
    }
    for (UVSet& s : uvSets_) {
        if (s.faceVertexUVs.empty()) continue;
        std::vector<int> kept;
        kept.reserve(connects.size());
        for (int f = 0; f < numFaces(); ++f)
            if (!deleted[f])
                kept.insert(kept.end(), s.faceVertexUVs.begin() + offsets_[f],
                            s.faceVertexUVs.begin() + offsets_[f + 1]);
        s.faceVertexUVs = std::move(kept);
    }
    if (verticesRemoved) {
        std::vector<Vec3> points;
        points.reserve(static_cast<std::size_t>(nextId));
        for (std::size_t v = 0; v < points_.size(); ++v)
            if (newId[v] >= 0) points.push_back(points_[v]);
        points_ = std::move(points);
        std::unordered_set<std::uint64_t> hard;
        for (std::uint64_t key : hardEdges_)
            hard.insert(edgeKey(newId[key >> 32], newId[key & 0xffffffffu]));
        hardEdges_ = std::move(hard);
    }
    counts_ = std::move(counts);
    connects_ = std::move(connects);
    rebuildOffsets();
    changed(kPointsMoved | kPolygons | kSmoothing | kAttributes |
            (verticesRemoved ? kPointsRewritten : 0u));
}

}  // namespace ehost
