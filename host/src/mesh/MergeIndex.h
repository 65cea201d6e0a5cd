#pragma once
// Spatial hash over a mesh's points for addPolygon's vertex merging. Cells are
// eight tolerances wide: the ball of radius tolerance around a query point
// touches one or two cells per axis, about 2 cells on average (two-tolerance
// cells would always need 8 probes, each a likely cache miss on big meshes),
// while vertices, normally much further apart than the tolerance, still rarely
// share a cell. Candidates in those cells get an exact distance test. Points
// are appended as the mesh grows, so appending N polygons one by one costs
// O(N) in total.

#include "host/src/core/Vec3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ehost {

class MergeIndex {
public:
    MergeIndex() = default;
    // A copy starts empty and is rebuilt on its first merge: most copies of a
    // mesh never append, and the index is as large as the point list.
    MergeIndex(const MergeIndex&) {}
    MergeIndex& operator=(const MergeIndex&) {
        clear();
        return *this;
    }
    MergeIndex(MergeIndex&&) noexcept = default;
    MergeIndex& operator=(MergeIndex&&) noexcept = default;

    //! True when the index was built for this tolerance over the points as they
    //! were at pointsStamp (appends since then are picked up by catchUp).
    bool matches(double tolerance, std::uint64_t pointsStamp) const {
        return built_ && tolerance == tolerance_ && pointsStamp == stamp_;
    }
    void rebuild(double tolerance, std::uint64_t pointsStamp, const std::vector<Vec3>& points);
    //! Indexes the points appended since the last rebuild or catchUp.
    void catchUp(const std::vector<Vec3>& points);
    //! Lowest indexed vertex id within the tolerance of p (distance <= tolerance), or -1.
    int findLowest(const std::vector<Vec3>& points, const Vec3& p) const;
    void clear();
    std::size_t memoryBytes() const;

private:
    using Cell = std::int64_t;
    Cell cellCoord(double x) const;
    static std::uint64_t cellKey(Cell x, Cell y, Cell z);
    std::size_t slotFor(std::uint64_t key) const;
    void insert(int vertex, const Vec3& p);
    void resize(const std::vector<Vec3>& points, std::size_t size);

    bool built_ = false;
    double tolerance_ = 0;
    double cellSize_ = 0;  // 0: exact matching, keyed by the coordinates' bits
    std::uint64_t stamp_ = 0;
    int indexed_ = 0;
    // Open addressing over 8-byte slots (a probe touches one cache line): the
    // cell hash picks the start slot and its upper half is the slot's tag; head
    // -1 marks an empty slot. next_ chains the vertices of one cell. Different
    // cells that share a tag and a probe run share a chain, which only costs a
    // few more exact distance tests.
    struct Slot {
        std::uint32_t tag = 0;
        int head = -1;
    };
    std::vector<Slot> slots_;
    std::vector<int> next_;
    std::size_t usedSlots_ = 0;
};

}  // namespace ehost
