#pragma once
// The engine's polygon mesh: points, polygons in the host's creation format,
// derived topology and normals, edge smoothing, UV sets, editing and ray /
// proximity queries. MFnMesh, the mesh iterators, MFnMeshData and the mesh shape
// node wrap it; it knows nothing of the API types.
//
// Conventions shared by the whole interface:
// - Ids are 0-based ints: vertex ids index points(), face ids index the
//   polygons, edge ids follow the numbering described at topology(), a
//   face-vertex is one corner of one polygon, numbered polygon after polygon
//   (the index into polygonConnects()).
// - A "local" index is a corner's position inside its polygon (0..n-1).
// - Everything is in object space, in double precision.
// - Functions that can fail return a MeshStatus (or a result carrying an
//   error text) and leave the mesh exactly as it was on failure; nothing throws
//   except std::bad_alloc. Reads with an out-of-range id return a neutral value
//   (-1, an empty span, a zero vector) rather than failing.
// - Derived data (topology, normals, bounds, BVH) is built on first use and
//   kept until a change makes it stale. Copies share what is built, so the DG
//   can hand out shared_ptr<const MeshGeometry> and copy on write. References
//   and spans returned by const functions stay valid until the next non-const
//   call on the same object.
// - Const functions may be called from several threads at once; non-const ones
//   need exclusive access, as for any standard container.

#include "host/src/core/Vec3.h"
#include "host/src/mesh/LazyCache.h"
#include "host/src/mesh/MergeIndex.h"
#include "host/src/mesh/MeshTopology.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace ehost {

class MeshBvh;

//! Success, or the reason an edit was refused.
struct MeshStatus {
    std::string error;  // empty on success

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
    static MeshStatus failure(std::string message) { return {std::move(message)}; }
};

struct AddPolygonResult {
    int face = -1;      // id of the new face on success
    std::string error;  // empty on success

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
};

struct FaceVertex {
    int face = -1;
    int local = -1;
};

struct BoundingBox {
    Vec3 min, max;
    bool empty = true;  // no points: min and max are meaningless

    Vec3 center() const { return (min + max) * 0.5; }
};

//! One ray hit. point = origin + rayParam * dir, recomputed in double against
//! the hit triangle. The triangle is the face's local fan triangle
//! (v0, v[t+1], v[t+2]); in its corners (A, B, C) the hit is
//! (1 - bary1 - bary2) * A + bary1 * B + bary2 * C.
struct RayHit {
    bool hit = false;
    Vec3 point;
    double rayParam = 0;
    int face = -1;
    int triangle = -1;
    double bary1 = 0, bary2 = 0;
};

//! Nearest point of the surface; barycentrics as in RayHit.
struct ClosestPointResult {
    bool found = false;
    Vec3 point;
    double distance = 0;
    int face = -1;
    int triangle = -1;
    double bary1 = 0, bary2 = 0;
};

class MeshGeometry {
public:
    static constexpr const char* kDefaultUVSet = "map1";
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();

    MeshGeometry();
    MeshGeometry(const MeshGeometry&);
    //! A moved-from mesh may only be destroyed or assigned to.
    MeshGeometry(MeshGeometry&&) noexcept;
    MeshGeometry& operator=(const MeshGeometry&);
    MeshGeometry& operator=(MeshGeometry&&) noexcept;
    ~MeshGeometry();

    //! Same points (bit for bit), polygons, hard edges and UV sets (names,
    //! current set, values, assignments). Caches and versions are ignored.
    bool operator==(const MeshGeometry& other) const;

    // ---- Creation --------------------------------------------------------

