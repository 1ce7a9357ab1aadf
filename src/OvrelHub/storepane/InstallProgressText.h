#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QString>

namespace ovrel {

class InstallProgress;

// The caption of an install under way: the bytes of the download in the
// language's file-size style, then the step.
namespace InstallProgressText {

QString text(const InstallProgress& progress, AppLanguage language);
// 1.2 MB style (decimal units, one decimal), as the language writes it.
QString byteCount(qint64 bytes, AppLanguage language);

} // namespace InstallProgressText

} // namespace ovrel
