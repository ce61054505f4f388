#pragma once
// The settings file of a game (Loto 6: ミルカノ.ini), which keeps the reflect options from one run
// to the next: Shift_JIS text, one line "key=True" or "key=False" per option
// in the order of kReflectOptions, each ending in CR LF. It is read once at
// start-up and written once at exit.

#include "core/error.h"
#include "core/game/game.h"
#include "core/predict/reflect_options.h"

#include <QString>

namespace mirkano {

inline const QString kSettingsFileName = QStringLiteral("ミルカノ.ini");

// A settings file that could not be read or written; the message names the
// file and the cause, in Japanese.
class SettingsError : public Error {
public:
    using Error::Error;
};

// Loto 6's settings file in the given folder.
QString settingsPathIn(const QString& folder);
// The settings file of a game in the given folder: ミルカノ.ini, ミルカノ7.ini,
// ミルカノミニ.ini. Each game keeps its own options.
QString settingsPathIn(const QString& folder, GameId game);
// Loto 6's settings file, and a game's, beside the running program (not the
// working directory).
QString defaultSettingsPath();
QString defaultSettingsPath(GameId game);

// The flags of `start` changed by every line of the file whose key is one of
// the twelve keys exactly (case, width and spaces count) and whose value,
// after the first "=", is True or False in any letter case or a number
// (0 is off, any other on). A key that occurs twice takes its last value;
// pieces after a second "=" are ignored. Other lines are skipped. A missing
// file changes nothing. Only a regular file of at most 16 KB is read; for
// anything else there (a folder, a named pipe, a device, a huge file), and
// for a file that cannot be read, throws SettingsError naming the file and
// the cause. Never blocks.
ReflectFlags readReflectFlags(const QString& path, ReflectFlags start = {});

// The twelve lines as written to the file.
QByteArray reflectFlagsFileContent(const ReflectFlags& flags);

// Writes the twelve lines to a new file beside the target and renames it over
// the target only once every byte is on the disk, so an existing file is
// replaced whole or not at all (a full disk keeps the old one). Throws
// SettingsError naming the file and cause (target untouched); a target that
// is not a regular file is not replaced.
void writeReflectFlags(const QString& path, const ReflectFlags& flags);

}  // namespace mirkano
