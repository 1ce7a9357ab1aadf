#pragma once

#include "OvrelHub/runner/BundleStamp.h"

#include <cstddef>
#include <mutex>
#include <unordered_set>

namespace ovrel {

// The bundles whose signature passed in this process, by stamp. Only passes
// are kept, never failures, and nothing is ever removed: a replaced bundle
// simply stops matching its old stamp. Safe to use from any thread; the lock
// is held only while the set is read or changed.
class VerifiedBundleCache {
public:
    bool contains(const BundleStamp& stamp) const;
    void insert(const BundleStamp& stamp);
    std::size_t size() const;

private:
    mutable std::mutex m_lock;
    std::unordered_set<BundleStamp> m_stamps;
};

} // namespace ovrel
