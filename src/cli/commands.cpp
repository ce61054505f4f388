// The table of commands, argument parsing against it, and the top-level
// handling that turns every failure into a message and an exit code.

#include "cli/cli.h"

#include "core/error.h"

#include <QJsonDocument>

#include <algorithm>
#include <exception>
#include <new>

namespace mirkano::cli {

namespace {

const std::vector<CliCommand> kCommands = {
    {"import", {"csv", "db", "force", "merge", "prefer"},
     "mirkano-cli import --csv FILE --db FILE [--force | --merge [--prefer mine|theirs]]", &runImport},
    {"export", {"db"}, "mirkano-cli export --db FILE", &runExport},
    {"tables", {"db"}, "mirkano-cli tables --db FILE", &runTables},
    {"sheet", {"db", "reflect"}, "mirkano-cli sheet --db FILE ANALYSIS [--reflect 0,3,...]", &runSheet},
    {"check", {"db"}, "mirkano-cli check --db FILE 1,2,3,4,5,6", &runCheck},
    {"backtest", {"db", "reflect", "from"}, "mirkano-cli backtest --db FILE [--reflect 0,3,...] [--from N]", &runBacktest},
    {"update", {"db", "server", "force"}, "mirkano-cli update --db FILE --server URL [--force]", &runUpdate},
};

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
            throw UsageError{QStringLiteral("%1 does not take the option %2")
                                 .arg(QString::fromLatin1(command.name), arg)};
        if (i + 1 >= args.size())
            throw UsageError{QStringLiteral("%1 needs a value").arg(arg)};
        a.options[name] = args[++i];
    }
    return a;
}

}  // namespace

QString Args::required(const std::string& name) const
{
    const auto it = options.find(name);
    if (it == options.end() || it->second.isEmpty())
        throw UsageError{QStringLiteral("--%1 is required").arg(QString::fromStdString(name))};
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
        throw UsageError{QStringLiteral("unexpected argument %1").arg(positional.first())};
}

const std::vector<CliCommand>& cliCommands()
{
    return kCommands;
}

const CliCommand* findCliCommand(std::string_view name)
{
    for (const CliCommand& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

std::string usageText()
{
    std::string text = "usage:\n";
    for (const CliCommand& c : kCommands)
        text += std::string("  ") + c.usage + "\n";
    return text;
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
            throw UsageError{args.isEmpty() ? QStringLiteral("name a command")
                                            : QStringLiteral("unknown command %1").arg(args.first())};
        return command->run(parseArgs(*command, args), s);
    } catch (const UsageError& e) {
        s.out.flush();
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + e.message);
        if (command)
            s.err << "usage:\n  " << command->usage << "\n";
        else
            s.err << usageText();
        return kUsage;
    } catch (const Error& e) {
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + e.message());
    } catch (const std::bad_alloc&) {
        writeLine(s.err, QStringLiteral("mirkano-cli: メモリが不足したため処理を中止しました。"));
    } catch (const std::exception& e) {
        writeLine(s.err, QStringLiteral("mirkano-cli: 処理を続けられません：%1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        writeLine(s.err, QStringLiteral("mirkano-cli: 処理を続けられません：原因不明のエラー"));
    }
    return kBadData;
}

}  // namespace mirkano::cli
