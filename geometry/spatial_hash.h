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
    // cellSize must be positive; queries are cheapest with a tolerance no larger than it.
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

    Cell cellOf(const Point& p) const;
    std::int64_t cellCoordinate(double v) const;

    double cellSize_;
    std::unordered_map<Cell, std::vector<Entry>, CellHash> cells_;
};

}  // namespace geo
