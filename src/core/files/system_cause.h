#pragma once
// The causes of failed file operations in Japanese words the user can act on.
// The system and Qt describe failures in English ("No space left on device",
// "Existing file … is not writable"); no such text is shown to the user.

#include <QString>

class QFileDevice;

namespace mirkano {

// A system error (errno).
QString systemCause(int err);

// Why a file could not be opened for reading: as systemCause, but a missing
// file is "ファイルがありません" and a refused one "読み取る権限がありません"
// (0, an unknown cause: "開くことができません").
QString readCause(int err);

// The system error behind the last failure of a QFile or QSaveFile, found
// again from its error text; 0 when the failure was not a system error.
int fileErrno(const QFileDevice& file);

// Why the last operation on a QFile or QSaveFile failed.
QString fileErrorCause(const QFileDevice& file);

}  // namespace mirkano
