#pragma once
// Spatial hash over a mesh's points for addPolygon's vertex merging. Cells are
// twice the tolerance wide, so the ball of radius tolerance around a query point
// touches at most two cells per axis; candidates in those cells get an exact
// distance test. Points are appended as the mesh grows, so appending N polygons
// one by one costs O(N) in total.

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
    void grow();

    bool built_ = false;
    double tolerance_ = 0;
    double cellSize_ = 0;  // 0: exact matching, keyed by the coordinates' bits
    std::uint64_t stamp_ = 0;
    int indexed_ = 0;
    // Open addressing: keys_[s] / heads_[s] (-1 = empty slot); next_ chains the
    // vertices of one cell. Different cells sharing a key only lengthen a chain.
    std::vector<std::uint64_t> keys_;
    std::vector<int> heads_;
    std::vector<int> next_;
    std::size_t usedSlots_ = 0;
};

}  // namespace ehost
