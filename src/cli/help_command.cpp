// The tool's own help: the usage printed on a usage error, the full help of
// help / --help / -h, and --version. Every line comes from the command table,
// the analysis registry and the game facts, so the help names exactly what the
// tool accepts.

#include "cli/cli.h"

#include "core/analysis/analysis.h"
#include "core/predict/prediction_sheets.h"
#include "core/version.h"

#include <algorithm>
#include <cstring>

namespace mirkano::cli {

namespace {

std::string utf8(const QString& text) { return text.toStdString(); }
std::string utf8(QStringView text) { return text.toString().toStdString(); }

// The --game values with the games' names, and what a command works on without it.
std::string gameLine()
{
    std::string text = "GAME: ";
    for (const Game& g : games())
        text += utf8(g.cliName) + "（" + utf8(g.name) + "） ";
    text += "（省略時はファイルのゲーム、新しいファイルはロト6）\n";
    return text;
}

std::string commandLines()
{
    std::string text = "使い方:\n";
    for (const CliCommand& c : cliCommands())
        text += std::string("  ") + c.usage + "\n";
    return text;
}

// The analysis IDs the sheet command takes, with the windows' captions.
std::string analysisSection()
{
    std::size_t width = std::strlen(kPredictionId);
    for (const Analysis& an : analyses())
        width = std::max(width, std::strlen(an.id));
    const auto line = [width](const char* id, const QString& caption) {
        return std::string("  ") + id + std::string(width + 2 - std::strlen(id), ' ') + utf8(caption) + "\n";
    };
    std::string text = "ANALYSIS（sheet の分析）:\n";
    for (const Analysis& an : analyses())
        text += line(an.id, an.facts.caption);
    text += line(kPredictionId, kPredictionCaption + QStringLiteral("（--reflect で反映するオプションを 0～%1 の番号で指定）")
                                                          .arg(kReflectOptionCount - 1));
    return text;
}

// An example check of each game.
std::string ticketSection()
{
    std::string text = "券の例（check）:\n";
    for (const Game& g : games())
        text += "  " + utf8(g.name) + "（1～" + std::to_string(g.pool) + " の異なる数字 " + std::to_string(g.mains)
                + " つ）: mirkano-cli check --db " + utf8(g.historyFile) + " " + utf8(ticketExample(g)) + "\n";
    return text;
}

}  // namespace

QString ticketExample(const Game& g)
{
    // Spread from 1 to the top of the pool, so that the example also shows the range.
    QStringList numbers;
    for (int i = 0; i < g.mains; ++i)
        numbers << QString::number(1 + i * (g.pool - 1) / (g.mains - 1));
    return numbers.join(QLatin1Char(','));
}

std::string usageText()
{
    return commandLines() + gameLine() + "詳しくは mirkano-cli --help\n";
}

std::string helpText()
{
    std::string text = "mirkano-cli: ミルカノの履歴ファイルの取り込み・書き出し、分析表、予想、当選確認をコマンドで行います。\n";
    text += commandLines();
    text += gameLine();
    text += analysisSection();
    text += ticketSection();
    text += "終了コード: 0 完了、1 ファイルやデータの誤り・出力の失敗、2 使い方の誤り\n";
    return text;
}

std::string versionText()
{
    return "mirkano-cli（ミルカノ） " + utf8(QString::fromUtf16(kVersionText)) + "\n";
}

int runHelp(const Args& a, Streams& s)
{
    // help COMMAND: that command's line and the common notes.
    if (!a.positional.isEmpty()) {
        const QString name = a.positional.first();
        const CliCommand* command = a.positional.size() == 1 ? findCliCommand(name.toStdString()) : nullptr;
        if (!command)
            throw UsageError{a.positional.size() == 1 ? QStringLiteral("コマンド「%1」はありません").arg(echoed(name))
                                                      : QStringLiteral("余分な引数「%1」があります").arg(echoed(a.positional[1]))};
        s.out << "使い方:\n  " << command->usage << "\n" << gameLine();
        if (command->run == &runSheet)
            s.out << analysisSection();
        if (command->run == &runCheck)
            s.out << ticketSection();
        if (command->run == &runWheel)
            s.out << "保証 t/m: キー数字以外の選んだ数字のうち m 個が当たれば、どれかの券で t 個以上一致（キー数字はすべての券に入ります）。"
                     "full は全組合せ。--seconds は探索の時間の上限（既定 10 秒）\n";
        return kDone;
    }
    s.out << helpText();
    return kDone;
}

int runVersion(const Args& a, Streams& s)
{
    a.noPositional();
    s.out << versionText();
    return kDone;
}

}  // namespace mirkano::cli
