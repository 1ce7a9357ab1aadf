#include "OvrelModuleKit/inbox/ModuleHostState.h"

#include "OvrelConfig/AppLanguage.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/json/JsonFieldReader.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <optional>

#ifndef OVREL_SERVICE_BASE_URL
#define OVREL_SERVICE_BASE_URL "https://ovrel.vn"
#endif

namespace ovrel::ModuleHostState {

namespace {

// host.json holds two short strings; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

struct RawHostState {
    std::optional<QString> appLanguage;
    std::optional<QString> apiBaseURL;
};

// Like a strict decoder: a value of the wrong type makes the whole file unreadable.
std::optional<RawHostState> readRaw(const ModulePaths& paths) {
    const BoundedFile::ReadResult file = BoundedFile::read(paths.hostFile(), kMaxFileBytes);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    const std::optional<JsonValue> object = JsonFieldReader::parseObject(file.bytes);
    if (!object)
        return std::nullopt;
    const auto language = JsonFieldReader::string(*object, u"appLanguage");
    const auto apiBase = JsonFieldReader::string(*object, u"apiBaseURL");
    if (language.isWrongType() || apiBase.isWrongType())
        return std::nullopt;
    return RawHostState{language.optional(), apiBase.optional()};
}

} // namespace

QUrl defaultAPIBase() {
    return QUrl(QStringLiteral(OVREL_SERVICE_BASE_URL));
}

void write(const QString& language, const QUrl& apiBase, const ModulePaths& paths) {
    OrderedJsonWriter writer;
    writer.beginObject();
    writer.key(u"appLanguage").string(language);
    writer.key(u"apiBaseURL").string(apiBase.toString(QUrl::FullyEncoded));
    writer.endObject();
    AtomicFile::write(paths.hostFile(), writer.bytes(), AtomicFile::Options::transient());
    ModuleNotify::post(ModuleNotify::hostName());
}

QString language(const ModulePaths& paths) {
    const std::optional<RawHostState> raw = readRaw(paths);
    if (raw && raw->appLanguage && AppLanguages::fromRawValue(*raw->appLanguage))
        return *raw->appLanguage;
    return defaultLanguage;
}

QUrl apiBaseURL(const ModulePaths& paths) {
    const std::optional<RawHostState> raw = readRaw(paths);
    if (raw && raw->apiBaseURL) {
        const QUrl url(*raw->apiBaseURL, QUrl::StrictMode);
        if (url.isValid() && isAcceptableAPIBase(url))
            return url;
    }
    return defaultAPIBase();
}

bool isAcceptableAPIBase(const QUrl& url) {
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    const QString host = url.host();
    if (scheme == QLatin1String("https"))
        return !host.isEmpty();
    if (scheme == QLatin1String("http"))
        return host == QLatin1String("127.0.0.1") || host == QLatin1String("localhost");
    return false;
}

} // namespace ovrel::ModuleHostState
