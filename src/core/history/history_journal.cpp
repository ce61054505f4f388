// The journal a writer keeps beside the history file: a write cut short (a
// kill, a power cut) is rolled back before the file is read or replaced, and a
// stale journal never reaches a new file.
#include "core/history/history_db.h"

#include "core/files/file_replace.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

using namespace historydb;

QString historydb::journalOf(const QString& path) { return path + QStringLiteral("-journal"); }

namespace {

// Whether a rollback journal with a written header lies beside the file: what
// a writer leaves when it is cut short after it began to change the file (a
// live writer's journal looks the same; its lock tells them apart). A journal
// whose header is still blank holds nothing to roll back.
bool journalToRollBack(const QString& path)
{
    const int fd = ::open(QFile::encodeName(journalOf(path)).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st;
    char first = 0;
    const bool hot = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && ::read(fd, &first, 1) == 1
                     && first != 0;
    ::close(fd);
    return hot;
}

}  // namespace

QString rollBackInterruptedWrite(const QString& pathIn)
{
    const QString path = QFileInfo(pathIn).absoluteFilePath();
    // The engine keeps the journal beside the file a link names.
    const QString real = detail::resolveLinks(path);
    if (!journalToRollBack(real) || detail::heldForWriting(real))
        return {};
    {
        // The first read of a connection that may write rolls the journal back.
        Connection conn;
        if (const QString cause = openHistoryDb(path, SQLITE_OPEN_READWRITE, conn); !cause.isEmpty())
            failOpen(path, cause);
    }
    if (journalToRollBack(real))
        return {};  // a writer began anew meanwhile
    return QStringLiteral("履歴ファイル「%1」への前回の書き込みが途中で止まっていたため、"
                          "その書き込みを取り消して元の状態に戻しました。")
        .arg(displayPath(path));
}

namespace detail {

void clearStaleJournal(const QString& path)
{
    ::unlink(QFile::encodeName(journalOf(path)).constData());
}

}  // namespace detail

}  // namespace mirkano
