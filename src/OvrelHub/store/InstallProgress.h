#pragma once

#include "OvrelHub/shell/ServiceRequest.h"

#include <QObject>

namespace ovrel {

// How far one install from the catalog has come, for whoever shows it: the
// bytes of the download, then each step after it. The install may be called
// off while it downloads; later steps change the module tree and always run
// to their end. Lives on the main thread; the store reports steps run on its
// worker through queued calls.
class InstallProgress : public QObject {
    Q_OBJECT
public:
    enum class Step {
        waiting,     // queued behind another store operation
        downloading, // see downloaded()
        verifying,   // the archive's digest
        unpacking,
        installing, // signature, manifest, swap, record
    };
    Q_ENUM(Step)

    explicit InstallProgress(QObject* parent = nullptr);

    Step step() const { return m_step; }
    qint64 bytesReceived() const { return m_received; }
    qint64 bytesTotal() const { return m_total; } // -1 until known
    bool canCancel() const { return m_step == Step::waiting || m_step == Step::downloading; }
    bool isCancelled() const { return m_transfer.isCancelled(); }

    // Calls the install off while it has not gone past the download: it then
    // fails as a failed download and leaves nothing behind. Later, nothing.
    void cancel();

    // For the store.
    TransferControl* transfer() { return &m_transfer; }
    void setStep(Step step);

signals:
    void stepChanged(Step step);
    void downloaded(qint64 bytes, qint64 total);

private:
    TransferControl m_transfer;
    Step m_step = Step::waiting;
    qint64 m_received = 0;
    qint64 m_total = -1;
};

} // namespace ovrel
