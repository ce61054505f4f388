#include "core/files/file_replace.h"

#include "core/files/system_cause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirkano::detail {

namespace {

constexpr char kJournalSuffix[] = "-journal";

// When this process started, as near as it can tell: the time its static
// objects were made.
const timespec kProcessStart = [] {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return t;
}();

// A work file last written before this process started belongs to a process
// that started before it; when no one holds its lock, that process is gone
// (killed in the middle of its replacement). A newer one may be a replacement
// that has just made its file and not yet locked it.
bool olderThanThisProcess(const struct stat& st)
{
    return st.st_mtim.tv_sec < kProcessStart.tv_sec
           || (st.st_mtim.tv_sec == kProcessStart.tv_sec && st.st_mtim.tv_nsec < kProcessStart.tv_nsec);
}

}  // namespace

QString systemCause(int err)
{
    return mirkano::systemCause(err);
}

QString resolveLinks(const QString& path)
{
    QString p = path;
    for (int depth = 0; depth < 40 && QFileInfo(p).isSymLink(); ++depth) {
        const QString canonical = QFileInfo(p).canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
        p = QFileInfo(p).symLinkTarget();
    }
    return p;
}

bool heldForWriting(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool held = false;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0)
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    else
        held = errno == EAGAIN || errno == EBUSY;
    struct flock lock{};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x40000000;  // the database engine's lock bytes
    lock.l_len = 512;
    if (::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK)
        held = true;
    ::close(fd);
    return held;
}

void syncFolder(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

WorkFile::WorkFile(const QString& dir, const QString& targetName, const char* suffix)
{
    for (int attempt = 0; attempt < 10 && m_fd < 0; ++attempt) {
        m_path = QDir(dir).filePath(QStringLiteral(".%1.%2%3").arg(
            targetName, QUuid::createUuid().toString(QUuid::WithoutBraces), QLatin1String(suffix)));
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        m_error = errno;
    else
        ::flock(m_fd, LOCK_EX);
}

WorkFile::~WorkFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void WorkFile::remove() const
{
    ::unlink(QFile::encodeName(m_path).constData());
    ::unlink(QFile::encodeName(m_path + QLatin1String(kJournalSuffix)).constData());
}

void removeStaleWorkFiles(const QString& dir, const QString& targetName)
{
    const QString prefix = QStringLiteral(".") + targetName + u'.';
    const QStringList names = QDir(dir).entryList({prefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    const auto isWorkName = [](const QString& name) {
        return name.endsWith(QLatin1String(kSaveWorkSuffix)) || name.endsWith(QLatin1String(kDownloadWorkSuffix));
    };
    for (const QString& name : names) {
        const bool isJournal = name.endsWith(QLatin1String(kJournalSuffix));
        const QString workName = isJournal ? name.chopped(int(std::strlen(kJournalSuffix))) : name;
        if (!isWorkName(workName))
            continue;
        const QByteArray native = QFile::encodeName(QDir(dir).filePath(workName));
        const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            // A journal whose work file is gone.
            struct stat st;
            const QByteArray j = QFile::encodeName(QDir(dir).filePath(name));
            if (isJournal && errno == ENOENT && ::lstat(j.constData(), &st) == 0 && olderThanThisProcess(st))
                ::unlink(j.constData());
            continue;
        }
        struct stat st, still;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 && olderThanThisProcess(st) &&
            ::lstat(native.constData(), &still) == 0 && still.st_ino == st.st_ino && still.st_dev == st.st_dev) {
            ::unlink(native.constData());
            ::unlink((native + kJournalSuffix).constData());
        }
        ::close(fd);
    }
}

}  // namespace mirkano::detail
