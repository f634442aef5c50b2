#include "engine/file_io.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

namespace fs = std::filesystem;

// Temporary files are "<target>.~<pid>-<n>.tmp" beside the target: the pid
// tells a later save whether the process that made one still runs.
constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempSuffix = ".tmp";

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    [[nodiscard]] int get() const { return m_fd; }
    void adopt(int fd)
    {
        reset();
        m_fd = fd;
    }
    // Closes now; false when close reports an error (a late write failure).
    bool reset()
    {
        bool ok = true;
        if (m_fd >= 0)
            ok = ::close(m_fd) == 0;
        m_fd = -1;
        return ok;
    }

private:
    int m_fd;
};

Status problem(Msg m, const std::string& path) { return Status(m, {path}); }

Msg writeErrorOf(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT: return Msg::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
    case ENOENT:
    case ENOTDIR: return Msg::FolderNotWritable;
    default: return Msg::FileWriteFailed;
    }
}

bool writeAll(int fd, std::string_view bytes, int& err)
{
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be opened or synced
// (some file systems refuse) does not undo a save that already happened.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Whether the user may write the existing file `st` in place. The superuser
// may write anything, but a file nobody may write (mode 444) is a file its
// owner meant to keep, so it is refused to the superuser too.
bool writableInPlace(const std::string& path, const struct stat& st)
{
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The process start time, for telling our own pid's leftovers from a dead
// process that had the same pid.
std::time_t processStart()
{
    static const std::time_t start = std::time(nullptr);
    return start;
}

bool processRuns(long pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The pid of a temporary name of `targetName`, or -1.
long temporaryPid(std::string_view name, std::string_view targetName)
{
    if (name.size() <= targetName.size() + kTempMark.size() + kTempSuffix.size() || !name.starts_with(targetName))
        return -1;
    std::string_view rest = name.substr(targetName.size());
    if (!rest.starts_with(kTempMark) || !rest.ends_with(kTempSuffix))
        return -1;
    rest = rest.substr(kTempMark.size(), rest.size() - kTempMark.size() - kTempSuffix.size());
    const size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size())
        return -1;
    long pid = 0;
    unsigned long counter = 0;
    const std::string_view pidText = rest.substr(0, dash);
    const std::string_view counterText = rest.substr(dash + 1);
    const auto [p1, e1] = std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    const auto [p2, e2] = std::from_chars(counterText.data(), counterText.data() + counterText.size(), counter);
    if (e1 != std::errc() || p1 != pidText.data() + pidText.size() || e2 != std::errc()
        || p2 != counterText.data() + counterText.size())
        return -1;
    return pid;
}

// Removes the temporaries of `targetName` in `folder` that a killed process
// left: their pid no longer runs, or it is ours but the file is older than
// this process.
void removeStaleTemporaries(const std::string& folder, const std::string& targetName)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const long self = ::getpid();
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        const long pid = temporaryPid(name, targetName);
        if (pid < 0)
            continue;
        const std::string path = folder + "/" + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const bool stale = pid == self ? st.st_mtime < processStart() : !processRuns(pid);
        if (stale)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

} // namespace

Result<std::string> readWholeFile(const std::string& path, std::uint64_t sizeLimit)
{
    (void)processStart();
    if (path.empty())
        return problem(Msg::FileMissing, path);
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused
    // below like every file that is not an ordinary one.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return problem(Msg::FileMissing, path);
        if (err == ENXIO || err == EISDIR)
            return problem(Msg::FileNotRegular, path);
        return problem(Msg::FileCannotRead, path);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return problem(Msg::FileCannotRead, path);
    if (!S_ISREG(st.st_mode))
        return problem(Msg::FileNotRegular, path);
    if (static_cast<std::uint64_t>(st.st_size) > sizeLimit)
        return problem(Msg::FileTooLarge, path);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);

    std::string bytes;
    try {
        bytes.reserve(static_cast<size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return problem(Msg::FileCannotRead, path);
            }
            // A file that grows while it is read is held to the same limit.
            if (bytes.size() + static_cast<size_t>(n) > sizeLimit)
                return problem(Msg::FileTooLarge, path);
            bytes.append(buffer, static_cast<size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        return problem(Msg::FileTooLarge, path);
    }
    return bytes;
}

Status writeFileAtomically(const std::string& path, std::string_view bytes)
{
    (void)processStart();
    if (path.empty())
        return problem(Msg::FolderNotWritable, path);

    // A link stays a link: its file is what gets replaced.
    std::string target = path;
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        std::error_code ec;
        const fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
        if (ec)
            return problem(Msg::FolderNotWritable, path);
        target = resolved.string();
    }

    struct stat old {};
    bool hadTarget = false;
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            return problem(Msg::FileNotRegular, path);
        if (!writableInPlace(target, old))
            return problem(Msg::FileReadOnly, path);
        hadTarget = true;
    } else if (errno != ENOENT) {
        return problem(writeErrorOf(errno), path);
    }

    const fs::path targetPath(target);
    std::string folder = targetPath.parent_path().string();
    if (folder.empty())
        folder = ".";
    const std::string name = targetPath.filename().string();
    if (name.empty())
        return problem(Msg::FileNotRegular, path);
    removeStaleTemporaries(folder, name);

    // The temporary lives in the target's folder so that the rename never
    // crosses a file system; O_EXCL keeps two saves from sharing one.
    static std::atomic<unsigned> counter{0};
    std::string temp;
    Fd fd;
    for (int attempt = 0; attempt < 100 && fd.get() < 0; ++attempt) {
        temp = folder + "/" + name + std::string(kTempMark) + std::to_string(::getpid()) + "-"
            + std::to_string(counter++) + std::string(kTempSuffix);
        fd.adopt(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.get() < 0 && errno != EEXIST)
            return problem(writeErrorOf(errno), path);
    }
    if (fd.get() < 0)
        return problem(Msg::FileWriteFailed, path);

    int err = 0;
    bool ok = writeAll(fd.get(), bytes, err);
    if (ok && hadTarget) {
        // Owner and group first: a change of owner clears set-id bits, which
        // the mode then restores. Another user's file keeps its owner only
        // for the superuser; the group is kept where the user belongs to it.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            ok = false;
            err = errno;
        }
    }
    if (ok && ::fsync(fd.get()) != 0) {
        ok = false;
        err = errno;
    }
    if (!fd.reset() && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return problem(writeErrorOf(err), path);
    }
    syncFolder(folder);
    return {};
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !writableInPlace(path, st);
}

bool isWritableFolder(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && writableInPlace(path, st);
}

bool isAtomicTemporaryOf(std::string_view name, std::string_view targetName)
{
    return temporaryPid(name, targetName) >= 0;
}

Status becauseOf(Msg outer, std::vector<std::string> args, const Status& problem)
{
    return Status(outer, std::move(args), problem.msg);
}

} // namespace engine
