// The yardstick for installing a module bundle from a file: only the work no
// install can skip. Copies the bundle tree into a staging directory beside
// the destination (in the kernel, copy_file_range), reads every file of the
// copy once through SHA-256, and renames the copy into place; a previous
// bundle there is renamed aside to DEST.old for the caller to remove.
//   install-floor SOURCE.app DEST.app
#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "install-floor: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

std::vector<std::string> names(const std::string& directory) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        die(directory);
    std::vector<std::string> out;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            out.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return out;
}

void copyFile(const std::string& from, const std::string& to, mode_t mode) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (in < 0 || out < 0)
        die(from);
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n < 0)
            die(to);
        if (n == 0)
            break;
    }
    ::close(in);
    ::close(out);
}

void copyTree(const std::string& from, const std::string& to) {
    struct stat status {};
    if (::lstat(from.c_str(), &status) != 0)
        die(from);
    if (S_ISDIR(status.st_mode)) {
        if (::mkdir(to.c_str(), 0755) != 0)
            die(to);
        for (const std::string& name : names(from))
            copyTree(from + "/" + name, to + "/" + name);
    } else if (S_ISLNK(status.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(from.c_str(), target, sizeof target - 1);
        if (n < 0)
            die(from);
        target[n] = 0;
        if (::symlink(target, to.c_str()) != 0)
            die(to);
    } else {
        copyFile(from, to, status.st_mode & 0777);
    }
}

void hashTree(const std::string& path, EVP_MD_CTX* context, std::vector<char>& buffer) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        die(path);
    if (S_ISDIR(status.st_mode)) {
        for (const std::string& name : names(path))
            hashTree(path + "/" + name, context, buffer);
        return;
    }
    if (!S_ISREG(status.st_mode))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        die(path);
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0)
            die(path);
        if (n == 0)
            break;
        EVP_DigestUpdate(context, buffer.data(), static_cast<size_t>(n));
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    ::close(fd);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: install-floor SOURCE.app DEST.app\n");
        return 2;
    }
    const std::string source = argv[1], destination = argv[2];
    const std::string staged = destination + ".staged";
    copyTree(source, staged);
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    std::vector<char> buffer(256 * 1024);
    hashTree(staged, context, buffer);
    EVP_MD_CTX_free(context);
    struct stat status {};
    if (::lstat(destination.c_str(), &status) == 0 &&
        ::rename(destination.c_str(), (destination + ".old").c_str()) != 0)
        die(destination);
    if (::rename(staged.c_str(), destination.c_str()) != 0)
        die(destination);
    return 0;
}
