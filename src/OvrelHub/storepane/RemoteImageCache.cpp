#include "OvrelHub/storepane/RemoteImageCache.h"

#include "OvrelHub/shell/ServiceRequest.h"
#include "Platform/bundle/BundleIcon.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

namespace ovrel {

RemoteImageCache::RemoteImageCache(ServiceNetwork& network, QObject* parent)
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
    decodeOffThread(key, [bundlePath] { return BundleIcon::image(bundlePath, kBundleIconSide); });
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
    ServiceRequestOptions request;
    request.url = url;
    request.maxBodyBytes = kMaxBytes;
    ServiceRequest::send(m_network, std::move(request))
        .then(this,
              [this, url](const ServiceResponse& response) {
                  if (response.status < 200 || response.status > 299) {
                      settle(url, QImage());
                      return;
                  }
                  // Decoding a large PNG takes long enough to be felt in the window.
                  decodeOffThread(url, [body = response.body] { return QImage::fromData(body); });
              })
        .onFailed(this, [this, url] { settle(url, QImage()); });
}

void RemoteImageCache::decodeOffThread(const QUrl& key, std::function<QImage()> decode) {
    // Through the pending results: a cache destroyed meanwhile drops the image
    // instead of being read from the worker while it goes.
    m_pending.deliver(QtConcurrent::run(std::move(decode)),
                      [this, key](const QFuture<QImage>& done) {
                          settle(key, done.resultCount() > 0 ? done.result() : QImage());
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
