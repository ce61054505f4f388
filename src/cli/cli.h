#pragma once
// mirkano-cli as a library: one table of commands, each with the only
// options it accepts and its own usage line, run with the streams passed in
// so that tests can run every command in-process.
// Exit codes: 0 done, 1 bad file or data (or any other failure, a failed
// write of the result included), 2 wrong usage.

#include "core/error.h"
#include "core/game/game.h"
#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "core/maintenance/history_merge.h"
#include "core/money/winnings.h"
#include "core/predict/reflect_options.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace mirkano::cli {

inline constexpr int kDone = 0;
inline constexpr int kBadData = 1;
inline constexpr int kUsage = 2;

// The option without a value that lets import and update replace a history
// even though complete draws stored in it would be lost.
inline constexpr char kForceFlag[] = "force";
// The option without a value that merges a CSV into an existing history.
inline constexpr char kMergeFlag[] = "merge";

// The sheet command's name for the four prediction sheets.
inline constexpr char kPredictionId[] = "prediction";

// Where a command writes: out receives the result (CSV, JSON), err the
// messages. Both take bytes (UTF-8 text).
struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// The program's standard output: bytes written to a file descriptor through a
// buffer, keeping the system error of the first write that failed (a full
// disk, a closed pipe); later writes are dropped. runCli reports that error.
class FdStreamBuf : public std::streambuf {
public:
    explicit FdStreamBuf(int fd);
    ~FdStreamBuf() override;
    FdStreamBuf(const FdStreamBuf&) = delete;
    FdStreamBuf& operator=(const FdStreamBuf&) = delete;

    // The errno of the failed write, 0 while every write went through.
    int error() const { return m_error; }
    // The file the descriptor writes to, when it has a path ("/tmp/out.csv").
    QString target() const;

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool drain();

    int m_fd;
    int m_error = 0;
    char m_buffer[1 << 16];
};

// Wrong usage of a command; its message is printed with the command's usage line.
struct UsageError {
    QString message;
};

// The "--name value" options and the positional arguments of one command.
struct Args {
    std::map<std::string, QString> options;
    QStringList positional;

    // The value of --name; throws UsageError when it is missing or empty.
    QString required(const std::string& name) const;
    // The value of --name, or an empty string when it is not given.
    QString optional(const std::string& name) const;
    bool has(const std::string& name) const { return options.count(name) != 0; }
    // Throws UsageError when any positional argument was given.
    void noPositional() const;
};

struct CliCommand {
    const char* name;
    std::vector<const char*> options;  // the only "--name VALUE" options it accepts
    const char* usage;                 // its own usage line, printed alone on a usage error
    int (*run)(const Args&, Streams&);
};

// Every command, in the order the usage text lists them.
const std::vector<CliCommand>& cliCommands();
const CliCommand* findCliCommand(std::string_view name);
// The usage printed on a usage error without a command: every command's
// line and the games, built from the table.
std::string usageText();
// The full help of help, --help and -h: the usage, the analysis IDs and an
// example ticket of each game.
std::string helpText();
// The line --version prints: the version the version window shows.
std::string versionText();
// An example ticket of the game: its main numbers spread over the pool ("1,9,17,26,34,43").
QString ticketExample(const Game& g);

// Runs one command line (without the program name). Every failure ends in a
// message on err and exit code 1 or 2; nothing escapes as an exception.
int runCli(const QStringList& args, Streams& streams);

// The game a command works on: --game names it (loto6, loto7, miniloto);
// without it, the game the --db file records, or Loto 6 when there is no
// file yet. Throws UsageError for an unknown --game value.
GameId commandGame(const Args& a, const QString& db);
// The history of --db for the command's game: a file of another game than
// --game names is refused (HistoryError naming both games).
struct GameHistory {
    GameId game;
    History rows;
};
GameHistory loadGameHistory(const Args& a, const QString& db);
// The same with the file's prize data (empty when it has none).
struct PricedHistory {
    GameId game;
    History rows;
    PrizeTable prizes;
};
PricedHistory loadPricedHistory(const Args& a, const QString& db);
// The money of tickets over draws as `check` and `backtest` write it:
// {tickets, draws, cost, won, expected}: tickets bought, the draws with prize
// data the yen figures cover, and yen (expected rounded to the yen).
QJsonObject moneyJson(const Winnings& money, int tickets);

// Writes UTF-8 text followed by a newline.
void writeLine(std::ostream& os, const QString& text);
// Bytes as they are, and a JSON object on one line.
void writeBytes(std::ostream& os, const QByteArray& bytes);
void writeJson(std::ostream& os, const QJsonObject& object);
// A whole number written with the digits 0–9 only (no sign, no spaces).
std::optional<int> parseDigits(const QString& text);

// The value of --reflect: option indexes 0 … 11 separated by commas, e.g.
// "0,3,10"; an empty value switches none on. Throws UsageError otherwise.
ReflectFlags parseReflect(const QString& list);

// The value of --prefer (mine, theirs; Refuse when it is not given).
// Throws UsageError for any other value.
MergePreference parsePreference(const Args& a);
// A merge's summary on out and kDone; when conflicts refused it, the
// conflicts and the summary on err and kBadData. source names what was merged.
int reportMerge(const MergeResult& result, MergePreference preference, const QString& source, Streams& s);

// The commands, each in its own source file.
int runImport(const Args&, Streams&);
int runExport(const Args&, Streams&);
int runTables(const Args&, Streams&);
int runSheet(const Args&, Streams&);
// The sheet command for the four sheets of the prediction.
int runPredictionSheets(const Args&, Streams&);
int runCheck(const Args&, Streams&);
int runBacktest(const Args&, Streams&);
int runStats(const Args&, Streams&);
int runValue(const Args&, Streams&);
int runUpdate(const Args&, Streams&);
int runWheel(const Args&, Streams&);
int runHelp(const Args&, Streams&);
int runVersion(const Args&, Streams&);

// The update is the only command that needs the network library, which is
// slow to load; the tool keeps it in a module beside itself
// (kUpdateModuleName), loaded only when the update runs, so that every other
// command starts without it. A program that links the update itself (the
// tests) hands it over here first.
using CommandFn = int (*)(const Args&, Streams&);
inline constexpr char kUpdateModuleName[] = "mirkano-cli-update.so";
inline constexpr char kUpdateModuleEntry[] = "mirkano_cli_update";
void useLinkedUpdateCommand(CommandFn run);
// Runs the update: the linked one, or the module's.
int runUpdateCommand(const Args&, Streams&);

}  // namespace mirkano::cli
