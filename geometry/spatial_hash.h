#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "geometry/point.h"

namespace geo {

// Finds stored points near a query point in near-constant time: points are bucketed in cubic
// cells, and a query looks only at the cells the tolerance can reach.
class SpatialHash {
public:
    // A non-positive cellSize is replaced by 1. Queries visit the cells the tolerance reaches (or
    // the occupied cells, when those are fewer), so they are cheapest with cells about twice the
    // tolerance.
    explicit SpatialHash(double cellSize);

    void insert(int id, const Point& p);
    void clear();
    double cellSize() const { return cellSize_; }

    // The lowest id among the stored points within `tolerance` (inclusive) of p, so that the
    // answer does not depend on bucket order. Nothing for a negative tolerance.
    std::optional<int> findWithin(const Point& p, double tolerance) const;

private:
    struct Cell {
        std::int64_t x, y, z;
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    struct CellHash {
        std::size_t operator()(const Cell& c) const;
    };
    struct Entry {
        int id;
        Point point;
    };

    static void searchCell(const std::vector<Entry>& entries, const Point& p, double limit,
                           std::optional<int>& best);
    Cell cellOf(const Point& p) const;
    std::int64_t cellCoordinate(double v) const;

    double cellSize_;
    std::unordered_map<Cell, std::vector<Entry>, CellHash> cells_;
};

}  // namespace geo
