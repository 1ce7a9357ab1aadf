#pragma once

#include "OvrelHub/update/UpdateRelease.h"

#include <optional>

namespace ovrel {

// The outcome of one look at the version feed.
struct CheckResult {
    enum class Kind { available, upToDate, failed };

    Kind kind = Kind::failed;
    std::optional<UpdateRelease> release; // set exactly when available

    static CheckResult available(UpdateRelease release) {
        return {Kind::available, std::move(release)};
    }
    static CheckResult upToDate() { return {Kind::upToDate, std::nullopt}; }
    static CheckResult failed() { return {Kind::failed, std::nullopt}; }

    bool operator==(const CheckResult&) const = default;
};

} // namespace ovrel
