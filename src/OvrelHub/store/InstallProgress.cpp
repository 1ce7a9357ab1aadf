#include "OvrelHub/store/InstallProgress.h"

namespace ovrel {

InstallProgress::InstallProgress(QObject* parent) : QObject(parent) {
    connect(&m_transfer, &TransferControl::received, this, [this](qint64 bytes, qint64 total) {
        m_received = bytes;
        m_total = total;
        emit downloaded(bytes, total);
    });
}

void InstallProgress::cancel() {
    if (canCancel())
        m_transfer.cancel();
}

void InstallProgress::setStep(Step step) {
    if (step == m_step)
        return;
    m_step = step;
    emit stepChanged(step);
}

} // namespace ovrel
