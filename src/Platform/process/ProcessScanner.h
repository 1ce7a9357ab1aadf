#pragma once

#include "Platform/process/ProcessStat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace ovrel {

// Finds the processes of this user that run an executable from given
// directories, in one pass over /proc: per process one stat and one readlink;
// only the few that match have their stat file read.
//
// A process whose executable was deleted or replaced after it started (an
// update swapped the bundle) still counts: the kernel keeps the path the file
// had when it was unlinked, marked " (deleted)", and that path is compared.
// Zombies, kernel threads, processes of other users and processes that vanish
// or refuse to be inspected during the pass are left out.
class ProcessScanner {
public:
    struct Match {
        qint64 pid = 0;
        quint64 startTime = 0;
        QString executablePath; // without the " (deleted)" mark
        bool executableDeleted = false;
        QString directory; // the canonical form of the directory it lies in
    };

    explicit ProcessScanner(QString procRoot = QString::fromLatin1(ProcessStat::kDefaultProcRoot));

    // Directories that do not exist any more still match the paths their
    // files had (the canonical form of their nearest existing ancestor is used).
    QList<Match> executablesInside(const QStringList& directories) const;

    // The absolute path with symbolic links of its existing part resolved.
    static QString canonicalDirectory(const QString& directory);

private:
    QString m_procRoot;
};

} // namespace ovrel
