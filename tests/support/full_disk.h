#pragma once
// A real full disk for tests of writers: a small tmpfs mounted in a private
// mount namespace of a child process, filled to the last block. Where the
// machine allows no such namespace the caller skips the test.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace mirkano::test {

namespace detail {

inline bool writeProcFile(const char* path, const std::string& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    return ok;
}

// Fills the file system at dir until it has no block left.
inline void fill(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir + QStringLiteral("/filler")).constData(),
                          O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    static const char block[4096] = {};
    for (std::size_t size = sizeof block; size > 0; size /= 2)
        while (::write(fd, block, size) == ssize_t(size)) {
        }
    ::close(fd);
}

}  // namespace detail

// Runs in a child process: a 64 KB tmpfs is mounted at dir (an existing
// empty folder), prepare(dir) puts the files the test needs there, the
// file system is filled, and check(dir) runs on the full disk. Returns the
// text check returned (empty: passed), or nullopt when no private mount
// namespace could be made here.
inline std::optional<std::string> onFullDisk(const QString& dir, const std::function<void(const QString&)>& prepare,
                                             const std::function<std::string(const QString&)>& check)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        const QByteArray where = QFile::encodeName(dir);
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !detail::writeProcFile("/proc/self/setgroups", "deny")
            || !detail::writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1")
            || !detail::writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(77);
        prepare(dir);
        detail::fill(dir);
        const std::string result = check(dir);
        if (::write(pipeFds[1], result.data(), result.size()) < 0)
            ::_exit(2);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string result;
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        result.append(buf, std::size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child process on the full disk ended abnormally";
    return result;
}

}  // namespace mirkano::test