    //! Replaces the whole mesh: points, polygonCounts[i] corners for polygon i,
    //! and their vertex ids concatenated in polygonConnects. Refused (mesh
    //! unchanged) for a negative count, a polygon with fewer than 3 corners,
    //! counts not summing to the number of ids, an id out of range, a vertex
    //! repeated inside one polygon, or a non-finite coordinate. Points used by
    //! no polygon are allowed. Edge smoothing resets to all smooth and the UV
    //! sets to an empty default set.
    MeshStatus create(const std::vector<Vec3>& points, const std::vector<int>& polygonCounts,
                      const std::vector<int>& polygonConnects);
    //! The same, taking over the arrays rather than copying them (a mesh read
    //! from a file is not held twice); on a refusal they are left as given.
    MeshStatus create(std::vector<Vec3>&& points, std::vector<int>&& polygonCounts,
                      std::vector<int>&& polygonConnects);
    //! An empty mesh (no points, no polygons, only the empty default UV set).
    void clear();

    // ---- Sizes and polygons ----------------------------------------------

    int numVertices() const { return static_cast<int>(points_.size()); }
    int numFaces() const { return static_cast<int>(counts_.size()); }
    int numFaceVertices() const { return static_cast<int>(connects_.size()); }
    int numEdges() const { return topology().numEdges(); }

    const std::vector<int>& polygonCounts() const { return counts_; }
    const std::vector<int>& polygonConnects() const { return connects_; }
    //! numFaces() + 1 entries: face f's corners are connects[offsets[f] .. offsets[f+1]).
    const std::vector<int>& faceOffsets() const { return offsets_; }
    int polygonVertexCount(int face) const;
    std::span<const int> faceVertices(int face) const;
    //! Face-vertex id of a polygon corner, or -1.
    int faceVertexIndex(int face, int local) const;
    //! Face and local index of a face-vertex (binary search), or {-1, -1}.
    FaceVertex faceVertexLocation(int faceVertex) const;
    //! Number of fan triangles of a polygon (corners - 2).
    int numFaceTriangles(int face) const;
    //! Vertex ids of a polygon's fan triangle (v0, v[t+1], v[t+2]); {-1,-1,-1} if out of range.
    std::array<int, 3> faceTriangleVertices(int face, int triangle) const;

    // ---- Points -----------------------------------------------------------

    const std::vector<Vec3>& points() const { return points_; }
    Vec3 point(int vertex) const;
    //! Moves every vertex; the size must match and coordinates be finite.
    //! Topology, smoothing and UVs are kept.
    MeshStatus setPoints(const std::vector<Vec3>& points);
    MeshStatus setPoint(int vertex, const Vec3& position);
    BoundingBox boundingBox() const;

    // ---- Topology (built on first use) ------------------------------------
    //
    // Edge numbering: faces in order, each face's corners in order, edge
    // (v[i], v[(i+1)%n]); an undirected vertex pair met for the first time gets
    // the next edge id and keeps the vertex order in which it was met. Any
    // number of faces may share an edge (non-manifold meshes are allowed).

    const MeshTopology& topology() const;
    EdgeVertices edgeVertices(int edge) const;
    //! Faces using the edge, ascending.
    std::span<const int> edgeFaces(int edge) const;
    //! Used by exactly one face.
    bool isEdgeOnBoundary(int edge) const;
    //! The polygon's edges in corner order (edge i joins corner i and i+1).
    std::span<const int> faceEdges(int face) const;
    //! Edges touching the vertex, ascending.
    std::span<const int> vertexEdges(int vertex) const;
    //! Faces using the vertex, ascending.
    std::span<const int> vertexFaces(int vertex) const;
    //! The other end of each of vertexEdges(vertex), in the same order.
    std::vector<int> connectedVertices(int vertex) const;
    //! On at least one boundary edge.
    bool isVertexOnBoundary(int vertex) const;
    //! For edge (a, b) = edgeVertices(edge): the edges around a, then those around
    //! b, each ascending, without the edge itself.
    std::vector<int> edgesSharingVertex(int edge) const;
    //! The edge joining two vertices, or -1.
    int findEdge(int a, int b) const;

