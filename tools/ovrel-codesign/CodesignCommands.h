#pragma once

#include <QStringList>

namespace ovrel::codesign {

// Exit statuses of the tool.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Each command takes its own arguments (without the command word) and
// returns the exit status; results go to stdout, failures to stderr.
int makeIdentity(const QStringList& arguments);
int sign(const QStringList& arguments);
int verify(const QStringList& arguments);
int display(const QStringList& arguments);

} // namespace ovrel::codesign
