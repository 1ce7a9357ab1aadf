#include "OvrelHub/account/AuthService.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/AccountDefaults.h"
#include "OvrelHub/account/SessionLostNotifier.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/system/SystemLog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace ovrel {

namespace {

// The service's error text is shown as is; keep it short and on one line.
QString shownErrorText(const QString& text) {
    constexpr qsizetype kMaxShown = 200;
    QString shown;
    for (const QChar c : text) {
        if (shown.size() >= kMaxShown)
            break;
        shown += c.isPrint() ? c : QChar(u' ');
    }
    return shown;
}

std::optional<QString> firstValue(const QList<QPair<QString, QString>>& items,
                                  const QString& name) {
    for (const auto& [key, value] : items) {
        if (key == name)
            return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
    }
    return std::nullopt;
}

} // namespace

AuthService::AuthService(Collaborators collaborators, QObject* parent)
    : QObject(parent), m_defaults(collaborators.defaults), m_sessions(collaborators.sessions),
      m_client(collaborators.client), m_sessionLost(collaborators.sessionLost),
      m_apiBase(std::move(collaborators.apiBase)),
      m_openBrowser(std::move(collaborators.openBrowser)),
      m_attempts(std::move(collaborators.clock)) {}

bool AuthService::isKnownProvider(const QString& provider) {
    return provider == QLatin1String("google") || provider == QLatin1String("discord");
}

void AuthService::setCurrentUser(std::optional<AuthUser> user) {
    m_currentUser = std::move(user);
    HubSettings::store(m_defaults, {{QString::fromLatin1(AccountDefaults::kIsLoggedIn),
                                     m_currentUser.has_value()}});
    emit currentUserSet();
}

void AuthService::setErrorMessage(std::optional<QString> message) {
    if (m_errorMessage == message)
        return;
    m_errorMessage = std::move(message);
    emit errorMessageChanged();
}

void AuthService::setBusy(bool busy) {
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged();
}

void AuthService::startLogin(const QString& provider) {
    setErrorMessage(std::nullopt);
    if (!isKnownProvider(provider))
        return;
    std::optional<QUrl> url = ServiceEndpoints::authStart(currentAPIBase(), provider);
    if (!url)
        return;
    QUrlQuery query(*url);
    query.addQueryItem(QStringLiteral("state"), m_attempts.begin());
    url->setQuery(query);
    if (m_openBrowser)
        m_openBrowser(*url);
}

bool AuthService::acceptsCallback(const QString& state) {
    switch (m_attempts.take(state)) {
    case SignInAttempts::Verdict::accepted:
        return true;
    case SignInAttempts::Verdict::expired:
        SystemLog::write(
            QStringLiteral("Ovrel: bỏ qua URL đăng nhập quá hạn (đăng nhập bắt đầu hơn %1 phút "
                           "trước)")
                .arg(SignInAttempts::kLifetime.count()));
        return false;
    case SignInAttempts::Verdict::unknown:
        SystemLog::write(QStringLiteral("Ovrel: bỏ qua URL đăng nhập không do hub này mở hoặc "
                                        "đã dùng rồi"));
        return false;
    }
    return false;
}

void AuthService::handleCallback(const QUrl& url) {
    const QList<QPair<QString, QString>> items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    const std::optional<QString> error = firstValue(items, QStringLiteral("error"));
    const std::optional<QString> code =
        error ? std::nullopt : firstValue(items, QStringLiteral("code"));
    if (!error && !code)
        return;
    if (!acceptsCallback(firstValue(items, QStringLiteral("state")).value_or(QString())))
        return;
    if (error) {
        setErrorMessage(Loc::format(LocKey::loginFailedFormat, HubLanguage::current(),
                                    {shownErrorText(*error)}));
        return;
    }
    exchange(*code);
}

void AuthService::exchange(const QString& code) {
    const std::optional<QUrl> url = ServiceEndpoints::authExchange(currentAPIBase());
    if (!url)
        return;
    setBusy(true);
    ServiceClient::Request request;
    request.method = "POST";
    request.url = *url;
    request.confidential = true;
    request.contentType = "application/json";
    request.body =
        QJsonDocument(QJsonObject{{QStringLiteral("code"), code}}).toJson(QJsonDocument::Compact);
    m_client.send(request, this, [this](const ServiceReply& reply) {
        // The status is not examined: a body that is an exchange response is one.
        const auto response = ExchangeResponse::decode(reply.body);
        if (!response) {
            setBusy(false);
            setErrorMessage(Loc::t(LocKey::loginCodeExchangeFailed, HubLanguage::current()));
            return;
        }
        m_sessions.save(response->token);
        m_sessionLost.clear();
        setBusy(false);
        setCurrentUser(response->user);
        setErrorMessage(std::nullopt);
    });
}

void AuthService::loadSession() {
    if (m_sessions.state().isOk())
        me();
}

void AuthService::me() {
    const std::optional<QString> token = m_sessions.token();
    if (!token)
        return;
    const std::optional<QUrl> url = ServiceEndpoints::authProfile(currentAPIBase());
    if (!url)
        return;
    ServiceClient::Request request;
    request.url = *url;
    request.token = token;
    m_client.send(request, this, [this, sent = *token](const ServiceReply& reply) {
        if (reply.isStatus(401)) {
            // A sign-in that completed meanwhile has a new token: keep it.
            if (m_sessions.token() != sent)
                return;
            m_sessions.remove();
            m_sessionLost.report(SessionLostReason::revoked);
            setCurrentUser(std::nullopt);
            return;
        }
        if (const auto user = AuthUser::decode(reply.body))
            setCurrentUser(*user);
    });
}

void AuthService::logout() {
    if (const std::optional<QString> token = m_sessions.token()) {
        if (const std::optional<QUrl> url = ServiceEndpoints::authLogout(currentAPIBase())) {
            ServiceClient::Request request;
            request.method = "POST";
            request.url = *url;
            request.token = token;
            m_client.send(request, nullptr, {});
        }
    }
    m_sessions.remove();
    setCurrentUser(std::nullopt);
}

} // namespace ovrel
