#pragma once

#include "Platform/desktop/UserNotificationCenter.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>

namespace ovrel::test {

// Answers authorisation requests as told (on the next turn of the event loop,
// as a desktop would) and records what was shown.
class FakeNotificationCenter : public UserNotificationCenter {
public:
    void requestAuthorization(QObject* context, Answer answer) override {
        ++authorizationRequests;
        QPointer<QObject> guard(context);
        QMetaObject::invokeMethod(
            context,
            [guard, answer, granted = grants] {
                if (guard)
                    answer(granted);
            },
            Qt::QueuedConnection);
    }
    void add(const Notification& notification) override { shown.append(notification); }
    void setActivationHandler(Activation handler) override { activation = std::move(handler); }

    bool grants = true;
    int authorizationRequests = 0;
    QList<Notification> shown;
    Activation activation;
};

} // namespace ovrel::test
