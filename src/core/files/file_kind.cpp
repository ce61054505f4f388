#include "core/files/file_kind.h"

#include "core/files/system_cause.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

namespace {

// Size of the smallest database page; a database file is made of whole pages.
constexpr qint64 kPageBytes = 512;
// The bytes looked at: the first page of a database.
constexpr qsizetype kHeadBytes = 4096;
constexpr char kPlainDatabaseHeader[] = "SQLite format 3";  // 16 bytes with its terminating zero

// Why a failed stat or open of a file to read failed; a path through
// something that is not a folder names no file either.
QString causeOfErrno(int err)
{
    return readCause(err == ENOTDIR ? ENOENT : err);
}

// Why a file of this mode is not a regular file; empty when it is one.
QString causeOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("ファイルではなくフォルダーです");
    if (S_ISFIFO(mode))
        return QStringLiteral("名前付きパイプで、通常のファイルではありません");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("デバイスで、通常のファイルではありません");
    if (S_ISSOCK(mode))
        return QStringLiteral("ソケットで、通常のファイルではありません");
    return QStringLiteral("通常のファイルではありません");
}

// A regular file opened read only without waiting, or -1 with the cause.
int openRegular(const QString& path, QString& cause)
{
    if (path.isEmpty()) {
        cause = causeOfErrno(ENOENT);
        return -1;
    }
    cause = regularFileFault(path);
    if (!cause.isEmpty())
        return -1;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        cause = causeOfErrno(errno);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0)
        cause = causeOfErrno(errno);
    else
        cause = causeOfMode(st.st_mode);
    if (!cause.isEmpty()) {
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never wait anyway; the flag only mattered for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

QString regularFileFault(const QString& path)
{
    if (path.isEmpty())
        return causeOfErrno(ENOENT);
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return causeOfErrno(errno);
    return causeOfMode(st.st_mode);
}

bool isMissing(const QString& path)
{
    struct stat st;
    return path.isEmpty() || (::stat(QFile::encodeName(path).constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR));
}

QString openRegularFile(QFile& file, const QString& path)
{
    file.close();
    QString cause;
    const int fd = openRegular(path, cause);
    if (fd < 0)
        return cause;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QStringLiteral("開くことができません");
    }
    return {};
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool looksLikeDatabase(const QString& path)
{
    QString cause;
    const int fd = openRegular(path, cause);
    if (fd < 0)
        return false;
    struct stat st;
    char head[kHeadBytes];
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && st.st_size >= kPageBytes) {
        do
            got = ::pread(fd, head, sizeof head, 0);
        while (got < 0 && errno == EINTR);
    }
    ::close(fd);
    return got > 0 && looksLikeDatabase(QByteArrayView(head, got), st.st_size);
}

bool looksLikeDatabase(QByteArrayView bytes, qint64 size)
{
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), kHeadBytes));
    if (head.size() < qsizetype(sizeof kPlainDatabaseHeader) || size < kPageBytes)
        return false;
    if (std::memcmp(head.data(), kPlainDatabaseHeader, sizeof kPlainDatabaseHeader) == 0)
        return true;
    // An encrypted database reads as random bytes: four kilobytes of them
    // hold a NUL byte but for a chance of about one in ten million (one
    // kilobyte would miss one file in fifty), text in a byte encoding never. Text in
    // UTF-16 has NUL bytes too, but starts with its byte-order mark.
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(head[i]); };
    const bool utf16 = (byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF);
    return size % kPageBytes == 0 && !utf16 && head.contains('\0');
}

QString historyOverwriteFault(const QString& target, const QString& historyPath)
{
    if (!historyPath.isEmpty() && isSameFile(target, historyPath))
        return QStringLiteral("ミルカノの履歴ファイルです。上書きすると当選データが失われます");
    if (looksLikeDatabase(target))
        return QStringLiteral("履歴ファイルなどのデータベースで、CSV ではありません。上書きするとその中身が失われます");
    return {};
}

}  // namespace mirkano