    // ---- Edge smoothing and normals ---------------------------------------
    //
    // Every edge is smooth unless made hard. Flags belong to the vertex pair, so
    // they survive point edits and stay with edges that persist through
    // addPolygon / deleteFace; edges made by addPolygon are smooth.

    bool isEdgeSmooth(int edge) const;
    MeshStatus setEdgeSmoothing(int edge, bool smooth);
    //! smoothFlags[i] != 0 makes edgeIds[i] smooth; checked before anything changes.
    MeshStatus setEdgeSmoothings(const std::vector<int>& edgeIds,
                                 const std::vector<int>& smoothFlags);
    //! 1 (smooth) or 0 (hard) per edge id.
    std::vector<int> edgeSmoothings() const;
    int numHardEdges() const { return static_cast<int>(hardEdges_.size()); }
    //! Normals always follow the flags (they are rebuilt lazily after each
    //! change); this rebuilds them now, like the host's call of that name.
    void cleanupEdgeSmoothing();

    //! Newell's method, normalized; zero for a degenerate polygon.
    Vec3 faceNormal(int face) const;
    //! Normalized sum of the unit normals of the faces using the vertex
    //! (edge smoothing is not considered).
    Vec3 vertexNormal(int vertex) const;
    //! Around the corner's vertex, faces joined through smooth edges form a
    //! smoothing group; the normal is the normalized sum of the unit normals of
    //! the corner's group, so hard edges split normals.
    Vec3 faceVertexNormal(int face, int local) const;
    const std::vector<Vec3>& faceNormals() const;
    const std::vector<Vec3>& vertexNormals() const;
    //! Indexed by face-vertex.
    const std::vector<Vec3>& faceVertexNormals() const;

    // ---- UV sets ------------------------------------------------------------
    //
    // Named sets; "map1" always exists. An empty set name means the current set.
    // Each set holds U and V arrays and, per face-vertex, a UV id or -1; a
    // polygon is either fully assigned or not at all.

    std::vector<std::string> uvSetNames() const;
    int numUVSets() const { return static_cast<int>(uvSets_.size()); }
    bool hasUVSet(std::string_view name) const;
    const std::string& currentUVSetName() const { return uvSets_[currentUVSet_].name; }
    MeshStatus setCurrentUVSet(std::string_view name);
    //! A new empty set; refused for an empty or existing name.
    MeshStatus createUVSet(std::string_view name);
    //! Refused for the default set; the current set falls back to the default.
    MeshStatus deleteUVSet(std::string_view name);

    //! 0 for an unknown set.
    int numUVs(std::string_view set = {}) const;
    //! Replaces the set's UV values; u and v must have equal sizes, finite
    //! values, and still cover every assigned UV id.
    MeshStatus setUVs(const std::vector<float>& u, const std::vector<float>& v,
                      std::string_view set = {});
    MeshStatus getUVs(std::vector<float>& u, std::vector<float>& v,
                      std::string_view set = {}) const;
    MeshStatus setUV(int uvId, float u, float v, std::string_view set = {});
    MeshStatus getUV(int uvId, float& u, float& v, std::string_view set = {}) const;
    //! Replaces the set's assignment: uvCounts has one entry per polygon, 0 or
    //! the polygon's corner count; uvIds lists the assigned polygons' UV ids
    //! corner by corner, each in [0, numUVs).
    MeshStatus assignUVs(const std::vector<int>& uvCounts, const std::vector<int>& uvIds,
                         std::string_view set = {});
    //! The assignment in assignUVs' format.
    MeshStatus getAssignedUVs(std::vector<int>& uvCounts, std::vector<int>& uvIds,
                              std::string_view set = {}) const;
    //! UV id of a polygon corner, -1 when unassigned or out of range.
    int polygonUVid(int face, int local, std::string_view set = {}) const;

    // ---- Editing --------------------------------------------------------------

