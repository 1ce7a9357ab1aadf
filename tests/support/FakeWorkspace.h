#pragma once

#include "Platform/Workspace.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace ovrel::test {

// Records what the hub asked the desktop to open.
class FakeWorkspace : public Workspace {
public:
    bool openURL(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    void revealInFileViewer(const QString& path) override { revealed.append(path); }
    std::optional<QString> applicationPath(const QString& bundleIdentifier) override {
        const auto it = applications.constFind(bundleIdentifier);
        return it == applications.cend() ? std::nullopt : std::optional<QString>(*it);
    }
    QList<QUrl> opened;
    QStringList revealed;
    QHash<QString, QString> applications;
};

} // namespace ovrel::test
