#pragma once
// Helpers of the data-maintenance tests: history files written by the real
// store or crafted with the database engine directly, file bytes, and the
// application object that the network code needs.

#include "core/history/history_key.h"
#include "core/history/history_store.h"
#include "support/fixtures.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstring>

namespace mirkano::test {

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A database made by running sql on a new file, keyed with key (none: plain).
inline QByteArray craftedDatabase(const TempDir& dir, const char* key, const char* sql)
{
    const QString path = dir.path(QStringLiteral("crafted.db"));
    QFile::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (key)
        sqlite3_key(db, key, int(std::strlen(key)));
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    return bytes;
}

// The bytes of a history file that the store writes for these rows.
inline QByteArray historyBytes(const TempDir& dir, const History& rows)
{
    const QString path = dir.path(QStringLiteral("made.mdb"));
    QFile::remove(path);
    saveHistory(path, rows);
    const QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    return bytes;
}

// The names in a folder, hidden ones included (work files must not be left behind).
inline QStringList folderEntries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The network code needs an application object and runs its own event loops.
inline void ensureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

}  // namespace mirkano::test
