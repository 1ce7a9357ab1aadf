#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"
#include "OvrelHub/resident/ResidentError.h"

#include <QFile>
#include <QSet>
#include <QStringList>

namespace ovrel::test {

// launchd in memory: what is loaded, and every request in order.
class FakeResidentControl : public ResidentAgentControlling {
public:
    void bootstrap(const QString& plistPath, const QString& label) override {
        calls.append("bootstrap " + label);
        bootstrappedFileExisted = QFile::exists(plistPath);
        if (failBootstrap)
            throw ResidentError::launchctlFailed(5);
        loaded.insert(label);
    }
    void bootout(const QString& label) override {
        calls.append("bootout " + label);
        if (failBootout)
            throw ResidentError::launchctlFailed(9);
        loaded.remove(label);
    }
    bool isLoaded(const QString& label) override { return loaded.contains(label); }

    QSet<QString> loaded;
    QStringList calls;
    bool failBootstrap = false;
    bool failBootout = false;
    bool bootstrappedFileExisted = false;
};

} // namespace ovrel::test
