#include "host/src/mesh/MergeIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace ehost {

namespace {

constexpr std::size_t kInitialSlots = 1024;
constexpr double kCellsPerTolerance = 8;

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    h ^= h >> 31;
    return h;
}

}  // namespace

// inline: these sit on the per-corner path and would otherwise go through the
// shared library's PLT.
inline MergeIndex::Cell MergeIndex::cellCoord(double x) const {
    if (cellSize_ == 0) return std::bit_cast<Cell>(x + 0.0);  // + 0.0 folds -0 into +0
    // Cell borders are shifted by an irrational fraction of a cell so that
    // points on round coordinates (grids, integer inputs) sit inside cells, not
    // on their borders where every query would need two cells per axis.
    constexpr double kShift = 0.3819660112501051;
    // Clamping keeps far-away points correct (exact test) at the cost of sharing a cell.
    constexpr double kLimit = 4.0e18;
    double q = std::floor(x / cellSize_ + kShift);
    return static_cast<Cell>(std::clamp(q, -kLimit, kLimit));
}

inline std::uint64_t MergeIndex::cellKey(Cell x, Cell y, Cell z) {
    std::uint64_t h = mix(static_cast<std::uint64_t>(x));
    h = mix(h ^ static_cast<std::uint64_t>(y));
    return mix(h ^ static_cast<std::uint64_t>(z));
}

inline std::size_t MergeIndex::slotFor(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(key >> 32);
    std::size_t s = key & mask;
    while (slots_[s].head != -1 && slots_[s].tag != tag) s = (s + 1) & mask;
    return s;
}

void MergeIndex::resize(const std::vector<Vec3>& points, std::size_t size) {
    // Slots keep only a tag, so the indexed points are hashed again.
    slots_.assign(size, Slot{});
    usedSlots_ = 0;
    for (int v = 0; v < indexed_; ++v) insert(v, points[v]);
}

void MergeIndex::insert(int vertex, const Vec3& p) {
    const std::uint64_t key = cellKey(cellCoord(p.x), cellCoord(p.y), cellCoord(p.z));
    Slot& slot = slots_[slotFor(key)];
    if (slot.head == -1) {
        slot.tag = static_cast<std::uint32_t>(key >> 32);
        ++usedSlots_;
    }
    next_[vertex] = slot.head;
    slot.head = vertex;
}

void MergeIndex::clear() {
    built_ = false;
    indexed_ = 0;
    usedSlots_ = 0;
    slots_.clear();
    next_.clear();
}

void MergeIndex::rebuild(double tolerance, std::uint64_t pointsStamp,
                         const std::vector<Vec3>& points) {
    clear();
    built_ = true;
    tolerance_ = tolerance;
    cellSize_ = kCellsPerTolerance * tolerance;
    stamp_ = pointsStamp;
    catchUp(points);
}

void MergeIndex::catchUp(const std::vector<Vec3>& points) {
    const int count = static_cast<int>(points.size());
    next_.resize(points.size(), -1);
    // Each new point fills at most one slot; keep the load at most one half.
    const std::size_t needed = 2 * (usedSlots_ + static_cast<std::size_t>(count - indexed_));
    if (needed > slots_.size()) {
        std::size_t size = std::max(kInitialSlots, slots_.size());
        while (size < needed) size *= 2;
        resize(points, size);
    }
    for (; indexed_ < count; ++indexed_) insert(indexed_, points[indexed_]);
}

int MergeIndex::findLowest(const std::vector<Vec3>& points, const Vec3& p) const {
    if (slots_.empty()) return -1;
    const double reach = cellSize_ == 0 ? 0.0 : tolerance_;
    const Cell x0 = cellCoord(p.x - reach), x1 = cellCoord(p.x + reach);
    const Cell y0 = cellCoord(p.y - reach), y1 = cellCoord(p.y + reach);
    const Cell z0 = cellCoord(p.z - reach), z1 = cellCoord(p.z + reach);
    const double limit = tolerance_ * tolerance_;
    int best = -1;
    for (Cell x = x0; x <= x1; ++x) {
        for (Cell y = y0; y <= y1; ++y) {
            for (Cell z = z0; z <= z1; ++z) {
                for (int v = slots_[slotFor(cellKey(x, y, z))].head; v != -1; v = next_[v]) {
                    if ((best == -1 || v < best) && lengthSquared(points[v] - p) <= limit) best = v;
                }
            }
        }
    }
    return best;
}

std::size_t MergeIndex::memoryBytes() const {
    return slots_.capacity() * sizeof(Slot) + next_.capacity() * sizeof(int);
}

}  // namespace ehost
