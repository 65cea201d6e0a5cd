#include "geometry/spatial_hash.h"

#include <algorithm>
#include <cmath>

namespace geo {
namespace {

// Far enough from the int64 limits that a neighbouring cell index never overflows.
constexpr double kCellLimit = 4.0e18;

}  // namespace

SpatialHash::SpatialHash(double cellSize) : cellSize_(cellSize > 0.0 ? cellSize : 1.0) {}

std::size_t SpatialHash::CellHash::operator()(const Cell& c) const {
    const auto mix = [](std::uint64_t h, std::int64_t v) {
        h ^= static_cast<std::uint64_t>(v) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        return h;
    };
    return static_cast<std::size_t>(mix(mix(mix(0, c.x), c.y), c.z));
}

std::int64_t SpatialHash::cellCoordinate(double v) const {
    const double q = std::floor(v / cellSize_);
    // NaN coordinates never match by distance; any cell will do for them.
    if (std::isnan(q)) return 0;
    return static_cast<std::int64_t>(std::clamp(q, -kCellLimit, kCellLimit));
}

SpatialHash::Cell SpatialHash::cellOf(const Point& p) const {
    return {cellCoordinate(p.x), cellCoordinate(p.y), cellCoordinate(p.z)};
}

void SpatialHash::insert(int id, const Point& p) {
    cells_[cellOf(p)].push_back({id, p});
}

void SpatialHash::clear() {
    cells_.clear();
}

void SpatialHash::searchCell(const std::vector<Entry>& entries, const Point& p, double limit,
                             std::optional<int>& best) {
    for (const Entry& e : entries) {
        if (lengthSquared(e.point - p) <= limit && (!best || e.id < *best)) best = e.id;
    }
}

std::optional<int> SpatialHash::findWithin(const Point& p, double tolerance) const {
    if (!(tolerance >= 0.0)) return std::nullopt;
    // Only the cells the box around the tolerance ball overlaps: with cells at least twice the
    // tolerance that is at most two per axis.
    const Cell low = cellOf(p - Vector{tolerance, tolerance, tolerance});
    const Cell high = cellOf(p + Vector{tolerance, tolerance, tolerance});
    const double limit = tolerance * tolerance;
    std::optional<int> best;
    const double boxCells =
        (double(high.x - low.x) + 1) * (double(high.y - low.y) + 1) * (double(high.z - low.z) + 1);
    // A tolerance far larger than the cells would visit more empty cells than there are
    // occupied ones; the occupied ones are then filtered instead.
    if (boxCells > double(cells_.size())) {
        for (const auto& [cell, entries] : cells_) {
            const bool inBox = cell.x >= low.x && cell.x <= high.x && cell.y >= low.y &&
                               cell.y <= high.y && cell.z >= low.z && cell.z <= high.z;
            if (inBox) searchCell(entries, p, limit, best);
        }
        return best;
    }
    for (std::int64_t x = low.x; x <= high.x; ++x) {
        for (std::int64_t y = low.y; y <= high.y; ++y) {
            for (std::int64_t z = low.z; z <= high.z; ++z) {
                const auto found = cells_.find({x, y, z});
                if (found != cells_.end()) searchCell(found->second, p, limit, best);
            }
        }
    }
    return best;
}

}  // namespace geo
