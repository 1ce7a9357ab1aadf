#include "OvrelModuleKit/menu/DynamicMenuFile.h"

#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "OvrelModuleKit/text/Graphemes.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>

namespace ovrel::DynamicMenuFile {

namespace {

QString prefix(const QString& id) {
    return QStringLiteral("Ovrel: menu động của module ") + id;
}

void logTooLarge(const QString& id) {
    SystemLog::write(prefix(id) + QStringLiteral(" lớn hơn ") +
                     QString::number(DynamicMenuFile::maxFileBytes) +
                     QStringLiteral(" byte — bỏ qua"));
}

void logUndecodable(const QString& id) {
    SystemLog::write(prefix(id) + QStringLiteral(" không đọc được — bỏ qua"));
}

void logWrongVersion(const QString& id, qint64 version) {
    SystemLog::write(prefix(id) + QStringLiteral(" khai version ") + QString::number(version) +
                     QStringLiteral(", Ovrel chỉ hiểu ") +
                     QString::number(DynamicMenuFile::currentVersion) +
                     QStringLiteral(" — bỏ qua"));
}

void logTruncated(const QString& id, qsizetype count, int depth, int limit) {
    SystemLog::write(prefix(id) + QStringLiteral(" có ") + QString::number(count) +
                     QStringLiteral(" mục ở cấp ") + QString::number(depth) +
                     QStringLiteral(", cắt còn ") + QString::number(limit));
}

void logMissingIdOrTitle(const QString& id) {
    SystemLog::write(prefix(id) + QStringLiteral(" có mục thiếu id hoặc title — bỏ mục đó"));
}

void encodeItem(OrderedJsonWriter& writer, const DynamicMenuItem& item) {
    writer.beginObject();
    writer.key(u"id").string(item.id);
    writer.key(u"title").string(item.title);
    if (item.command)
        writer.key(u"command").string(*item.command);
    writer.key(u"enabled").boolean(item.enabled);
    writer.key(u"checked").boolean(item.checked);
    writer.key(u"children").beginArray();
    for (const DynamicMenuItem& child : item.children)
        encodeItem(writer, child);
    writer.endArray();
    writer.endObject();
}

} // namespace

QString file(const ModulePaths& paths, const QString& id) {
    return paths.dynamicMenuFile(id);
}

QByteArray encode(const std::vector<DynamicMenuItem>& items) {
    OrderedJsonWriter writer;
    writer.beginObject();
    writer.key(u"version").integer(currentVersion);
    writer.key(u"items").beginArray();
    for (const DynamicMenuItem& item : items)
        encodeItem(writer, item);
    writer.endArray();
    writer.endObject();
    return writer.bytes();
}

void write(const std::vector<DynamicMenuItem>& items, const ModulePaths& paths, const QString& id) {
    if (!ModulePaths::isValidModuleId(id))
        throw FileError(file(paths, id), QStringLiteral("invalid module id"));
    const QByteArray bytes = encode(items);
    AtomicFile::write(file(paths, id), bytes);
}

std::vector<DynamicMenuItem> read(const ModulePaths& paths, const QString& id) {
    if (!ModulePaths::isValidModuleId(id))
        return {};
    // Reading stops after maxFileBytes + 1 bytes, so a file that grows after
    // its size was checked, or a link to something endless, costs no more.
    const QString path = file(paths, id);
    const BoundedFile::ReadResult loaded = BoundedFile::read(path, maxFileBytes);
    switch (loaded.status) {
    case BoundedFile::ReadResult::Status::ok:
        return parse(loaded.bytes, id);
    case BoundedFile::ReadResult::Status::tooLarge:
        logTooLarge(id);
        return {};
    case BoundedFile::ReadResult::Status::failed:
        // A file that cannot be opened is still reported when it is known to be too large.
        if (const QFileInfo info(path); info.isFile() && info.size() > maxFileBytes)
            logTooLarge(id);
        return {};
    }
    return {};
}

std::vector<DynamicMenuItem> parse(const QByteArray& bytes, const QString& id) {
    const std::optional<RawDynamicMenuFile> raw = RawDynamicMenuFile::decode(bytes);
    if (!raw) {
        logUndecodable(id);
        return {};
    }
    if (raw->version != currentVersion) {
        logWrongVersion(id, raw->version);
        return {};
    }
    return sanitize(raw->items(), 0, id);
}

std::vector<DynamicMenuItem> sanitize(const JsonValue::Array& items, int depth,
                                      const QString& moduleId) {
    const qsizetype limit = depth == 0 ? maxItems : maxChildren;
    qsizetype kept = qsizetype(items.size());
    if (kept > limit) {
        logTruncated(moduleId, qsizetype(items.size()), depth, int(limit));
        kept = limit;
    }
    std::vector<DynamicMenuItem> result;
    result.reserve(size_t(kept));
    for (qsizetype i = 0; i < kept; ++i) {
        const RawDynamicMenuItem raw = RawDynamicMenuItem::from(items[size_t(i)]);
        if (!raw.id || !raw.title || raw.title->isEmpty()) {
            logMissingIdOrTitle(moduleId);
            continue;
        }
        result.push_back(
            DynamicMenuItem{*raw.id, Graphemes::truncated(*raw.title, maxTitleLength), raw.command,
                            raw.enabled.value_or(true), raw.checked.value_or(false),
                            depth == 0 && raw.children ? sanitize(*raw.children, 1, moduleId)
                                                       : std::vector<DynamicMenuItem>{}});
    }
    return result;
}

} // namespace ovrel::DynamicMenuFile
