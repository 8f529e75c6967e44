#include "ScoreFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "ScoreError.h"

namespace plovikxml {

namespace {

std::string Failure(const std::string& what, const std::string& path) {
    return "cannot " + what + " " +
           (path == "-" ? std::string("standard ") + (what == "read" ? "input" : "output") : path) +
           ": " + std::strerror(errno);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string ScoreFiles::Read(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> owned;
    std::FILE* file = stdin;
    if (path != "-") {
        struct stat info;
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            throw ScoreError(Failure("read", path));
        }
        owned.reset(std::fopen(path.c_str(), "rb"));
        if (!owned) throw ScoreError(Failure("read", path));
        file = owned.get();
    }
    std::string bytes;
    // A file of known size is read into a string of that size, not grown block by block.
    struct stat info;
    if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<size_t>(info.st_size) <= kMaxBytes)
        bytes.reserve(static_cast<size_t>(info.st_size) + 1);
    std::vector<char> block(1 << 16);
    for (;;) {
        const size_t n = std::fread(block.data(), 1, block.size(), file);
        bytes.append(block.data(), n);
        if (bytes.size() > kMaxBytes) throw ScoreError(path + " is larger than 1 GiB");
        if (n < block.size()) break;
    }
    if (std::ferror(file)) throw ScoreError(Failure("read", path));
    return bytes;
}

void ScoreFiles::Write(const std::string& path, const std::string& bytes) {
    if (path == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0)
            throw ScoreError(Failure("write", path));
        return;
    }
    // The new file takes the old one's permissions, or the usual ones for a new file.
    mode_t mode = 0;
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            throw ScoreError(Failure("write", path));
        }
        if (!S_ISREG(info.st_mode)) {
            // A device or a pipe is written as it is: there is nothing to replace.
            std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
            if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
                std::fflush(file.get()) != 0)
                throw ScoreError(Failure("write", path));
            return;
        }
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string temporary = path + ".plovik-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ScoreError(Failure("write", path));
    bool ok = ::fchmod(fd, mode) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    const int saved = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return;
    const std::string message = Failure("write", path);
    ::unlink(temporary.c_str());
    errno = saved;
    throw ScoreError(message);
}

}  // namespace plovikxml
