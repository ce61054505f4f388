#include "core/files/file_write.h"

#include "core/files/file_replace.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

namespace {

// A failed write, flush, link or rename in words for the user.
QString writeCause(int err)
{
    switch (err) {
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎて書き込めません");
    case EIO:
        return QStringLiteral("ディスクへの書き込みに失敗しました");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダーがありません");
    default:
        return detail::systemCause(err);
    }
}

// Why an existing target is not to be replaced; empty when it is a regular
// file or there is none.
QString targetFault(const QByteArray& target, mode_t& mode, bool& exists)
{
    struct stat st;
    exists = ::lstat(target.constData(), &st) == 0;
    if (!exists)
        return errno == ENOENT ? QString() : writeCause(errno);
    mode = st.st_mode & 07777;
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("同じ名前のフォルダーがあります");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("シンボリックリンクが循環しています");
    return QStringLiteral("通常のファイルではない（名前付きパイプやデバイスなどの）ため、書き換えません");
}

bool writeAll(int fd, const QByteArray& bytes, int& err)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

}  // namespace

QString writeFileWhole(const QString& path, const QByteArray& bytes)
{
    const QString targetPath = detail::resolveLinks(QFileInfo(path).absoluteFilePath());
    const QByteArray target = QFile::encodeName(targetPath);
    const QString dir = QFileInfo(targetPath).absolutePath();
    const QByteArray nativeDir = QFile::encodeName(dir);
    mode_t mode = 0;
    bool exists = false;
    if (QString fault = targetFault(target, mode, exists); !fault.isEmpty())
        return fault;

    // The new file has no name until it is complete, so a kill on the way
    // leaves nothing behind; where the file system (or a missing /proc)
    // cannot do that, it is a hidden work file beside the target.
    const QByteArray work = QFile::encodeName(QStringLiteral("%1/.%2.%3.tmp").arg(
        dir, QFileInfo(targetPath).fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    for (const bool unnamed : {true, false}) {
        int fd = unnamed ? ::open(nativeDir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                         : ::open(work.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
            continue;
        if (fd < 0)
            return QStringLiteral("作業ファイルを作れません（%1）").arg(writeCause(errno));

        int err = 0;
        bool ok = (!exists || ::fchmod(fd, mode) == 0 || (err = errno, false)) && writeAll(fd, bytes, err);
        if (ok && ::fsync(fd) != 0) {
            err = errno;
            ok = false;
        }
        if (ok && unnamed) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, work.constData(), AT_SYMLINK_FOLLOW) != 0) {
                ::close(fd);
                continue;  // written again under a name from the start
            }
        }
        if (::close(fd) != 0 && ok) {
            err = errno;
            ok = false;
        }
        if (ok && ::rename(work.constData(), target.constData()) != 0) {
            err = errno;
            ok = false;
        }
        if (!ok) {
            ::unlink(work.constData());  // the work name, when it was given one
            return QStringLiteral("書き込めません（%1）").arg(writeCause(err));
        }
        break;
    }
    detail::syncFolder(dir);
    return {};
}

}  // namespace mirkano
