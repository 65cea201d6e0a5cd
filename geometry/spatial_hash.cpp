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

std::optional<int> SpatialHash::findWithin(const Point& p, double tolerance) const {
    if (!(tolerance >= 0.0)) return std::nullopt;
    const auto reach = static_cast<std::int64_t>(std::max(1.0, std::ceil(tolerance / cellSize_)));
    const Cell centre = cellOf(p);
    const double limit = tolerance * tolerance;
    std::optional<int> best;
    for (std::int64_t dx = -reach; dx <= reach; ++dx) {
        for (std::int64_t dy = -reach; dy <= reach; ++dy) {
            for (std::int64_t dz = -reach; dz <= reach; ++dz) {
                const auto found = cells_.find({centre.x + dx, centre.y + dy, centre.z + dz});
                if (found == cells_.end()) continue;
                for (const Entry& e : found->second) {
                    if (lengthSquared(e.point - p) <= limit && (!best || e.id < *best)) best = e.id;
                }
            }
        }
    }
    return best;
}

}  // namespace geo
