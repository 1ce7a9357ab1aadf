#include "OvrelModuleKit/lease/InputPassthrough.h"

#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/json/JsonFieldReader.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <QFile>

namespace ovrel::InputPassthrough {

QString file(const ModulePaths& paths) {
    return paths.inputPassthroughFile();
}

void acquire(const QString& owner, double ttl, const ModulePaths& paths, UnixTime::TimePoint now) {
    const double until = UnixTime::toSeconds(now) + ttl;
    OrderedJsonWriter writer;
    writer.beginObject();
    writer.key(u"owner").string(owner);
    writer.key(u"until").number(until);
    writer.endObject();
    AtomicFile::write(file(paths), writer.bytes());
    ModuleNotify::post(notificationName);
}

void release(const ModulePaths& paths) {
    QFile::remove(file(paths));
    ModuleNotify::post(notificationName);
}

bool isActive(const ModulePaths& paths, UnixTime::TimePoint now) {
    const std::optional<InputPassthroughLease> current = lease(paths);
    return current && UnixTime::toSeconds(now) < current->until;
}

std::optional<InputPassthroughLease> lease(const ModulePaths& paths) {
    const BoundedFile::ReadResult loaded = BoundedFile::read(file(paths), kMaxFileBytes);
    if (loaded.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    const std::optional<JsonValue> object = JsonFieldReader::parseObject(loaded.bytes);
    if (!object)
        return std::nullopt;
    const auto owner = JsonFieldReader::string(*object, u"owner");
    const auto until = JsonFieldReader::number(*object, u"until");
    if (!owner.isPresent() || !until.isPresent())
        return std::nullopt;
    return InputPassthroughLease{owner.value, until.value};
}

} // namespace ovrel::InputPassthrough
