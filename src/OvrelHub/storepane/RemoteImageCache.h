#pragma once

#include "OvrelHub/shell/PendingResults.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>

namespace ovrel {

class ServiceNetwork;

// Images named by URL (catalog icons and screenshots, avatars), fetched once
// and kept as long as the cache: a settings window owns one, so a pane built
// again shows them at once. Bodies are decoded on a worker thread; the
// request carries no session token. An address that failed stays failed for
// the cache's life (no retry storm while the user scrolls). Main thread;
// borrows the network, which must outlive it.
class RemoteImageCache : public QObject {
    Q_OBJECT
public:
    using Delivery = std::function<void(const QImage&)>;

    explicit RemoteImageCache(ServiceNetwork& network, QObject* parent = nullptr);

    // Calls `deliver` with the image (null when it could not be had) on the
    // main thread, at once when it is known, else once it arrives, and only
    // while `receiver` lives. Addresses other than http(s) deliver a null image.
    void request(const QUrl& url, QObject* receiver, Delivery deliver);
    // The icon of an installed bundle, read from disk on a worker thread;
    // kept per bundle and version, so an update shows its new icon.
    void requestBundleIcon(const QString& bundlePath, const QString& version, QObject* receiver,
                           Delivery deliver);

    // Bodies larger than this are not images the store shows.
    static constexpr qint64 kMaxBytes = qint64(8) << 20;
    // Bundle icons are read at this many pixels a side (48 points at 2x).
    static constexpr int kBundleIconSide = 96;

signals:
    void loaded(const QUrl& url); // tests wait for it

private:
    struct Waiter {
        QPointer<QObject> receiver;
        Delivery deliver;
    };
    // True when the caller must start the work for a new key.
    bool enqueue(const QUrl& key, QObject* receiver, Delivery& deliver);
    void fetch(const QUrl& url);
    void decodeOffThread(const QUrl& key, std::function<QImage()> decode);
    void settle(const QUrl& url, const QImage& image);

    ServiceNetwork& m_network;
    QHash<QUrl, QImage> m_images;
    QHash<QUrl, QList<Waiter>> m_waiting;
    PendingResults m_pending{this};
};

} // namespace ovrel
