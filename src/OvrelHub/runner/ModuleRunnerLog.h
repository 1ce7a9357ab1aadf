#pragma once

#include <QString>

namespace ovrel {

// The system-log lines of the module runner, one function per outcome.
namespace ModuleRunnerLog {

QString macOSTooOld(const QString& id, const QString& required, const QString& current);
QString invalidMinMacOS(const QString& id, const QString& value);
QString signatureFailed(const QString& id);
QString inboxNotWritten(const QString& id, const QString& reason);
QString notOpened(const QString& id, const QString& reason);

} // namespace ModuleRunnerLog

} // namespace ovrel
