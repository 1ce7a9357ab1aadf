#include "Platform/codesign/BundleLayout.h"

#include "Platform/files/SymlinkContainment.h"

#include <QHash>

namespace ovrel {

namespace {

const QString kContentsPrefix = QStringLiteral("Contents/");
const QString kSignaturePrefix = QStringLiteral("Contents/_CodeSignature/");

BundleLayout failed(BundleLayout::Problem problem, const QString& path) {
    BundleLayout layout;
    layout.problem = problem;
    layout.problemPath = path;
    return layout;
}

bool isSignatureFile(const QString& path) {
    return path == QLatin1String(BundleLayout::kCodeResources) ||
           path == QLatin1String(BundleLayout::kCodeSignature);
}

} // namespace

BundleLayout BundleLayout::scan(const BundleDirectory& bundle,
                                const BundleDirectory::Limits& limits) {
    const auto entries = bundle.list(QString(), limits);
    if (!entries)
        return failed(Problem::unreadable, QString());

    BundleLayout layout;
    QHash<QString, QString> links;
    bool hasContents = false;
    for (const BundleDirectory::Entry& entry : *entries) {
        using Kind = BundleDirectory::EntryKind;
        if (entry.path == QLatin1String(BundleDirectory::kContents)) {
            if (entry.kind != Kind::directory)
                return failed(Problem::strayEntry, entry.path);
            hasContents = true;
            continue;
        }
        if (!entry.path.startsWith(kContentsPrefix))
            return failed(Problem::strayEntry, entry.path);
        if (entry.kind == Kind::unsupported)
            return failed(Problem::unsupportedEntry, entry.path);
        if (entry.path == QLatin1String(kSignatureDirectory)) {
            if (entry.kind != Kind::directory)
                return failed(Problem::strayEntry, entry.path);
            continue;
        }
        if (entry.path.startsWith(kSignaturePrefix)) {
            if (!isSignatureFile(entry.path) || entry.kind != Kind::file)
                return failed(Problem::strayEntry, entry.path);
            continue;
        }
        if (entry.kind == Kind::directory)
            continue;
        const bool isLink = entry.kind == Kind::symlink;
        if (isLink)
            links.insert(entry.path, entry.symlinkTarget);
        layout.items.push_back(
            {entry.path.mid(kContentsPrefix.size()), isLink, entry.symlinkTarget});
    }
    if (!hasContents)
        return failed(Problem::unreadable, QString::fromLatin1(BundleDirectory::kContents));
    for (const Item& item : layout.items) {
        const QString path = kContentsPrefix + item.path;
        if (item.isSymlink && !SymlinkContainment::staysInside(path, links))
            return failed(Problem::escapingSymlink, path);
    }
    return layout;
}

} // namespace ovrel
