#include "host/src/core/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ehost::files {

namespace {

namespace fs = std::filesystem;

// As the kernel allows (MAXSYMLINKS): more is a loop.
constexpr int kMaxLinks = 40;

std::string errorText(int code) {
    return std::strerror(code);
}

std::string directoryOf(const std::string& path) {
    fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

std::string describeCreateError(const std::string& dir, int code) {
    switch (code) {
        case ENOENT:
            return "the directory " + dir + " does not exist";
        case ENOTDIR:
            return dir + " is not a directory";
        case EACCES:
        case EPERM:
        case EROFS:
            return "no permission to write in " + dir + " (" + errorText(code) + ")";
        default:
            return errorText(code);
    }
}

mode_t newFileMode() {
    // umask can only be read by setting it; put it straight back.
    mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncDirectory(const std::string& dir) {
    // Makes the rename itself durable; a file system that cannot is no failure.
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string kindOf(unsigned mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return "a regular file";
        case S_IFDIR:
            return "a directory";
        case S_IFIFO:
            return "a FIFO (named pipe)";
        case S_IFCHR:
            return "a character device";
        case S_IFBLK:
            return "a block device";
        case S_IFSOCK:
            return "a socket";
        case S_IFLNK:
            return "a symbolic link";
        default:
            return "not a regular file";
    }
}

bool writeTarget(const std::string& path, std::string& target, std::string& reason) {
    std::string at = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            if (errno != ENOENT && errno != ENOTDIR) {
                reason = errorText(errno);
                return false;
            }
            // A new file (or the file a dangling link names); a directory
            // that is missing is told when the file is made.
            target = at;
            return true;
        }
        if (S_ISREG(st.st_mode)) {
            target = at;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            reason = (at == path ? "it is " : "it leads to " + at + ", which is ") +
                     kindOf(st.st_mode) + ", not a regular file";
            return false;
        }
        if (links == kMaxLinks) {
            reason = "its symbolic links do not end (a loop?)";
            return false;
        }
        std::error_code ec;
        fs::path to = fs::read_symlink(at, ec);
        if (ec) {
            reason = "cannot read the symbolic link " + at + ": " + ec.message();
            return false;
        }
        at = to.is_absolute() ? to.string() : (fs::path(directoryOf(at)) / to).string();
    }
}

int openForReading(const std::string& path, std::string& reason) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        reason = errorText(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? "it is a directory"
                                     : "it is " + kindOf(st.st_mode) + ", not a regular file";
        return -1;
    }
    // Non-blocking, and checked again once open: the name may have been
    // swapped for a FIFO since the stat.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = errorText(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "it is no longer a regular file";
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool readAll(int fd, std::string& out, std::string& reason) {
    out.clear();
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        out.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            reason = errorText(errno);
            return false;
        }
        if (n == 0) return true;
        out.append(chunk, static_cast<std::size_t>(n));
    }
}

// ---------------------------------------------------------------- AsideFile

AsideFile::~AsideFile() {
    if (!committed_) discard();
}

void AsideFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool AsideFile::open(std::string& reason) {
    fs::path given(path_);
    if (path_.empty() || !given.has_filename()) {
        reason = "the path does not name a file";
        return false;
    }
    if (!writeTarget(path_, target_, reason)) return false;
    const std::string dir = directoryOf(target_);
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    std::string pattern =
        (fs::path(dir) / ("." + fs::path(target_).filename().string() + ".tmp-XXXXXX")).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        reason = describeCreateError(dir, errno);
        return false;
    }
    temporary_ = pattern;
    // mkstemp makes the file private; give it the mode the saved file should have.
    ::fchmod(fd_, exists ? (existing.st_mode & 07777) : newFileMode());
    return true;
}

bool AsideFile::write(std::string_view data) {
    std::size_t done = 0;
    while (error_ == 0 && done < data.size()) {
        ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return error_ == 0;
}

bool AsideFile::commit(std::string& reason) {
    auto failWith = [&](int code) {
        reason = errorText(code) + " (the previous file is unchanged)";
        discard();
        return false;
    };
    if (fd_ < 0) return failWith(EBADF);
    if (error_ != 0) return failWith(error_);
    // A full disk may show only here: the data is on disk before the rename.
    if (::fsync(fd_) != 0) return failWith(errno);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return failWith(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return failWith(errno);
    temporary_.clear();
    committed_ = true;
    syncDirectory(directoryOf(target_));
    return true;
}

}  // namespace ehost::files
