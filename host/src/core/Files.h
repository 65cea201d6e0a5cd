#pragma once
// The file system as every file the host reads or writes meets it: only
// regular files are read (a FIFO would block, a device never end), and a
// file is replaced by writing a new version beside it and renaming it over
// the old one once it is complete and on disk, so that a failed write never
// destroys the previous file. A symbolic link is written through to the file
// it leads to, as editors do; a FIFO, a device or a directory in the way is
// refused, never replaced.

#include <string>
#include <string_view>

namespace ehost::files {

//! "a FIFO (named pipe)", "a directory" ... for a file type from stat.
std::string kindOf(unsigned mode);

//! The file a write to path lands in: path itself, or where its symbolic
//! links lead (a link may lead to a file yet to be made). False with a
//! reason when something that is not a regular file is in the way.
bool writeTarget(const std::string& path, std::string& target, std::string& reason);

//! Opens a regular file for reading (links followed); anything else is
//! refused before it is opened. Returns the descriptor, or -1 with the
//! reason ("it is a FIFO (named pipe), not a regular file").
int openForReading(const std::string& path, std::string& reason);

//! Reads all of an open descriptor; false with errno's text in reason.
bool readAll(int fd, std::string& out, std::string& reason);

//! A new version of a file, written beside its target (a hidden temporary in
//! the same directory, so that the rename cannot cross file systems). The
//! reasons it gives name no file: callers say which file they were saving.
class AsideFile {
public:
    explicit AsideFile(std::string path) : path_(std::move(path)) {}
    ~AsideFile();
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;

    //! Finds the target and creates the temporary beside it.
    bool open(std::string& reason);
    int fd() const { return fd_; }
    //! Writes all of data; false once any write failed (remembered).
    bool write(std::string_view data);
    //! Records a failure of a writer that used fd() directly.
    void failed(int errorCode) {
        if (error_ == 0) error_ = errorCode;
    }
    //! Flushes to disk, closes (checked), then renames over the target. On
    //! failure the temporary goes and the target stays as it was.
    bool commit(std::string& reason);
    //! The file that commit replaces (the link's target for a link).
    const std::string& target() const { return target_; }
    const std::string& temporary() const { return temporary_; }

private:
    void discard();

    std::string path_, target_, temporary_;
    int fd_ = -1;
    int error_ = 0;
    bool committed_ = false;
};

}  // namespace ehost::files
