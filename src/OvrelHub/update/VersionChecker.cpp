#include "OvrelHub/update/VersionChecker.h"

#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/update/UpdatePreferences.h"
#include "OvrelHub/update/VersionFeed.h"

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
    ServiceRequestOptions request;
    request.url = *address;
    request.inactivityTimeout = kTimeout;
    request.maxBodyBytes = kMaxFeedBytes;
    request.control = &m_control;
    // Destroying the checker calls the request off, and the completion is
    // never called.
    ServiceRequest::send(m_network, std::move(request))
        .then(this,
              [this, completion](const ServiceResponse& response) {
                  // The status code is not examined: an answer of the server,
                  // whatever its status, is judged by its body.
                  if (!m_destroying)
                      completion(VersionFeed::evaluate(response.body, m_runningVersion));
              })
        .onFailed(this, [this, completion] {
            if (!m_destroying)
                completion(CheckResult::failed());
        });
}

VersionChecker::~VersionChecker() {
    // The cancelled request reports at once, from here.
    m_destroying = true;
    m_control.cancel();
}

} // namespace ovrel
