#pragma once

#include "Platform/desktop/UserNotificationCenter.h"

#include <QList>
#include <QMetaObject>

namespace ovrel::test {

// Answers authorisation requests as told (on the next turn of the event loop,
// as a desktop would) and records what was shown.
class FakeNotificationCenter : public UserNotificationCenter {
public:
    void requestAuthorization(std::function<void(bool granted)> completion) override {
        ++authorizationRequests;
        QMetaObject::invokeMethod(
            this, [completion, granted = grants] { completion(granted); }, Qt::QueuedConnection);
    }
    void add(const Request& request) override { shown.append(request); }

    bool grants = true;
    int authorizationRequests = 0;
    QList<Request> shown;
};

} // namespace ovrel::test
