#include "host/src/mesh/MergeIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace ehost {

namespace {

constexpr std::size_t kInitialSlots = 1024;

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    h ^= h >> 31;
    return h;
}

}  // namespace

MergeIndex::Cell MergeIndex::cellCoord(double x) const {
    if (cellSize_ == 0) return std::bit_cast<Cell>(x + 0.0);  // + 0.0 folds -0 into +0
    // Clamping keeps far-away points correct (exact test) at the cost of sharing a cell.
    constexpr double kLimit = 4.0e18;
    double q = std::floor(x / cellSize_);
    return static_cast<Cell>(std::clamp(q, -kLimit, kLimit));
}

std::uint64_t MergeIndex::cellKey(Cell x, Cell y, Cell z) {
    std::uint64_t h = mix(static_cast<std::uint64_t>(x));
    h = mix(h ^ static_cast<std::uint64_t>(y));
    return mix(h ^ static_cast<std::uint64_t>(z));
}

std::size_t MergeIndex::slotFor(std::uint64_t key) const {
    const std::size_t mask = heads_.size() - 1;
    std::size_t s = key & mask;
    while (heads_[s] != -1 && keys_[s] != key) s = (s + 1) & mask;
    return s;
}

void MergeIndex::grow() {
    std::vector<std::uint64_t> oldKeys = std::move(keys_);
    std::vector<int> oldHeads = std::move(heads_);
    const std::size_t size = std::max(kInitialSlots, oldHeads.size() * 2);
    keys_.assign(size, 0);
    heads_.assign(size, -1);
    for (std::size_t i = 0; i < oldHeads.size(); ++i) {
        if (oldHeads[i] == -1) continue;
        std::size_t s = slotFor(oldKeys[i]);
        keys_[s] = oldKeys[i];
        heads_[s] = oldHeads[i];
    }
}

void MergeIndex::insert(int vertex, const Vec3& p) {
    if ((usedSlots_ + 1) * 2 > heads_.size()) grow();
    const std::uint64_t key = cellKey(cellCoord(p.x), cellCoord(p.y), cellCoord(p.z));
    const std::size_t s = slotFor(key);
    if (heads_[s] == -1) {
        keys_[s] = key;
        ++usedSlots_;
    }
    next_[vertex] = heads_[s];
    heads_[s] = vertex;
}

void MergeIndex::clear() {
    built_ = false;
    indexed_ = 0;
    usedSlots_ = 0;
    keys_.clear();
    heads_.clear();
    next_.clear();
}

void MergeIndex::rebuild(double tolerance, std::uint64_t pointsStamp,
                         const std::vector<Vec3>& points) {
    clear();
    built_ = true;
    tolerance_ = tolerance;
    cellSize_ = 2 * tolerance;
    stamp_ = pointsStamp;
    std::size_t slots = kInitialSlots;
    while (slots < points.size() * 2) slots *= 2;
    keys_.assign(slots, 0);
    heads_.assign(slots, -1);
    catchUp(points);
}

void MergeIndex::catchUp(const std::vector<Vec3>& points) {
    const int count = static_cast<int>(points.size());
    next_.resize(points.size(), -1);
    for (; indexed_ < count; ++indexed_) insert(indexed_, points[indexed_]);
}

int MergeIndex::findLowest(const std::vector<Vec3>& points, const Vec3& p) const {
    if (heads_.empty()) return -1;
    const double reach = cellSize_ == 0 ? 0.0 : tolerance_;
    const Cell x0 = cellCoord(p.x - reach), x1 = cellCoord(p.x + reach);
    const Cell y0 = cellCoord(p.y - reach), y1 = cellCoord(p.y + reach);
    const Cell z0 = cellCoord(p.z - reach), z1 = cellCoord(p.z + reach);
    const double limit = tolerance_ * tolerance_;
    int best = -1;
    for (Cell x = x0; x <= x1; ++x) {
        for (Cell y = y0; y <= y1; ++y) {
            for (Cell z = z0; z <= z1; ++z) {
                const std::size_t s = slotFor(cellKey(x, y, z));
                for (int v = heads_[s]; v != -1; v = next_[v]) {
                    if ((best == -1 || v < best) && lengthSquared(points[v] - p) <= limit) best = v;
                }
            }
        }
    }
    return best;
}

std::size_t MergeIndex::memoryBytes() const {
    return keys_.capacity() * sizeof(std::uint64_t) + (heads_.capacity() + next_.capacity()) * sizeof(int);
}

}  // namespace ehost
