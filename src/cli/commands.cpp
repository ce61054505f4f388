// The table of commands, argument parsing against it, and the top-level
// handling that turns every failure into a message and an exit code.

#include "cli/cli.h"

#include "core/error.h"
#include "core/history/history_store.h"
#include "core/files/system_cause.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cerrno>
#include <exception>
#include <new>

#include <dlfcn.h>
#include <unistd.h>

namespace mirkano::cli {

namespace {

// Every command takes --game loto6|loto7|miniloto (see commandGame).
const std::vector<CliCommand> kCommands = {
    {"import", {"csv", "db", "force", "merge", "prefer", "game"},
     "mirkano-cli import --csv FILE --db FILE [--force | --merge [--prefer mine|theirs]] [--game GAME]", &runImport},
    {"export", {"db", "game"}, "mirkano-cli export --db FILE [--game GAME]", &runExport},
    {"tables", {"db", "game"}, "mirkano-cli tables --db FILE [--game GAME]", &runTables},
    {"sheet", {"db", "reflect", "game"}, "mirkano-cli sheet --db FILE ANALYSIS [--reflect 0,3,...] [--game GAME]", &runSheet},
    {"check", {"db", "game"}, "mirkano-cli check --db FILE 1,2,3,4,5,6 [--game GAME]", &runCheck},
    {"backtest", {"db", "reflect", "from", "game"},
     "mirkano-cli backtest --db FILE [--reflect 0,3,...] [--from N] [--game GAME]", &runBacktest},
    {"stats", {"db", "reflect", "game"}, "mirkano-cli stats --db FILE [--reflect 0,3,...] [--game GAME]", &runStats},
    {"value", {"db", "game"}, "mirkano-cli value --db FILE [--game GAME]", &runValue},
    {"update", {"db", "server", "prefer", "game"},
     "mirkano-cli update --db FILE [--server URL] [--prefer mine|theirs] [--game GAME]", &runUpdateCommand},
    {"wheel", {"numbers", "keys", "guarantee", "seconds", "game"},
     "mirkano-cli wheel --numbers 1,2,... [--keys 1,...] --guarantee t/m|full [--seconds S] [--game GAME]", &runWheel},
    {"help", {}, "mirkano-cli help [COMMAND]  （--help、-h も同じ。コマンドの後の --help はそのコマンドの使い方）", &runHelp},
    {"--version", {}, "mirkano-cli --version", &runVersion},
};

// Other names of the help command.
bool isHelpName(std::string_view name) { return name == "--help" || name == "-h"; }

// Longer than any path the system accepts: no argument is that long.
constexpr qsizetype kMaxArgumentLength = 4096;

void checkLengths(const QStringList& args)
{
    for (const QString& arg : args)
        if (arg.size() > kMaxArgumentLength)
            throw UsageError{QStringLiteral("引数「%1」が長すぎます（%2 文字まで）").arg(echoed(arg)).arg(kMaxArgumentLength)};
}

// Whether everything written to out reached its destination; on failure a
// message naming the destination and the cause is written to err.
bool outputWritten(Streams& s)
{
    s.out.flush();
    if (s.out.good())
        return true;
    const auto* fd = dynamic_cast<const FdStreamBuf*>(s.out.rdbuf());
    const QString target = fd ? fd->target() : QString();
    const QString where = target.isEmpty() ? QStringLiteral("標準出力") : QStringLiteral("標準出力（%1）").arg(target);
    const QString cause = fd && fd->error() ? systemCause(fd->error()) : QStringLiteral("書き込みが途中で失敗しました");
    writeLine(s.err, QStringLiteral("mirkano-cli: %1に書き込めません：%2。出力は不完全です。").arg(where, cause));
    return false;
}

Args parseArgs(const CliCommand& command, const QStringList& args)
{
    Args a;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            a.positional << arg;
            continue;
        }
        const std::string name = arg.mid(2).toStdString();
        // --force and --merge alone, without a value, for the commands that list them.
        if ((name == kForceFlag || name == kMergeFlag)
            && std::count(command.options.begin(), command.options.end(), std::string_view(name))) {
            a.options[name] = QStringLiteral("1");
            continue;
        }
        bool accepted = false;
        for (const char* option : command.options)
            accepted = accepted || name == option;
        if (!accepted)
            throw UsageError{QStringLiteral("コマンド %1 にはオプション「%2」がありません")
                                 .arg(QString::fromLatin1(command.name), echoed(arg))};
        if (i + 1 >= args.size())
            throw UsageError{QStringLiteral("オプション %1 の値がありません").arg(echoed(arg))};
        a.options[name] = args[++i];
    }
    return a;
}

}  // namespace

