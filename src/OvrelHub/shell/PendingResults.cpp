#include "OvrelHub/shell/PendingResults.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace ovrel {

void PendingResults::finish() {
    m_finishing = true;
    // A watcher reports a finished future as an event, so this sleeps until
    // one arrives instead of polling.
    while (m_outstanding > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace ovrel
