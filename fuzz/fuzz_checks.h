#pragma once
// The properties the fuzz targets check, shared with the core test that
// replays every input kept under fuzz/regressions/. Each check returns an
// empty string when the input was handled soundly, else what went wrong.

#include "core/predict/reflect_settings.h"
#include "core/history/history_csv.h"
#include "core/history/history_key.h"
#include "core/history/history_store.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <string>

#include <dirent.h>

namespace mirkano::fuzz {

// The longest message a bad input may give: the file name, the line and the
// cause with a short excerpt of the bad field.
inline constexpr int kMaxMessageLength = 400;

// Rows in ascending 回数 within range, all of one game, numbers empty (0) or
// 1 … the game's pool; with unique set, no 回数 twice.
inline std::string checkRows(const History& rows, bool unique)
{
    if (rows.size() > std::size_t(kMaxDrawNo))
        return "more rows than there can be draws";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DrawRecord& r = rows[i];
        if (r.drawNo < 1 || r.drawNo > kMaxDrawNo)
            return "回数 out of range: " + std::to_string(r.drawNo);
        if (i > 0 && (unique ? rows[i - 1].drawNo >= r.drawNo : rows[i - 1].drawNo > r.drawNo))
            return "rows out of order or repeated at 回数 " + std::to_string(r.drawNo);
        if (r.gameId != rows.front().gameId)
            return "rows of two games at 回数 " + std::to_string(r.drawNo);
        for (int n : r.all())
            if (n != 0 && (n < 1 || n > r.facts().pool))
                return "number out of range: " + std::to_string(n);
    }
    return {};
}

inline std::string checkMessage(const Error& e, const QString& mustStartWith)
{
    const QString m = e.message();
    if (!m.startsWith(mustStartWith))
        return "message does not name the file: " + m.toStdString();
    if (m.size() > kMaxMessageLength)
        return "message too long: " + std::to_string(m.size()) + " characters";
    if (std::strlen(e.what()) != std::size_t(m.toUtf8().size()))
        return "message cut short by a NUL";
    return {};
}

// The row of a draw in rows sorted by 回数, or nullptr.
inline const DrawRecord* findRow(const History& rows, int drawNo)
{
    const auto it = std::lower_bound(rows.begin(), rows.end(), drawNo,
                                     [](const DrawRecord& r, int no) { return r.drawNo < no; });
    return it != rows.end() && it->drawNo == drawNo ? &*it : nullptr;
}

// CSV bytes: either a message naming the source, or rows of the game the
// layout shows that are sorted, unique and in range, prize data only of
// those draws, and that export parses back to the same rows (with the prize
// columns, to the same prize data too), as that game and as the game the
// export shows.
inline std::string checkCsv(const QByteArray& bytes)
{
    const QString source = QStringLiteral("fuzz.csv");
    CsvHistory read;
    try {
        read = parseGameHistoryCsv(bytes, source, std::nullopt);
    } catch (const HistoryError& e) {
        return checkMessage(e, QStringLiteral("CSV「fuzz.csv」"));
    }
    const History& rows = read.rows;
    if (std::string bad = checkRows(rows, true); !bad.empty())
        return bad;
    if (!rows.empty() && rows.front().gameId != read.game)
        return "rows of another game than the CSV's";
    for (std::size_t i = 0; i < read.prizes.size(); ++i)
        if (read.prizes[i].empty() || (i > 0 && read.prizes[i - 1].drawNo >= read.prizes[i].drawNo)
            || !findRow(rows, read.prizes[i].drawNo))
            return "prize data empty, out of order or of a draw the CSV lacks";
    try {
        const QByteArray exported = historyToCsv(rows, read.game);
        const CsvHistory back = parseGameHistoryCsv(exported, source, std::nullopt);
        if (back.game != read.game || back.rows != rows || parseHistoryCsv(exported, source, read.game) != rows)
            return "export does not parse back to the same rows";
        // With the prize columns: the same rows and prize data.
        const CsvHistory withPrizes =
            parseGameHistoryCsv(historyToCsv(rows, read.game, read.prizes), source, std::nullopt);
        if (withPrizes.game != read.game || withPrizes.rows != rows || withPrizes.prizes != read.prizes)
            return "export with prize data does not parse back to the same rows and prize data";
    } catch (const HistoryError& e) {
        return "export does not parse back: " + e.message().toStdString();
    }
    return {};
}

