#include "OvrelHub/update/UpdateNotifier.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/update/UpdateDecision.h"
#include "OvrelHub/update/UpdatePreferences.h"
#include "OvrelHub/update/WhatsNewWindowController.h"
#include "Platform/desktop/UserNotificationCenter.h"

#include <QPointer>

namespace ovrel {

UpdateNotifier::UpdateNotifier(Collaborators collaborators, QObject* parent)
    : QObject(parent), m_center(collaborators.center), m_defaults(collaborators.defaults),
      m_runningVersion(std::move(collaborators.runningVersion)),
      m_showWhatsNew(std::move(collaborators.showWhatsNew)) {
    connect(&m_center, &UserNotificationCenter::activated, this, &UpdateNotifier::onActivated);
}

UpdateNotifier& UpdateNotifier::shared() {
    static auto* notifier =
        new UpdateNotifier({FreedesktopNotificationCenter::shared(), UserDefaults::standard(),
                            BuildIdentity::shortVersion(), [](const UpdateRelease& release) {
                                WhatsNewWindowController::shared().show(release);
                            }});
    return *notifier;
}

void UpdateNotifier::notify(const UpdateRelease& release) {
    if (!UpdateDecision::shouldNotify(
            release.version, UpdatePreferences::lastNotifiedVersion(m_defaults), m_runningVersion))
        return;
    m_pending = release;
    QPointer<UpdateNotifier> self(this);
    m_center.requestAuthorization([self, release](bool granted) {
        // Refused: the release stays pending for a click that cannot come.
        if (granted && self)
            self->post(release);
    });
}

void UpdateNotifier::post(const UpdateRelease& release) {
    const AppLanguage language = HubLanguage::current();
    m_center.add({QString::fromLatin1(kIdentifierPrefix) + release.version,
                  Loc::format(LocKey::updateNotifTitleFormat, language, {release.version}),
                  Loc::t(LocKey::updateNotifBody, language)});
    UpdatePreferences::setLastNotifiedVersion(release.version, m_defaults);
}

void UpdateNotifier::onActivated(const QString& identifier) {
    if (!identifier.startsWith(QLatin1String(kIdentifierPrefix)))
        return;
    std::optional<UpdateRelease> release = m_pending ? m_pending : m_fallback();
    if (release && m_showWhatsNew)
        m_showWhatsNew(*release);
}

} // namespace ovrel
