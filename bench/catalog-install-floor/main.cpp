// The floor for installing a module archive: only the work no installer can
// skip. Reads and hashes the archive, unpacks it with libarchive into a
// staging directory, hashes every unpacked file (what a signature check must
// do), and renames the bundle into place. No checks, no safety, no Qt.
//   install-floor ARCHIVE STAGING TARGET
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <openssl/evp.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hashFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
    static char buffer[1 << 20];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        EVP_DigestUpdate(context, buffer, static_cast<size_t>(n));
    unsigned char digest[32];
    EVP_DigestFinal_ex(context, digest, nullptr);
    EVP_MD_CTX_free(context);
    ::close(fd);
    return n == 0;
}

int hashEntry(const char* path, const struct stat*, int type, struct FTW*) {
    return type == FTW_F && !hashFile(path) ? 1 : 0;
}

bool unpack(const char* archivePath, const std::string& staging) {
    archive* in = archive_read_new();
    archive_read_support_format_zip(in);
    archive* out = archive_write_disk_new();
    archive_write_disk_set_options(out, ARCHIVE_EXTRACT_PERM);
    if (archive_read_open_filename(in, archivePath, 1 << 16) != ARCHIVE_OK)
        return false;
    archive_entry* entry;
    bool ok = true;
    while (ok && archive_read_next_header(in, &entry) == ARCHIVE_OK) {
        const std::string path = staging + "/" + archive_entry_pathname(entry);
        archive_entry_set_pathname(entry, path.c_str());
        ok = archive_write_header(out, entry) == ARCHIVE_OK;
        const void* block;
        size_t size;
        la_int64_t offset;
        while (ok && archive_read_data_block(in, &block, &size, &offset) == ARCHIVE_OK)
            ok = archive_write_data_block(out, block, size, offset) == ARCHIVE_OK;
        ok = ok && archive_write_finish_entry(out) == ARCHIVE_OK;
    }
    archive_read_free(in);
    archive_write_free(out);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: install-floor ARCHIVE STAGING TARGET\n");
        return 2;
    }
    const std::string staging = argv[2];
    ::mkdir(staging.c_str(), 0700);
    if (!hashFile(argv[1]) || !unpack(argv[1], staging))
        return 1;
    if (::nftw(staging.c_str(), hashEntry, 64, FTW_PHYS) != 0)
        return 1;
    return ::rename(staging.c_str(), argv[3]) == 0 ? 0 : 1;
}