    //! Appends a polygon through the given corners. With mergeVertices, a corner
    //! at distance <= tolerance of an existing vertex reuses the lowest such
    //! vertex id; every other corner becomes a new vertex numbered
    //! numVertices() at that moment. Refused for fewer than 3 corners, a
    //! non-finite coordinate, a negative or non-finite tolerance, or two corners
    //! resolving to the same vertex (two corners within tolerance of each other
    //! count as one vertex). The polygon has no UVs; its new edges are smooth.
    //! The merge search is a spatial hash kept between calls (O(1) per corner),
    //! rebuilt when the tolerance changes or points were changed otherwise.
    AddPolygonResult addPolygon(const std::vector<Vec3>& corners, bool mergeVertices,
                                double tolerance);
    //! Removes a face; later faces move down by one. Vertices that only the
    //! deleted face used are removed and the remaining vertices renumbered
    //! compactly in their previous order (points used by no face before the
    //! call are kept). Surviving faces keep their UV ids (UV values are not
    //! removed) and surviving edges their smoothing.
    MeshStatus deleteFace(int face);
    //! Same for several faces at once (duplicates allowed), in one pass.
    MeshStatus deleteFaces(const std::vector<int>& faces);

    // ---- Versions and bookkeeping --------------------------------------------
    //
    // Stamps come from one process-wide counter, so two different states of any
    // meshes never share a stamp (a copy shares its original's stamps).

    //! Changes with every edit of any kind.
    std::uint64_t version() const { return version_; }
    //! Changes when points move or polygons change.
    std::uint64_t geometryVersion() const { return geometryVersion_; }
    //! Changes when polygons (and so edges) change.
    std::uint64_t topologyVersion() const { return topologyVersion_; }
    //! Bytes held by this mesh and the caches it currently references.
    std::size_t memoryBytes() const;

    // ---- Ray and proximity queries (Embree BVH) ---------------------------------
    //
    // One BVH per geometry version, built on the first query and shared by all
    // later ones (and by copies) until points or polygons change. Embree finds
    // the triangle; the hit is then recomputed in double against the triangle's
    // double vertices, so hits on known geometry are exact. Front and back faces
    // are both hit. Rays with a zero or non-finite direction hit nothing.
    //
    // dir is not normalized: rayParam t is measured in units of dir's length.
    // Range: 0 <= t <= maxParam, or with testBothDirections |t| <= maxParam and
    // negative t for hits behind the origin; the range is applied to the
    // double-precision t. Edges and vertices are hit (Embree's watertight,
    // edge-inclusive robust mode). Whether a ray meets a triangle is Embree's
    // float decision in BVH-local coordinates (relative to the bounding-box
    // centre), so a ray passing a border edge within float rounding (about 1e-7
    // of the mesh's extent) may still hit it.
    //
    // tolerance (object-space distance): hits closer than that to each other
    // along the line are reported once (a ray through an edge or vertex shared
    // by several triangles, or through a polygon's fan diagonal, gives one hit;
    // the lowest face, then triangle, is kept). It does not widen triangles,
    // and closestIntersection, which reports one hit anyway, does not use it.
    //
    // faceFilter: when given, only those faces can be hit (any order).

    //! Nearest hit (smallest |t|; on a tie the forward hit).
    RayHit closestIntersection(const Vec3& origin, const Vec3& dir, double maxParam,
                               bool testBothDirections = false, double tolerance = 1e-6,
                               const std::vector<int>* faceFilter = nullptr) const;
    //! Every hit in range, in ascending t. (sortHits is accepted for the host
    //! API's sake; the kernel sorts anyway.)
    std::vector<RayHit> allIntersections(const Vec3& origin, const Vec3& dir, double maxParam,
                                         bool testBothDirections = false, double tolerance = 1e-6,
                                         bool sortHits = true,
                                         const std::vector<int>* faceFilter = nullptr) const;
    //! Every hit along the positive ray, nearest first.
    std::vector<RayHit> intersect(const Vec3& origin, const Vec3& dir,
                                  double tolerance = 1e-6) const;
    //! Nearest surface point within maxDistance (exact, in double); on equal
    //! distances the lowest face wins.
    ClosestPointResult closestPoint(const Vec3& p, double maxDistance = kInfinity) const;