// The bytes of a history file with a table of draws (good rows and foreign
// values) and no view yet, made once: each run then starts from a copy.
inline const QByteArray& viewlessFile(const QString& path)
{
    static const QByteArray bytes = [&] {
        const QString made = path + QStringLiteral(".base");
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(made).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) == SQLITE_OK) {
            sqlite3_key(db, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
            sqlite3_exec(db,
                         "CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);"
                         "INSERT INTO t VALUES (1, 2, 8, 10, 13, 27, 30, 39), (2, 1, 9, 16, 20, 21, 43, 5),"
                         " ('3', 1.0, 'x', NULL, 44, -1, 12.5, X'00');",
                         nullptr, nullptr, nullptr);
        }
        sqlite3_close_v2(db);
        QFile f(made);
        const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        f.close();
        QFile::remove(made);
        return all;
    }();
    return bytes;
}

// Makes a history file whose view 全データ選択クエリ is the given SELECT over
// a table of draws; false when the database takes no such view.
inline bool craftViewFile(const QString& path, const QByteArray& select)
{
    {
        const QByteArray& base = viewlessFile(path);
        QFile f(path);
        if (base.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(base) != base.size())
            return false;
    }
    sqlite3* db = nullptr;
    bool made = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_key(db, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
        // A throw-away file: nothing forced to the disk, no journal file.
        sqlite3_exec(db, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;", nullptr, nullptr, nullptr);
        // Only the first statement of the input runs: the view and nothing else.
        const QByteArray view = "CREATE VIEW 全データ選択クエリ AS " + select;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, view.constData(), int(view.size()), &stmt, nullptr) == SQLITE_OK && stmt)
            made = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db);
    return made;
}

// A history file from fuzz input, loaded: either a message naming the file, or
// rows in order and in range. The first byte chooses what the rest is: even,
// the file's bytes as they are; odd, the SELECT of the history view in a file
// made with the right password (the bytes of an encrypted file rarely get
// past its page checks, a view reaches the loader's reading of rows).
inline std::string checkHistoryFile(const QByteArray& input, const QString& dir)
{
    const QString path = QDir(dir).filePath(QStringLiteral("Mirkano.mdb"));
    QFile::remove(path);
    const QByteArray rest = input.mid(1);
    if (!input.isEmpty() && (input[0] & 1)) {
        if (!craftViewFile(path, rest))
            return {};
    } else {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(rest) != rest.size())
            return "cannot write the input file";
    }
    std::string bad;
    try {
        bad = checkRows(loadHistory(path), false);
    } catch (const HistoryError& e) {
        bad = checkMessage(e, QStringLiteral("履歴ファイル「%1」").arg(QDir::toNativeSeparators(path)));
    }
    if (bad.empty()) {
        // Every name in the folder, hidden ones too.
        std::string left;
        if (DIR* d = ::opendir(QFile::encodeName(dir).constData())) {
            while (const dirent* e = ::readdir(d))
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0
                    && std::strcmp(e->d_name, "Mirkano.mdb") != 0)
                    left += std::string(" ") + e->d_name;
            ::closedir(d);
        }
        if (!left.empty())
            bad = "reading left files beside the history:" + left;
    }
    QFile::remove(path);
    return bad;
}

// A settings file from fuzz input: a line sets an option whatever the flags
// were before (so reading onto all-off and onto all-on differ only where the
// file sets nothing), and the flags read, written out, read back the same.
inline std::string checkSettings(const QByteArray& input, const QString& dir)
{
    const QString path = QDir(dir).filePath(QStringLiteral("settings.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(input) != input.size())
            return "cannot write the input file";
    }
    ReflectFlags allOn;
    allOn.on.fill(true);
    std::string bad;
    try {
        const ReflectFlags fromOff = readReflectFlags(path);
        const ReflectFlags fromOn = readReflectFlags(path, allOn);
        for (int i = 0; i < kReflectOptionCount && bad.empty(); ++i)
            if (fromOff.on[std::size_t(i)] != fromOn.on[std::size_t(i)] && fromOff.on[std::size_t(i)])
                bad = "option " + std::to_string(i) + " read from the flags before, not from the file";
        writeReflectFlags(path, fromOff);
        if (bad.empty() && readReflectFlags(path, allOn) != fromOff)
            bad = "flags written do not read back the same";
    } catch (const SettingsError& e) {
        bad = "a readable settings file was refused: " + e.message().toStdString();
    }
    QFile::remove(path);
    return bad;
}

}  // namespace mirkano::fuzz
