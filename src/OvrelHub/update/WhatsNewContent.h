#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/update/UpdateRelease.h"

#include <QString>
#include <optional>

namespace ovrel {

// The texts of the What's New window, already in the interface language.
struct WhatsNewContent {
    QString title;
    QString version;
    std::optional<QString> date; // the first 10 characters of publishedAt
    QString notes;               // "—" when the release has none
    QString download;
    QString later;

    static WhatsNewContent of(const UpdateRelease& release, AppLanguage language);

    bool operator==(const WhatsNewContent&) const = default;
};

} // namespace ovrel
