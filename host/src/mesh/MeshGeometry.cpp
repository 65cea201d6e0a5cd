#include "host/src/mesh/MeshGeometry.h"

#include "host/src/mesh/MeshBvh.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ehost {

namespace {

std::atomic<std::uint64_t> gStampCounter{0};

std::uint64_t nextStamp() {
    return gStampCounter.fetch_add(1, std::memory_order_relaxed) + 1;
}

bool finite(const Vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

std::string findNonFinitePoint(const std::vector<Vec3>& points, const char* what) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!finite(points[i]))
            return std::string(what) + " " + std::to_string(i) + " has a non-finite coordinate";
    }
    return {};
}

// Index (into ids) of a vertex that appears twice, or -1. Polygons are short,
// so a pairwise scan; long ones are sorted instead.
int repeatedVertex(std::span<const int> ids) {
    constexpr std::size_t kPairwiseLimit = 16;
    if (ids.size() <= kPairwiseLimit) {
        for (std::size_t i = 1; i < ids.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (ids[i] == ids[j]) return ids[i];
        return -1;
    }
    std::vector<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    auto it = std::adjacent_find(sorted.begin(), sorted.end());
    return it == sorted.end() ? -1 : *it;
}

std::string validatePolygons(std::size_t numPoints, const std::vector<int>& counts,
                             const std::vector<int>& connects) {
    long long total = 0;
    for (std::size_t f = 0; f < counts.size(); ++f) {
        if (counts[f] < 0)
            return "polygon " + std::to_string(f) + " has a negative vertex count (" +
                   std::to_string(counts[f]) + ")";
        if (counts[f] < 3)
            return "polygon " + std::to_string(f) + " has " + std::to_string(counts[f]) +
                   " vertices; a polygon needs at least 3";
        total += counts[f];
    }
    if (total != static_cast<long long>(connects.size()))
        return "the polygon counts add up to " + std::to_string(total) + " vertex ids but " +
               std::to_string(connects.size()) + " were given";
    if (total > std::numeric_limits<int>::max()) return "too many polygon corners for one mesh";
    std::size_t begin = 0;
    for (std::size_t f = 0; f < counts.size(); ++f) {
        std::span<const int> ids(connects.data() + begin, static_cast<std::size_t>(counts[f]));
        for (int id : ids) {
            if (id < 0 || static_cast<std::size_t>(id) >= numPoints)
                return "polygon " + std::to_string(f) + " uses vertex id " + std::to_string(id) +
                       ", but the mesh has " + std::to_string(numPoints) + " points";
        }
        if (int v = repeatedVertex(ids); v >= 0)
            return "polygon " + std::to_string(f) + " uses vertex " + std::to_string(v) +
                   " more than once";
        begin += ids.size();
    }
    return {};
}

}  // namespace

MeshGeometry::MeshGeometry() {
    uvSets_.push_back(UVSet{kDefaultUVSet, {}, {}, {}});
    offsets_.push_back(0);
    changed(kPointsMoved | kPolygons | kSmoothing | kAttributes | kPointsRewritten);
}

MeshGeometry::MeshGeometry(const MeshGeometry&) = default;
MeshGeometry::MeshGeometry(MeshGeometry&&) noexcept = default;
MeshGeometry& MeshGeometry::operator=(const MeshGeometry&) = default;
MeshGeometry& MeshGeometry::operator=(MeshGeometry&&) noexcept = default;
MeshGeometry::~MeshGeometry() = default;

bool MeshGeometry::operator==(const MeshGeometry& other) const {
    if (points_.size() != other.points_.size() || counts_ != other.counts_ ||
        connects_ != other.connects_ || hardEdges_ != other.hardEdges_ ||
        currentUVSet_ != other.currentUVSet_ || uvSets_.size() != other.uvSets_.size())
        return false;
    // Bit for bit: -0 and +0 differ, as they would in a saved file.
    if (!points_.empty() &&
        std::memcmp(points_.data(), other.points_.data(), points_.size() * sizeof(Vec3)) != 0)
        return false;
    for (std::size_t i = 0; i < uvSets_.size(); ++i) {
        const UVSet &a = uvSets_[i], &b = other.uvSets_[i];
        if (a.name != b.name || a.u != b.u || a.v != b.v) return false;
        // An empty assignment list and one full of -1 say the same thing.
        auto assigned = [](const UVSet& s, std::size_t k) {
            return s.faceVertexUVs.empty() ? -1 : s.faceVertexUVs[k];
        };
        for (std::size_t k = 0; k < connects_.size(); ++k)
            if (assigned(a, k) != assigned(b, k)) return false;
    }
    return true;
}

