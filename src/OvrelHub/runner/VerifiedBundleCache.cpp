#include "OvrelHub/runner/VerifiedBundleCache.h"

namespace ovrel {

bool VerifiedBundleCache::contains(const BundleStamp& stamp) const {
    const std::lock_guard guard(m_lock);
    return m_stamps.count(stamp) != 0;
}

void VerifiedBundleCache::insert(const BundleStamp& stamp) {
    const std::lock_guard guard(m_lock);
    m_stamps.insert(stamp);
}

std::size_t VerifiedBundleCache::size() const {
    const std::lock_guard guard(m_lock);
    return m_stamps.size();
}

} // namespace ovrel
