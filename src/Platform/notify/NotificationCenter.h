#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace ovrel {

// In-process notifications by name ("vn.ovrel.modulesChanged", ...). A handler
// runs on the thread of its context object: at once when posted from that
// thread, queued otherwise. The observation ends with the context object.
class NotificationCenter : public QObject {
    Q_OBJECT
public:
    static NotificationCenter& defaultCenter();

    void post(const QString& name);
    QMetaObject::Connection observe(const QString& name, const QObject* context,
                                    std::function<void()> handler);

signals:
    void posted(const QString& name);
};

} // namespace ovrel