void MeshGeometry::changed(unsigned what) {
    const std::uint64_t stamp = nextStamp();
    version_ = stamp;
    if (what & (kPointsMoved | kPolygons | kPointsRewritten)) {
        geometryVersion_ = stamp;
        faceNormals_.reset();
        vertexNormals_.reset();
        faceVertexNormals_.reset();
        bounds_.reset();
        bvh_.reset();
    }
    if (what & kPolygons) {
        topologyVersion_ = stamp;
        topology_.reset();
        useCountsValid_ = false;
    }
    if (what & kSmoothing) faceVertexNormals_.reset();
    if (what & kPointsRewritten) pointsStamp_ = stamp;
}

// ---- Creation -------------------------------------------------------------------

std::string MeshGeometry::creationError(const std::vector<Vec3>& points,
                                        const std::vector<int>& polygonCounts,
                                        const std::vector<int>& polygonConnects) {
    if (points.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return "too many points for one mesh";
    if (std::string e = findNonFinitePoint(points, "point"); !e.empty()) return e;
    return validatePolygons(points.size(), polygonCounts, polygonConnects);
}

MeshStatus MeshGeometry::create(const std::vector<Vec3>& points,
                                const std::vector<int>& polygonCounts,
                                const std::vector<int>& polygonConnects) {
    if (std::string e = creationError(points, polygonCounts, polygonConnects); !e.empty())
        return MeshStatus::failure(e);
    points_ = points;
    counts_ = polygonCounts;
    connects_ = polygonConnects;
    created();
    return {};
}

MeshStatus MeshGeometry::create(std::vector<Vec3>&& points, std::vector<int>&& polygonCounts,
                                std::vector<int>&& polygonConnects) {
    if (std::string e = creationError(points, polygonCounts, polygonConnects); !e.empty())
        return MeshStatus::failure(e);
    points_ = std::move(points);
    counts_ = std::move(polygonCounts);
    connects_ = std::move(polygonConnects);
    created();
    return {};
}

void MeshGeometry::created() {
    rebuildOffsets();
    hardEdges_.clear();
    uvSets_.assign(1, UVSet{kDefaultUVSet, {}, {}, {}});
    currentUVSet_ = 0;
    changed(kPointsMoved | kPolygons | kSmoothing | kAttributes | kPointsRewritten);
}

void MeshGeometry::clear() {
    create({}, {}, {});
}

void MeshGeometry::rebuildOffsets() {
    offsets_.resize(counts_.size() + 1);
    offsets_[0] = 0;
    for (std::size_t f = 0; f < counts_.size(); ++f) offsets_[f + 1] = offsets_[f] + counts_[f];
}

// ---- Polygons -------------------------------------------------------------------

int MeshGeometry::polygonVertexCount(int face) const {
    return validFace(face) ? counts_[face] : 0;
}

std::span<const int> MeshGeometry::faceVertices(int face) const {
    if (!validFace(face)) return {};
    return {connects_.data() + offsets_[face], static_cast<std::size_t>(counts_[face])};
}

int MeshGeometry::faceVertexIndex(int face, int local) const {
    if (!validFace(face) || local < 0 || local >= counts_[face]) return -1;
    return offsets_[face] + local;
}

FaceVertex MeshGeometry::faceVertexLocation(int faceVertex) const {
    if (faceVertex < 0 || faceVertex >= numFaceVertices()) return {};
    auto it = std::upper_bound(offsets_.begin(), offsets_.end(), faceVertex);
    const int face = static_cast<int>(it - offsets_.begin()) - 1;
    return {face, faceVertex - offsets_[face]};
}

int MeshGeometry::numFaceTriangles(int face) const {
    return validFace(face) ? counts_[face] - 2 : 0;
}

std::array<int, 3> MeshGeometry::faceTriangleVertices(int face, int triangle) const {
    if (!validFace(face) || triangle < 0 || triangle >= counts_[face] - 2) return {-1, -1, -1};
    const int* v = connects_.data() + offsets_[face];
    return {v[0], v[triangle + 1], v[triangle + 2]};
}

// ---- Points ---------------------------------------------------------------------

Vec3 MeshGeometry::point(int vertex) const {
    return validVertex(vertex) ? points_[vertex] : Vec3{};
}

MeshStatus MeshGeometry::setPoints(const std::vector<Vec3>& points) {
    if (points.size() != points_.size())
        return MeshStatus::failure("setPoints was given " + std::to_string(points.size()) +
                                   " points for a mesh of " + std::to_string(points_.size()) +
                                   " vertices");
    if (std::string e = findNonFinitePoint(points, "point"); !e.empty())
        return MeshStatus::failure(e);
    points_ = points;
    changed(kPointsMoved | kPointsRewritten);
    return {};
}

MeshStatus MeshGeometry::setPoint(int vertex, const Vec3& position) {
    if (!validVertex(vertex))
        return MeshStatus::failure("vertex id " + std::to_string(vertex) +
                                   " is out of range (the mesh has " +
                                   std::to_string(points_.size()) + " vertices)");
    if (!finite(position))
        return MeshStatus::failure("the new position has a non-finite coordinate");
    points_[vertex] = position;
    changed(kPointsMoved | kPointsRewritten);
    return {};
}

BoundingBox MeshGeometry::boundingBox() const {
    return bounds_.get([this] {
        auto box = std::make_shared<BoundingBox>();
        for (const Vec3& p : points_) {
            if (box->empty) {
                box->min = box->max = p;
                box->empty = false;
                continue;
            }
            for (int a = 0; a < 3; ++a) {
                box->min[a] = std::min(box->min[a], p[a]);
                box->max[a] = std::max(box->max[a], p[a]);
            }
        }
        return std::shared_ptr<const BoundingBox>(std::move(box));
    });
}

// ---- Topology -------------------------------------------------------------------

const MeshTopology& MeshGeometry::topology() const {
    return topology_.get([this] {
        return std::make_shared<const MeshTopology>(
            MeshTopology::build(numVertices(), offsets_, connects_));
    });
}

EdgeVertices MeshGeometry::edgeVertices(int edge) const {
    return validEdge(edge) ? topology().edgeVertices(edge) : EdgeVertices{};
}

std::span<const int> MeshGeometry::edgeFaces(int edge) const {
    return validEdge(edge) ? topology().edgeFaces(edge) : std::span<const int>{};
}

bool MeshGeometry::isEdgeOnBoundary(int edge) const {
    return validEdge(edge) && topology().isBoundaryEdge(edge);
}

std::span<const int> MeshGeometry::faceEdges(int face) const {
    if (!validFace(face)) return {};
    return {topology().faceVertexEdges().data() + offsets_[face],
            static_cast<std::size_t>(counts_[face])};
}

std::span<const int> MeshGeometry::vertexEdges(int vertex) const {
    return validVertex(vertex) ? topology().vertexEdges(vertex) : std::span<const int>{};
}

std::span<const int> MeshGeometry::vertexFaces(int vertex) const {
    return validVertex(vertex) ? topology().vertexFaces(vertex) : std::span<const int>{};
}

std::vector<int> MeshGeometry::connectedVertices(int vertex) const {
    std::vector<int> result;
    for (int e : vertexEdges(vertex)) {
        EdgeVertices ev = topology().edgeVertices(e);
        result.push_back(ev.first == vertex ? ev.second : ev.first);
    }
    return result;
}

bool MeshGeometry::isVertexOnBoundary(int vertex) const {
    for (int e : vertexEdges(vertex))
        if (topology().isBoundaryEdge(e)) return true;
    return false;
}

std::vector<int> MeshGeometry::edgesSharingVertex(int edge) const {
    std::vector<int> result;
    if (!validEdge(edge)) return result;
    // Only the edge itself joins both ends, so the two lists never repeat an edge.
    const EdgeVertices ends = topology().edgeVertices(edge);
    for (int end : {ends.first, ends.second})
        for (int e : topology().vertexEdges(end))
            if (e != edge) result.push_back(e);
    return result;
}

int MeshGeometry::findEdge(int a, int b) const {
    if (!validVertex(a) || !validVertex(b)) return -1;
    return topology().findEdge(a, b);
}

// ---- Bookkeeping ----------------------------------------------------------------

std::size_t MeshGeometry::memoryBytes() const {
    std::size_t bytes =
        sizeof(MeshGeometry) + points_.capacity() * sizeof(Vec3) +
        (counts_.capacity() + connects_.capacity() + offsets_.capacity()) * sizeof(int);
    // Node-based set: key, hash link and allocation overhead per entry.
    bytes += hardEdges_.size() * 32 + hardEdges_.bucket_count() * sizeof(void*);
    for (const UVSet& s : uvSets_)
        bytes += s.name.capacity() + (s.u.capacity() + s.v.capacity()) * sizeof(float) +
                 s.faceVertexUVs.capacity() * sizeof(int);
    bytes += mergeIndex_.memoryBytes();
    if (const MeshTopology* t = topology_.peek()) bytes += t->memoryBytes();
    for (const auto* cache : {&faceNormals_, &vertexNormals_, &faceVertexNormals_})
        if (const std::vector<Vec3>* n = cache->peek()) bytes += n->capacity() * sizeof(Vec3);
    if (const MeshBvh* b = bvh_.peek()) bytes += b->memoryBytes();
    return bytes;
}

}  // namespace ehost
