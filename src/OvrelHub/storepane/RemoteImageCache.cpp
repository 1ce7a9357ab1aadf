#include "OvrelHub/storepane/RemoteImageCache.h"

#include "Platform/bundle/BundleIcon.h"

#include <QFuture>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtConcurrent/QtConcurrentRun>

namespace ovrel {

RemoteImageCache::RemoteImageCache(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent), m_network(network) {}

void RemoteImageCache::request(const QUrl& url, QObject* receiver, Delivery deliver) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        deliver(QImage());
        return;
    }
    if (enqueue(url, receiver, deliver))
        fetch(url);
}

void RemoteImageCache::requestBundleIcon(const QString& bundlePath, const QString& version,
                                         QObject* receiver, Delivery deliver) {
    QUrl key = QUrl::fromLocalFile(bundlePath);
    key.setQuery(QStringLiteral("version=") + version);
    if (!enqueue(key, receiver, deliver))
        return;
    QtConcurrent::run([bundlePath] { return BundleIcon::image(bundlePath, kBundleIconSide); })
        .then(this, [this, key](const QImage& image) { settle(key, image); });
}

bool RemoteImageCache::enqueue(const QUrl& key, QObject* receiver, Delivery& deliver) {
    const auto known = m_images.constFind(key);
    if (known != m_images.cend()) {
        deliver(*known);
        return false;
    }
    const bool started = m_waiting.contains(key);
    m_waiting[key].append({receiver, std::move(deliver)});
    return !started;
}

void RemoteImageCache::fetch(const QUrl& url) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(60'000);
    QNetworkReply* reply = m_network.get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, url] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
            settle(url, QImage());
            return;
        }
        const QByteArray body = reply->read(kMaxBytes + 1);
        if (body.size() > kMaxBytes) {
            settle(url, QImage());
            return;
        }
        // Decoding a large PNG takes long enough to be felt in the window.
        QtConcurrent::run([body] { return QImage::fromData(body); })
            .then(this, [this, url](const QImage& image) { settle(url, image); });
    });
}

void RemoteImageCache::settle(const QUrl& url, const QImage& image) {
    m_images.insert(url, image);
    const QList<Waiter> waiters = m_waiting.take(url);
    for (const Waiter& waiter : waiters) {
        if (waiter.receiver)
            waiter.deliver(image);
    }
    emit loaded(url);
}

} // namespace ovrel