    //! Builds the BVH now rather than on the first query.
    void prepareQueries() const;
    //! BVH builds done for this object (copies start from the original's count).
    std::uint64_t bvhBuildCount() const { return bvhBuilds_.load(); }
    //! Embree's error if the current BVH could not be built, else empty.
    std::string queryError() const;
    //! BVH builds done by every mesh in the process.
    static std::uint64_t totalBvhBuilds();

private:
    struct UVSet {
        std::string name;
        std::vector<float> u, v;
        std::vector<int> faceVertexUVs;  // empty: nothing assigned
    };

    // An atomic that copies by value (std::atomic itself is not copyable).
    struct Counter : std::atomic<std::uint64_t> {
        Counter() : std::atomic<std::uint64_t>(0) {}
        Counter(const Counter& o) : std::atomic<std::uint64_t>(o.load()) {}
        Counter& operator=(const Counter& o) {
            store(o.load());
            return *this;
        }
    };

    bool validFace(int face) const { return face >= 0 && face < numFaces(); }
    bool validVertex(int vertex) const { return vertex >= 0 && vertex < numVertices(); }
    bool validEdge(int edge) const { return edge >= 0 && edge < numEdges(); }
    static std::uint64_t edgeKey(int a, int b);
    bool isPairSmooth(int a, int b) const;

    const UVSet* findUVSet(std::string_view name) const;
    UVSet* findUVSet(std::string_view name);
    static std::string unknownUVSet(std::string_view name);

    const MeshBvh& bvh() const;

    // What an edit changed; changed() bumps the versions and drops stale caches.
    enum Change : unsigned {
        kPointsMoved = 1,      // positions (appends included)
        kPolygons = 2,         // polygons, hence edges
        kSmoothing = 4,        // hard-edge flags
        kAttributes = 8,       // UVs and UV sets
        kPointsRewritten = 16  // positions changed other than by appending
    };
    void changed(unsigned what);

    //! Why create would refuse the arrays, or empty.
    static std::string creationError(const std::vector<Vec3>& points,
                                     const std::vector<int>& polygonCounts,
                                     const std::vector<int>& polygonConnects);
    //! Create's changes once the arrays are in place.
    void created();
    void rebuildOffsets();
    void applyFaceDeletion(const std::vector<char>& deleted);
    //! Deleting the last faces (the last patch, say) without walking the whole
    //! mesh: false, with nothing changed, when the vertices they leave unused
    //! are not the last vertices, which the general deletion then handles.
    bool deleteTrailingFaces(int firstDeleted);

    std::vector<Vec3> points_;
    std::vector<int> counts_, connects_, offsets_;
    // Hard edges by undirected vertex pair; every key names an existing edge.
    std::unordered_set<std::uint64_t> hardEdges_;
    std::vector<UVSet> uvSets_;
    int currentUVSet_ = 0;

    std::uint64_t version_ = 0, geometryVersion_ = 0, topologyVersion_ = 0;
    // Changes when points change other than by addPolygon appending.
    std::uint64_t pointsStamp_ = 0;
    MergeIndex mergeIndex_;
    // How many face-vertices use each vertex, kept up to date by the edits
    // that append or trim faces at the end while it is valid.
    std::vector<int> useCounts_;
    bool useCountsValid_ = false;

    LazyCache<MeshTopology> topology_;
    LazyCache<std::vector<Vec3>> faceNormals_, vertexNormals_, faceVertexNormals_;
    LazyCache<BoundingBox> bounds_;
    LazyCache<MeshBvh> bvh_;
    mutable Counter bvhBuilds_;
};

}  // namespace ehost
