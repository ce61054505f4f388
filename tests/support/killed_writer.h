#pragma once
// Writes cut short the hard way, as a kill -9 during an edit or a replacement
// leaves them: a child process is forked, writes up to a chosen point, tells
// the test it got there and is killed with SIGKILL.

#include "core/files/file_replace.h"
#include "core/history/history_key.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QFile>
#include <QString>

#include <csignal>
#include <cstring>

#include <sys/wait.h>
#include <unistd.h>

namespace mirkano::test {

// A child that runs work, then reports (one byte on a pipe) and waits to be
// killed. Returns false when the child did not get that far.
template <typename Work>
bool runChildAndKill(Work work)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        ::close(ready[0]);
        const char ok = work() ? 1 : 0;
        (void)!::write(ready[1], &ok, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    const bool got = ::read(ready[0], &ok, 1) == 1 && ok == 1;
    ::close(ready[0]);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return got && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// An edit of the history file at path killed in the middle of its
// transaction: every row changed, the changed pages already spilled into the
// file itself, nothing committed. The file is then half changed and its
// journal lies beside it.
inline bool killEditMidTransaction(const QString& path)
{
    return runChildAndKill([&] {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return false;
        sqlite3_key(db, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
        // A cache of two pages makes the engine write changed pages to the
        // file before the commit, after it has made the journal safe.
        return sqlite3_exec(db,
                            "PRAGMA cache_size = 2; BEGIN IMMEDIATE;"
                            "UPDATE 当選データ SET 第1数字 = NULL, 第2数字 = NULL, 第3数字 = NULL;",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    });
}

// A save beside the target in folder dir killed while its work file and the
// work file's journal are there.
inline bool killSaveMidway(const QString& dir, const QString& targetName)
{
    return runChildAndKill([&] {
        const detail::WorkFile work(dir, targetName, detail::kSaveWorkSuffix);
        QFile journal(work.path() + QStringLiteral("-journal"));
        return work.fd() >= 0 && journal.open(QIODevice::WriteOnly) && journal.write("journal") == 7 && journal.flush();
    });
}

}  // namespace mirkano::test
