#pragma once

// Zip archives made at test time, hostile ones included: any name, any entry
// kind, duplicates, links, modes.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <archive.h>
#include <archive_entry.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel::test {

struct ZipEntry {
    enum class Type { file, directory, link, fifo };
    QByteArray name;
    Type type = Type::file;
    QByteArray data;          // file content, or the link's target
    int mode = 0644;          // permission bits (set-id bits allowed)
    qint64 declaredSize = -1; // file size to announce; -1: the data's size

    static ZipEntry file(QByteArray name, QByteArray data, int mode = 0644) {
        return {std::move(name), Type::file, std::move(data), mode};
    }
    static ZipEntry directory(QByteArray name) {
        return {std::move(name), Type::directory, {}, 0755};
    }
    static ZipEntry link(QByteArray name, QByteArray target) {
        return {std::move(name), Type::link, std::move(target), 0777};
    }
    static ZipEntry fifo(QByteArray name) { return {std::move(name), Type::fifo, {}, 0644}; }
};

inline void writeZip(const QString& path, const QList<ZipEntry>& entries, bool compress = true) {
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    if (!compress)
        archive_write_set_options(a, "zip:compression=store");
    if (archive_write_open_filename(a, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        throw std::runtime_error("cannot create the zip");
    for (const ZipEntry& e : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.constData());
        switch (e.type) {
        case ZipEntry::Type::file:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, e.declaredSize >= 0 ? e.declaredSize : e.data.size());
            break;
        case ZipEntry::Type::directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case ZipEntry::Type::link:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, e.data.constData());
            break;
        case ZipEntry::Type::fifo:
            archive_entry_set_filetype(entry, AE_IFIFO);
            break;
        }
        archive_entry_set_perm(entry, static_cast<mode_t>(e.mode));
        archive_write_header(a, entry);
        if (e.type == ZipEntry::Type::file && !e.data.isEmpty())
            archive_write_data(a, e.data.constData(), static_cast<size_t>(e.data.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
}

// The entries of a directory tree on disk, under its own name (a bundle zips
// as Clock.app/...): what a module archive holds.
inline QList<ZipEntry> treeEntries(const QString& root) {
    QList<ZipEntry> entries;
    const QString parent = QFileInfo(root).path();
    const QString top = QFileInfo(root).fileName();
    entries.append(ZipEntry::directory(top.toUtf8() + '/'));
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const QByteArray name = QDir(parent).relativeFilePath(path).toUtf8();
        if (info.isSymLink()) {
            char target[4096];
            const ssize_t length =
                ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
            entries.append(ZipEntry::link(name, QByteArray(target, length > 0 ? length : 0)));
        } else if (info.isDir()) {
            entries.append(ZipEntry::directory(name + '/'));
        } else {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            struct stat st {};
            ::stat(QFile::encodeName(path).constData(), &st);
            entries.append(ZipEntry::file(name, file.readAll(), st.st_mode & 07777));
        }
    }
    return entries;
}

inline void zipTree(const QString& root, const QString& zipPath) {
    writeZip(zipPath, treeEntries(root));
}

} // namespace ovrel::test
