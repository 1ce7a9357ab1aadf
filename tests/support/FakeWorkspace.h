#pragma once

#include "Platform/Workspace.h"

#include <QList>

namespace ovrel::test {

// Records what the hub asked the desktop to open.
class FakeWorkspace : public Workspace {
public:
    bool openURL(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

} // namespace ovrel::test
