#pragma once
// What kind of file a path names, found out without blocking. Every file the
// program reads (history, CSV, settings, help) must be a regular file: opening
// a named pipe waits for a writer that may never come, and a device such as
// /dev/zero never ends. The checks look with stat, or open without waiting
// and look at the open handle, so neither can hang.

#include <QByteArrayView>
#include <QString>

class QFile;

namespace mirkano {

// Why the path, after its links, is not a regular file that can be read, in
// words for the user ("ファイルがありません", "ファイルではなくフォルダーです",
// "名前付きパイプで、通常のファイルではありません", …); empty when it is one.
// Looks with stat only: nothing is opened.
QString regularFileFault(const QString& path);

// Whether nothing is there: no file, or a link to none.
bool isMissing(const QString& path);

// Opens a regular file for reading. The file is opened without waiting and
// its kind checked on the open handle, so that a named pipe put in its place
// meanwhile blocks nothing either. Returns empty with file open (read only),
// else the cause in words and file closed.
QString openRegularFile(QFile& file, const QString& path);

// Whether two paths name one existing file, also through symbolic or hard
// links.
bool isSameFile(const QString& a, const QString& b);

// Whether the file holds a database (as a history file does, encrypted or
// not) rather than text: it starts with the plain database header, or its
// size is a whole number of database pages and its first four kilobytes hold
// a NUL byte that no text in a byte encoding has. Reads at most those bytes,
// never blocks, and does no key derivation. False for anything else, also for
// a missing file or one that is not regular.
bool looksLikeDatabase(const QString& path);
// The same test on bytes already read: the file's first bytes (four
// kilobytes or more, where the file has them) and its whole size.
bool looksLikeDatabase(QByteArrayView head, qint64 size);

// Why an export may not write its CSV over the target, in words for the
// user, or empty: the target is the program's history file at historyPath
// (also through a link), or another file that looks like a database
// (looksLikeDatabase). A missing target gives empty.
QString historyOverwriteFault(const QString& target, const QString& historyPath);

}  // namespace mirkano
