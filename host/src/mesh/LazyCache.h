#pragma once
// A derived value of a mesh (topology, normals, BVH ...) that is built on first
// use and then shared read-only. Copies of a mesh share the built value, so a
// copy-on-write duplicate costs nothing until one side changes; a change only
// drops that side's reference. Const readers may race on the first build, so the
// build runs under a lock while later reads take a lock-free fast path.

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

namespace ehost {

template <class T>
class LazyCache {
public:
    LazyCache() = default;
    LazyCache(const LazyCache& other) { adopt(other.snapshot()); }
    LazyCache(LazyCache&& other) noexcept { adopt(other.snapshot()); }
    LazyCache& operator=(const LazyCache& other) {
        if (this != &other) adopt(other.snapshot());
        return *this;
    }
    LazyCache& operator=(LazyCache&& other) noexcept {
        if (this != &other) adopt(other.snapshot());
        return *this;
    }

    //! The value, built by build() (returning std::shared_ptr<const T>) if absent.
    template <class Build>
    const T& get(Build&& build) const {
        if (const T* ready = ready_.load(std::memory_order_acquire)) return *ready;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!value_) value_ = build();
        ready_.store(value_.get(), std::memory_order_release);
        return *value_;
    }

    //! The value if it has been built, else null; never builds.
    const T* peek() const { return ready_.load(std::memory_order_acquire); }

    //! Drops this holder's reference; other copies keep theirs. Called by
    //! mutators only (which have exclusive access), so an empty cache can be
    //! seen without the lock: edits in a loop stay cheap.
    void reset() {
        if (ready_.load(std::memory_order_relaxed)) adopt(nullptr);
    }

private:
    std::shared_ptr<const T> snapshot() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return value_;
    }
    void adopt(std::shared_ptr<const T> value) {
        std::lock_guard<std::mutex> lock(mutex_);
        value_ = std::move(value);
        ready_.store(value_.get(), std::memory_order_release);
    }

    mutable std::mutex mutex_;
    mutable std::shared_ptr<const T> value_;
    mutable std::atomic<const T*> ready_{nullptr};
};

}  // namespace ehost
