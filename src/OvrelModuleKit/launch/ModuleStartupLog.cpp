#include "OvrelModuleKit/launch/ModuleStartupLog.h"

#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <algorithm>

namespace ovrel {

namespace {

std::vector<double> readSeconds(const QString& file) {
    const BoundedFile::ReadResult loaded = BoundedFile::read(file, ModuleStartupLog::kMaxFileBytes);
    if (loaded.status != BoundedFile::ReadResult::Status::ok)
        return {};
    const std::optional<JsonValue> json = JsonReader::parse(loaded.bytes);
    if (!json || !json->isArray())
        return {};
    std::vector<double> seconds;
    seconds.reserve(json->toArray().size());
    for (const JsonValue& item : json->toArray()) {
        // One entry that is not a time makes the whole list unusable, as a
        // strict decoder would.
        if (!item.isNumber() || !UnixTime::fromSeconds(item.toReal()))
            return {};
        seconds.push_back(item.toReal());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds;
}

} // namespace

ModuleStartupLog::ModuleStartupLog(ModulePaths paths, QString id, int maxEntries)
    : m_paths(std::move(paths)), m_id(std::move(id)), m_maxEntries(std::max(maxEntries, 1)) {}

std::vector<UnixTime::TimePoint> ModuleStartupLog::timestamps() const {
    if (!ModulePaths::isValidModuleId(m_id))
        return {};
    std::vector<UnixTime::TimePoint> times;
    for (double seconds : readSeconds(file()))
        times.push_back(*UnixTime::fromSeconds(seconds));
    return times;
}

void ModuleStartupLog::record(UnixTime::TimePoint at) const {
    // The id becomes a path component: nothing outside the tree is touched.
    if (!ModulePaths::isValidModuleId(m_id))
        return;
    std::vector<double> seconds = readSeconds(file());
    const double now = UnixTime::toSeconds(at);
    // Kept ascending even when the clock was set back, so the entries dropped
    // below are always the oldest.
    seconds.insert(std::upper_bound(seconds.begin(), seconds.end(), now), now);
    const auto excess = static_cast<std::ptrdiff_t>(seconds.size()) - m_maxEntries;
    if (excess > 0)
        seconds.erase(seconds.begin(), seconds.begin() + excess);
    try {
        AtomicFile::write(file(), encode(seconds));
    } catch (const std::exception&) {
        // Recording must never stop a start.
    }
}

QByteArray ModuleStartupLog::encode(const std::vector<double>& seconds) {
    OrderedJsonWriter writer;
    writer.beginArray();
    for (double value : seconds)
        writer.number(value);
    writer.endArray();
    return writer.bytes();
}

} // namespace ovrel
