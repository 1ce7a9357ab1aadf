#include "OvrelHub/update/VersionChecker.h"

#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/update/UpdatePreferences.h"
#include "OvrelHub/update/VersionFeed.h"

#include <QNetworkReply>
#include <QPointer>

namespace ovrel {

namespace {
// A feed is a few hundred bytes; anything far larger is not a feed.
constexpr qint64 kMaxFeedBytes = 1024 * 1024;
} // namespace

VersionChecker::VersionChecker(std::function<void(const UpdateRelease&)> onUpdateAvailable,
                               Collaborators collaborators, QObject* parent)
    : QObject(parent), m_onUpdateAvailable(std::move(onUpdateAvailable)),
      m_network(collaborators.network), m_feedURL(std::move(collaborators.feedURL)),
      m_runningVersion(std::move(collaborators.runningVersion)) {
    m_timer.setInterval(collaborators.interval);
    connect(&m_timer, &QTimer::timeout, this, &VersionChecker::scheduledCheck);
}

VersionChecker::FeedAddress VersionChecker::hubFeedAddress() {
    return [] {
        return ServiceEndpoints::versionFeed(UpdatePreferences::feedURLOverride(),
                                             BuildIdentity::currentProduct(),
                                             BuildIdentity::platform());
    };
}

void VersionChecker::start(std::function<void()> onEachCheck) {
    m_onEachCheck = std::move(onEachCheck);
    scheduledCheck();
    m_timer.start();
}

void VersionChecker::scheduledCheck() {
    QPointer<VersionChecker> self(this);
    check([self](const CheckResult& result) {
        if (self && result.kind == CheckResult::Kind::available && self->m_onUpdateAvailable)
            self->m_onUpdateAvailable(*result.release);
    });
    if (m_onEachCheck)
        m_onEachCheck();
}

void VersionChecker::check(std::function<void(const CheckResult&)> completion) {
    const std::optional<QUrl> address = m_feedURL ? m_feedURL() : std::nullopt;
    if (!address) {
        QMetaObject::invokeMethod(
            this, [completion = std::move(completion)] { completion(CheckResult::failed()); },
            Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(*address);
    request.setTransferTimeout(static_cast<int>(kTimeout.count()));
    QNetworkReply* reply = m_network.get(request);
    // The reply belongs to this checker: destroying the checker aborts it
    // and the completion is never called.
    reply->setParent(this);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxFeedBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, completion = std::move(completion)] {
                reply->deleteLater();
                // The status code is not examined: an answer of the server,
                // whatever its status, is judged by its body.
                const bool answered =
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
                if (!answered || reply->error() == QNetworkReply::OperationCanceledError) {
                    completion(CheckResult::failed());
                    return;
                }
                completion(VersionFeed::evaluate(reply->readAll(), m_runningVersion));
            });
}

} // namespace ovrel