QString Args::required(const std::string& name) const
{
    const auto it = options.find(name);
    if (it == options.end() || it->second.isEmpty())
        throw UsageError{QStringLiteral("オプション --%1 を指定してください").arg(QString::fromStdString(name))};
    return it->second;
}

QString Args::optional(const std::string& name) const
{
    const auto it = options.find(name);
    return it == options.end() ? QString() : it->second;
}

void Args::noPositional() const
{
    if (!positional.isEmpty())
        throw UsageError{QStringLiteral("余分な引数「%1」があります").arg(echoed(positional.first()))};
}

const std::vector<CliCommand>& cliCommands()
{
    return kCommands;
}

const CliCommand* findCliCommand(std::string_view name)
{
    if (isHelpName(name))
        name = "help";
    for (const CliCommand& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

namespace {

CommandFn linkedUpdate = nullptr;

}  // namespace

void useLinkedUpdateCommand(CommandFn run) { linkedUpdate = run; }

int runUpdateCommand(const Args& a, Streams& s)
{
    static CommandFn run = nullptr;
    if (!run)
        run = linkedUpdate;
    if (!run) {
        const QString module = QDir(programFolder()).filePath(QString::fromLatin1(kUpdateModuleName));
        void* handle = ::dlopen(QFile::encodeName(module).constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle)
            run = reinterpret_cast<CommandFn>(::dlsym(handle, kUpdateModuleEntry));
        if (!run)
            throw Error(QStringLiteral("最新化の機能「%1」を読み込めません：%2")
                            .arg(QDir::toNativeSeparators(module), QString::fromLocal8Bit(::dlerror())));
    }
    return run(a, s);
}

GameId commandGame(const Args& a, const QString& db)
{
    if (a.has("game")) {
        const QString name = a.optional("game");
        if (const std::optional<GameId> g = gameByCliName(name))
            return *g;
        QStringList names;
        for (const Game& g : games())
            names << g.cliName.toString();
        throw UsageError{QStringLiteral("ゲーム「%1」はありません。指定できるゲーム：%2")
                             .arg(echoed(name), names.join(QStringLiteral(", ")))};
    }
    if (!db.isEmpty() && QFileInfo::exists(db))
        return historyFileGame(db);
    return GameId::Loto6;
}

namespace {

// The history of --db with or without its prize data: reading them costs
// about as much again as the draws, so only the commands that speak yen do.
PricedHistory readCommandHistory(const Args& a, const QString& db, bool prizes)
{
    // The game: --game, else the one the file records.
    std::optional<GameId> wanted;
    if (a.has("game"))
        wanted = commandGame(a, db);
    HistoryReading file = readHistoryFile(db, wanted, prizes);
    // Draws that break the game's rules are named on stderr; the output
    // counts only the others.
    if (const QString notice = leftOutNotice(db, file.leftOut); !notice.isEmpty())
        std::fprintf(stderr, "mirkano-cli: %s\n", notice.toUtf8().constData());
    return {file.game, std::move(file.rows), std::move(file.prizes)};
}

}  // namespace

GameHistory loadGameHistory(const Args& a, const QString& db)
{
    PricedHistory h = readCommandHistory(a, db, false);
    return {h.game, std::move(h.rows)};
}

PricedHistory loadPricedHistory(const Args& a, const QString& db) { return readCommandHistory(a, db, true); }

QJsonObject moneyJson(const Winnings& money, int tickets)
{
    return {{QStringLiteral("tickets"), tickets},
            {QStringLiteral("draws"), money.draws},
            {QStringLiteral("cost"), qint64(money.cost)},
            {QStringLiteral("won"), qint64(money.won)},
            {QStringLiteral("expected"), qint64(std::llround(money.expected))}};
}

void writeBytes(std::ostream& os, const QByteArray& bytes)
{
    os.write(bytes.constData(), std::streamsize(bytes.size()));
}

void writeJson(std::ostream& os, const QJsonObject& object)
{
    writeBytes(os, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

std::optional<int> parseDigits(const QString& text)
{
    const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!digits || !ok)
        return std::nullopt;
    return n;
}

FdStreamBuf::FdStreamBuf(int fd) : m_fd(fd)
{
    setp(m_buffer, m_buffer + sizeof m_buffer);
}

FdStreamBuf::~FdStreamBuf()
{
    drain();
}

QString FdStreamBuf::target() const
{
    char link[4096];
    const ssize_t n = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(m_fd)).constData(), link, sizeof link);
    const QString path = n > 0 ? QFile::decodeName(QByteArray(link, int(n))) : QString();
    // Pipes and sockets have no path ("pipe:[1234]").
    return path.startsWith(u'/') ? echoed(path, 260) : QString();
}

bool FdStreamBuf::drain()
{
    const char* p = pbase();
    while (p < pptr() && m_error == 0) {
        const ssize_t n = ::write(m_fd, p, std::size_t(pptr() - p));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_error = n < 0 ? errno : EIO;
        else
            p += n;
    }
    setp(m_buffer, m_buffer + sizeof m_buffer);
    return m_error == 0;
}

FdStreamBuf::int_type FdStreamBuf::overflow(int_type ch)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

std::streamsize FdStreamBuf::xsputn(const char* data, std::streamsize size)
{
    std::streamsize done = 0;
    while (done < size) {
        if (pptr() == epptr() && !drain())
            return done;
        const std::streamsize n = std::min<std::streamsize>(size - done, epptr() - pptr());
        std::copy_n(data + done, n, pptr());
        pbump(int(n));
        done += n;
    }
    return done;
}

int FdStreamBuf::sync()
{
    return drain() ? 0 : -1;
}

void writeLine(std::ostream& os, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    os.write(bytes.constData(), std::streamsize(bytes.size()));
    os.put('\n');
}

int runCli(const QStringList& args, Streams& s)
{
    const CliCommand* command = args.isEmpty() ? nullptr : findCliCommand(args.first().toStdString());
    try {
        if (!command)
            throw UsageError{args.isEmpty() ? QStringLiteral("コマンドを指定してください")
                                            : QStringLiteral("コマンド「%1」はありません").arg(echoed(args.first()))};
        checkLengths(args);
        // --help or -h anywhere after a command is help COMMAND, whatever else the line holds.
        Args parsed;
        if (std::any_of(args.begin() + 1, args.end(), [](const QString& arg) { return isHelpName(arg.toStdString()); })) {
            parsed.positional = {QString::fromLatin1(command->name)};
            command = findCliCommand("help");
        } else {
            parsed = parseArgs(*command, args);
        }
        const int code = command->run(parsed, s);
        return outputWritten(s) ? code : kBadData;
    } catch (const UsageError& e) {
        s.out.flush();
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + e.message);
        if (command)
            s.err << "使い方:\n  " << command->usage << "\n";
        else
            s.err << usageText();
        return kUsage;
    } catch (const Error& e) {
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + e.message());
    } catch (const std::bad_alloc&) {
        writeLine(s.err, QStringLiteral("mirkano-cli: メモリが不足したため処理を中止しました。"));
    } catch (const std::exception& e) {
        // Only a fault of the program gets here; its own text (English) is
        // kept in brackets for the report.
        writeLine(s.err, QStringLiteral("mirkano-cli: 処理を続けられません：プログラムの内部エラーです（%1）")
                             .arg(echoed(QString::fromLocal8Bit(e.what()), 200)));
    } catch (...) {
        writeLine(s.err, QStringLiteral("mirkano-cli: 処理を続けられません：原因不明のエラー"));
    }
    return kBadData;
}

}  // namespace mirkano::cli
