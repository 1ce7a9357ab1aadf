#pragma once

#include "AccountSandbox.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QUrlQuery>

namespace ovrel::test {

// What a browser (or curl) sees of one request; redirects are not followed.
struct HttpAnswer {
    int status = 0;
    QByteArray location;
    QByteArray body;
};

inline HttpAnswer httpRequest(const QByteArray& method, const QUrl& url,
                              const QByteArray& body = {}, const QByteArray& authorization = {},
                              const QByteArray& contentType = {}) {
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    if (!contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    QNetworkReply* reply = network.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    HttpAnswer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                      reply->rawHeader("Location"), reply->readAll()};
    reply->deleteLater();
    return answer;
}

// Plays the user in the browser: opens the page the hub asked for, submits the
// test user form and returns the ovrel-lite:// URL the browser is sent to.
inline QUrl completeBrowserSignIn(const QUrl& startPage, const QString& email,
                                  const QString& choice = QStringLiteral("allow")) {
    const HttpAnswer page = httpRequest("GET", startPage);
    if (page.status != 200)
        return {};
    const QString state = QUrlQuery(startPage).queryItemValue(QStringLiteral("state"));
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("state"), state);
    form.addQueryItem(QStringLiteral("email"), QString::fromLatin1(QUrl::toPercentEncoding(email)));
    form.addQueryItem(QStringLiteral("name"), QStringLiteral("Test"));
    form.addQueryItem(QStringLiteral("choice"), choice);
    QUrl complete = startPage;
    complete.setPath(
        startPage.path().replace(QStringLiteral("/start"), QStringLiteral("/complete")));
    complete.setQuery(QString());
    const HttpAnswer done =
        httpRequest("POST", complete, form.toString(QUrl::FullyEncoded).toUtf8(), {},
                    "application/x-www-form-urlencoded");
    return QUrl(QString::fromUtf8(done.location));
}

// A full sign-in of the sandbox's hub as email; true once the user is set.
inline bool signIn(AccountSandbox& machine, const QString& email) {
    machine.auth.startLogin(QStringLiteral("google"));
    if (machine.opened.isEmpty())
        return false;
    const QUrl callback = completeBrowserSignIn(machine.opened.last(), email);
    QSignalSpy userSet(&machine.auth, &AuthService::currentUserSet);
    machine.auth.handleCallback(callback);
    return userSet.wait(20000) && machine.auth.currentUser().has_value();
}

} // namespace ovrel::test
