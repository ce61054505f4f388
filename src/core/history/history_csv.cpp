#include "core/history/history_csv.h"

#include "core/history/csv_date.h"
#include "core/history/csv_prizes.h"
#include "core/history/csv_text.h"
#include "core/history/draw_rule.h"
#include "core/files/file_kind.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>
#include <map>

namespace mirkano {

namespace {

// Characters of a bad field quoted in a message.
constexpr int kExcerptLength = 16;

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

using csv::decodeCsv;
using csv::failFile;
using csv::failLine;
using CsvRecords = csv::Records;

// A field as a message quotes it: at most a few characters, control
// characters (a NUL would end the message) shown as replacement characters.
QString excerpt(QStringView field, qsizetype length = kExcerptLength)
{
    QString out;
    for (QChar c : field.left(length))
        out += (c.unicode() < 0x20 || c.unicode() == 0x7f) ? QChar(QChar::ReplacementCharacter) : c;
    if (field.size() > length)
        out += u'…';
    return out;
}

}  // namespace

namespace {

// Where the fields of a draw sit in the records of one file.
struct Layout {
    int drawNo = -1;
    int date = -1;                                  // -1: no date column
    std::array<int, kMaxNumbersPerDraw> numbers{};  // the game's mains, then its bonuses
    std::vector<int> prizes;                        // by prizeFieldNames; -1: no such column
    bool header = true;                             // false: the first record is a draw
};

// A text as the reader compares it: full-width letters, digits and signs
// folded to their half-width forms, half-width katakana to full-width, blanks
// removed, letters upper case. Nothing else is folded: a superscript ¹ or a
// circled ① is no digit 1.
QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0xFF01 && c <= 0xFF5E) {
            out += QChar(char16_t(c - 0xFF01 + 0x21));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            // A run of half-width katakana, its sound marks joined to the
            // kana before them (ﾎﾞ → ボ).
            qsizetype end = i;
            while (end < text.size() && text[end].unicode() >= 0xFF61 && text[end].unicode() <= 0xFF9F)
                ++end;
            out += text.sliced(i, end - i).toString().normalized(QString::NormalizationForm_KC);
            i = end - 1;
        } else if (c != u' ' && c != u'\t' && c != 0x3000) {
            out += QChar(c);
        }
    }
    return out.toUpper();
}

constexpr std::array kDrawNoNames = {u"回数", u"回", u"回号", u"回別", u"開催回", u"抽選回", u"抽せん回"};
constexpr std::array kDateNames = {u"日付", u"抽選日", u"抽せん日"};
constexpr std::array kBonusNames = {u"ボーナス数字", u"BONUS数字", u"ボーナス", u"B数字"};

template <typename Names>
bool isOneOf(QStringView name, const Names& names)
{
    return std::any_of(names.begin(), names.end(), [&](const char16_t* n) { return name == QStringView(n); });
}

// 1 … last for 第n数字, 数字n and 本数字n; 0 for anything else.
int mainNumberIndex(const QString& name, int last)
{
    QStringView digits;
    if (name.startsWith(u'第') && name.endsWith(u"数字"))
        digits = QStringView(name).sliced(1, name.size() - 3);
    else if (name.startsWith(u"本数字"))
        digits = QStringView(name).sliced(3);
    else if (name.startsWith(u"数字"))
        digits = QStringView(name).sliced(2);
    if (digits.size() != 1 || digits[0] < u'1' || digits[0] > QChar(u'0' + last))
        return 0;
    return digits[0].unicode() - u'0';
}

// A bonus title: 1 for a plain one (ボーナス数字, BONUS数字, …), 1 or 2 for
// one with its number after it (ボーナス数字1, BONUS数字2, …); 0 otherwise.
struct BonusTitle {
    bool numbered = false;
    int index = 0;
};
BonusTitle bonusTitle(const QString& name)
{
    if (isOneOf(name, kBonusNames))
        return {false, 1};
    if (name.size() > 1 && (name.back() == u'1' || name.back() == u'2') && isOneOf(QStringView(name).chopped(1), kBonusNames))
        return {true, name.back().unicode() - u'0'};
    return {};
}

// The column of bonus j (1 …) of the game a title names, or 0: a game with
// one bonus takes the plain titles, Loto 7 the numbered ones.
int bonusIndex(const QString& name, const Game& g)
{
    const BonusTitle b = bonusTitle(name);
    if (b.index == 0 || b.numbered != (g.bonuses > 1) || b.index > g.bonuses)
        return 0;
    return b.index;
}

// The game a header's number columns show, and the title that shows it: a
// second bonus (ボーナス数字2, BONUS数字2), or a 第7数字 without a plain
// bonus title, is Loto 7; main numbers up to 第6数字 (or beyond, beside a plain
// ボーナス数字) Loto 6; up to 第5数字 Mini Loto. nullopt when the header names
// no main numbers by their place (a 本数字 title over them tells no game).
std::optional<GameId> headerGame(const QStringList& fields, QString& clue)
{
    int highest = 0;
    QString highestTitle, secondBonus, plainBonus;
    for (int c = 0; c < fields.size(); ++c) {
        const QString name = folded(fields[c]);
        const BonusTitle b = bonusTitle(name);
        if (b.index == 2 && secondBonus.isEmpty())
            secondBonus = fields[c];
        else if (b.index == 1 && !b.numbered && plainBonus.isEmpty())
            plainBonus = fields[c];
        else if (const int i = mainNumberIndex(name, kMaxNumbersPerDraw); i > highest)
            highest = i, highestTitle = fields[c];
    }
    const auto has = [&](const QString& title) {
        clue = QStringLiteral("見出しに「%1」があります").arg(excerpt(title));
    };
    if (!secondBonus.isEmpty() || (highest >= 7 && plainBonus.isEmpty())) {
        has(highest >= 7 ? highestTitle : secondBonus);
        return GameId::Loto7;
    }
    if (highest >= 6) {
        has(highest == 6 ? highestTitle : plainBonus);
        return GameId::Loto6;
    }
    if (highest == 5) {
        clue = QStringLiteral("見出しの本数字が5個です");
        return GameId::MiniLoto;
    }
    return std::nullopt;
}

// The column a header lacks and the names that would give it.
QString missingColumn(const Layout& layout, const Game& g)
{
    if (layout.drawNo < 0)
        return QStringLiteral("回数の列がありません（見出しは「回数」「回」「回号」「回別」「開催回」「抽選回」「抽せん回」のどれかです）");
    for (int i = 0; i < g.mains; ++i)
        if (layout.numbers[std::size_t(i)] < 0)
            return QStringLiteral("第%1数字の列がありません（見出しは「第%1数字」「数字%1」「本数字%1」のどれか、"
                                  "または本数字%2列の先頭に「本数字」、続く%3列を空の見出しにします）")
                .arg(i + 1)
                .arg(g.mains)
                .arg(g.mains - 1);
    if (g.bonuses == 1)
        return QStringLiteral("ボーナス数字の列がありません（見出しは「ボーナス数字」「BONUS数字」「ボーナス」「B数字」のどれかです）");
    int j = 1;
    while (j < g.bonuses && layout.numbers[std::size_t(g.mains + j - 1)] >= 0)
        ++j;
    return QStringLiteral("ボーナス数字%1の列がありません（見出しは「ボーナス数字%1」「BONUS数字%1」「ボーナス%1」「B数字%1」のどれかです）")
        .arg(j);
}

// The columns a header names for the game; a column it lacks is -1. A
// column named twice is refused.
Layout layoutOfHeader(const QStringList& fields, const QString& source, const Game& g)
{
    Layout layout;
    layout.numbers.fill(-1);
    layout.prizes.assign(prizeFieldNames(g.id).size(), -1);
    auto take = [&](int& slot, int column) {
        if (slot >= 0)
            failLine(source, 1, QStringLiteral("見出し「%1」が重複しています").arg(excerpt(fields[column])));
        slot = column;
    };
    for (int c = 0; c < fields.size(); ++c) {
        const QString name = folded(fields[c]);
        if (isOneOf(name, kDrawNoNames)) {
            take(layout.drawNo, c);
        } else if (isOneOf(name, kDateNames)) {
            take(layout.date, c);
        } else if (const int b = bonusIndex(name, g)) {
            take(layout.numbers[std::size_t(g.mains + b - 1)], c);
        } else if (const int i = mainNumberIndex(name, g.mains)) {
            take(layout.numbers[std::size_t(i - 1)], c);
        } else if (name == u"本数字") {
            // One title over the main columns: it and the empty titles after it.
            for (int i = 0; i < g.mains; ++i) {
                if (c + i >= fields.size() || (i > 0 && !folded(fields[c + i]).isEmpty()))
                    failLine(source, 1,
                             QStringLiteral("見出し「本数字」の後に本数字の列が%1個ありません"
                                            "（「本数字」に続く%2個の見出しを空にしてください）")
                                 .arg(g.mains)
                                 .arg(g.mains - 1));
                take(layout.numbers[std::size_t(i)], c + i);
            }
            c += g.mains - 1;
        } else if (const int p = prizeFieldOfTitle(name, g.id); p >= 0) {
            take(layout.prizes[std::size_t(p)], c);
        }
    }
    return layout;
}

bool isComplete(const Layout& layout, const Game& g)
{
    return layout.drawNo >= 0
           && std::none_of(layout.numbers.begin(), layout.numbers.begin() + g.numbersPerDraw(),
                           [](int c) { return c < 0; });
}

// 回数 as written: "12", "第12回", with full-width digits too.
FieldReading readDrawNoField(QStringView text)
{
    QString n = folded(text);
    if (n.startsWith(u'第') && n.endsWith(u'回') && n.size() > 2)
        n = n.sliced(1, n.size() - 2);
    return readDrawNoText(n);
}

FieldReading readNumberField(QStringView text, GameId game)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return readNumberText(folded(text), game);
    return readNumberText(text, game);
}


// The shape of a first record without a header: 回数, an optional date and
// the numbers of a draw. The second field is the date when it reads as one,
// a number when it reads as one; anything else (an empty or mistyped date)
// is taken for the date when the record then holds a game's numbers.
struct HeaderlessShape {
    bool dated = false;
    int numbers = 0;  // fields after 回数 and the date
};
HeaderlessShape headerlessShape(const QStringList& fields, int count, const Game& g)
{
    if (count < 2 || fields.size() < 2)
        return {false, count - 1};
    if (readDrawDate(folded(fields[1])).date)
        return {true, count - 2};
    if (readNumberField(fields[1], GameId::Loto6).kind == FieldReading::Valid)
        return {false, count - 1};
    return count == g.numbersPerDraw() + 2 ? HeaderlessShape{true, count - 2} : HeaderlessShape{false, count - 1};
}

// The game whose draws a first record without a header holds, by its shape;
// where a second field that is neither date nor number leaves two games
// possible, Loto 6 first.
std::optional<GameId> gameOfHeaderlessRecord(const QStringList& fields, int count, QString& clue)
{
    for (const Game& g : games()) {
        const HeaderlessShape shape = headerlessShape(fields, count, g);
        if (shape.numbers == g.numbersPerDraw()) {
            clue = shape.dated ? QStringLiteral("見出しがなく、回数と日付の後に数字が%1個です").arg(shape.numbers)
                               : QStringLiteral("見出しがなく、回数の後に数字が%1個です").arg(shape.numbers);
            return g.id;
        }
    }
    return std::nullopt;
}

// A layout without a header: 回数, an optional date, the game's main numbers
// and its bonus numbers, when the first record reads so.
std::optional<Layout> layoutWithoutHeader(const QStringList& fields, int count, const Game& g)
{
    if (fields.size() < count || readDrawNoField(fields[0]).kind != FieldReading::Valid)
        return std::nullopt;
    const HeaderlessShape shape = headerlessShape(fields, count, g);
    if (shape.numbers != g.numbersPerDraw())
        return std::nullopt;
    Layout layout;
    layout.header = false;
    layout.drawNo = 0;
    const int first = shape.dated ? 2 : 1;
    layout.date = shape.dated ? 1 : -1;
    for (int i = 0; i < g.numbersPerDraw(); ++i)
        layout.numbers[std::size_t(i)] = first + i;
    return layout;
}

}  // namespace

CsvHistory parseGameHistoryCsv(const QByteArray& csv, const QString& sourceName, std::optional<GameId> wanted)
{
    const QString text = decodeCsv(csv, sourceName);
    CsvRecords records(text, sourceName);
    if (records.onlyBlanksLeft())
        failLine(sourceName, 1, QStringLiteral("見出し行がありません"));

    // The first record names the columns, or is already a draw.
    QStringList fields;
    bool blank = false;
    const int headerCount = records.next(fields, blank);
    // The game the layout shows: by the header's number columns, else, for a
    // first record that is a draw, by its shape.
    QString clue;
    std::optional<GameId> shown = headerGame(fields, clue);
    const bool byHeader = shown.has_value();
    if (!shown && !fields.isEmpty() && readDrawNoField(fields[0]).kind == FieldReading::Valid)
        shown = gameOfHeaderlessRecord(fields, headerCount, clue);
    const GameId gameId = wanted ? *wanted : shown.value_or(GameId::Loto6);
    const Game& g = game(gameId);
    // A CSV of another game: named, and how to take it in as that game's.
    const auto refuseGame = [&] {
        const Game& other = game(*shown);
        failLine(sourceName, 1,
                 QStringLiteral("%1の当選データの CSV %2（%3）。%4の当選データとしては取り込めません。"
                                "%1の履歴に取り込むには、コマンドでは --game %5 を付け、画面ではメニュー「ゲーム」で"
                                "%1に切り替えてから取り込んでください")
                     .arg(other.name, byHeader ? QStringLiteral("です") : QStringLiteral("のようです"), clue, g.name,
                          other.cliName));
    };
    const Layout named = layoutOfHeader(fields, sourceName, g);
    std::optional<Layout> layout;
    if (byHeader && *shown != gameId)
        refuseGame();
    if (isComplete(named, g))
        layout = named;
    else
        layout = layoutWithoutHeader(fields, headerCount, g);
    if (!layout && shown && *shown != gameId)
        refuseGame();
    if (!layout)
        failLine(sourceName, 1,
                 QStringLiteral("見出し「%1」に%2").arg(excerpt(fields.mid(0, 40).join(u','), 80), missingColumn(named, g)));

    History rows;
    PrizeTable prizes;
    QStringList warnings;
    const std::vector<QString> prizeNames = prizeFieldNames(gameId);
    const bool anyPrizeColumn =
        std::any_of(layout->prizes.begin(), layout->prizes.end(), [](int c) { return c >= 0; });
    std::vector<std::optional<Yen>> prizeValues(prizeNames.size());
    struct Dated {
        int drawNo;
        QDate date;
        int line;
    };
    std::vector<Dated> dates;
    std::map<int, int> lineOfDraw;  // 回数 → line where it first appeared
    // The prize fields of a row: a draw with none known has no entry.
    auto takePrizes = [&](const QStringList& fields, int lineNo, int drawNo) {
        bool any = false;
        for (std::size_t p = 0; p < prizeNames.size(); ++p) {
            prizeValues[p].reset();
            if (layout->prizes[p] < 0)
                continue;
            const QString& value = fields[layout->prizes[p]];
            const AmountReading amount = readPrizeAmount(folded(value), int(p), gameId);
            if (amount.kind == AmountReading::Bad)
                failLine(sourceName, lineNo,
                         QStringLiteral("%1「%2」が読めません（%3）").arg(prizeNames[p], excerpt(value), amount.cause));
            if (amount.kind == AmountReading::Empty)
                continue;
            if (amount.value == kSuspectYen)
                warnings << suspectAmountWarning(sourceName, lineNo, drawNo, prizeNames[p]);
            prizeValues[p] = amount.value;
            any = true;
        }
        if (any)
            prizes.push_back(prizesFromFields(drawNo, prizeValues, gameId));
    };
    auto takeRow = [&](const QStringList& fields, int lineNo) {
        DrawRecord row;
        row.gameId = gameId;
        const QString& drawText = fields[layout->drawNo];
        const FieldReading drawNo = readDrawNoField(drawText);
        if (drawNo.kind == FieldReading::Empty)
            failLine(sourceName, lineNo, QStringLiteral("回数が空です"));
        if (drawNo.kind == FieldReading::NotWhole)
            failLine(sourceName, lineNo, QStringLiteral("回数「%1」が整数ではありません").arg(excerpt(drawText)));
        if (drawNo.kind == FieldReading::OutOfRange)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が 1～%2 の範囲外です").arg(excerpt(drawText)).arg(kMaxDrawNo));
        const auto [it, inserted] = lineOfDraw.emplace(drawNo.value, lineNo);
        if (!inserted)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が重複しています（%2行目と同じ）").arg(drawNo.value).arg(it->second));
        row.drawNo = drawNo.value;

        if (layout->date >= 0 && !fields[layout->date].isEmpty()) {
            const DateReading date = readDrawDate(folded(fields[layout->date]));
            if (!date.date)
                failLine(sourceName, lineNo,
                         QStringLiteral("日付「%1」が読めません（%2）")
                             .arg(excerpt(fields[layout->date]),
                                  date.cause.isEmpty() ? QStringLiteral("2000-10-05、2000/10/5、2000年10月5日、"
                                                                        "令和8年9月14日 のように書いてください")
                                                       : date.cause));
            dates.push_back({row.drawNo, *date.date, lineNo});
        }

        const std::span<const QStringView> names = historyFieldNames(gameId);
        for (int f = 1; f <= g.numbersPerDraw(); ++f) {
            const QStringView name = names[std::size_t(f)];
            const QString& value = fields[layout->numbers[std::size_t(f - 1)]];
            const FieldReading n = readNumberField(value, gameId);
            if (n.kind == FieldReading::NotWhole)
                failLine(sourceName, lineNo, QStringLiteral("%1「%2」が整数ではありません").arg(name, excerpt(value)));
            if (n.kind == FieldReading::OutOfRange)
                failLine(sourceName, lineNo,
                         QStringLiteral("%1 %2 が 1～%3 の範囲外です").arg(name, excerpt(value)).arg(g.pool));
            row.numbers[std::size_t(f - 1)] = n.value;  // 0 for an empty number: the draw is not complete
        }
        // The numbers of a draw are different balls: a repeat is refused at
        // the later column, naming the earlier one.
        for (int f = 2; f <= g.numbersPerDraw(); ++f) {
            const int value = row.numbers[std::size_t(f - 1)];
            for (int e = 1; e < f && value != 0; ++e)
                if (row.numbers[std::size_t(e - 1)] == value)
                    failLine(sourceName, lineNo,
                             QStringLiteral("%1 %2 が%3と同じです（1回の数字はすべて異なる数字です）")
                                 .arg(names[std::size_t(f)])
                                 .arg(value)
                                 .arg(names[std::size_t(e)]));
        }
        rows.push_back(row);
        if (anyPrizeColumn)
            takePrizes(fields, lineNo, row.drawNo);
    };

    if (!layout->header)
        takeRow(fields, 1);
    while (!records.atEnd()) {
        const int lineNo = records.line();
        const int count = records.next(fields, blank);
        // Blank lines at the end are not rows.
        if (blank && records.onlyBlanksLeft())
            break;
        if (count != headerCount)
            failLine(sourceName, lineNo,
                     layout->header
                         ? QStringLiteral("項目の数が%1個です（見出しは%2個）").arg(count).arg(headerCount)
                         : QStringLiteral("項目の数が%1個です（1行目は%2個）").arg(count).arg(headerCount));
        takeRow(fields, lineNo);
    }
    std::sort(rows.begin(), rows.end(),
              [](const DrawRecord& a, const DrawRecord& b) { return a.drawNo < b.drawNo; });
    std::sort(prizes.begin(), prizes.end(),
              [](const DrawPrizes& a, const DrawPrizes& b) { return a.drawNo < b.drawNo; });
    // Dates, where given, go forward with the draw numbers.
    std::sort(dates.begin(), dates.end(), [](const Dated& a, const Dated& b) { return a.drawNo < b.drawNo; });
    for (std::size_t i = 1; i < dates.size(); ++i)
        if (dates[i].date < dates[i - 1].date) {
            const Dated& late = dates[i].line > dates[i - 1].line ? dates[i] : dates[i - 1];
            failLine(sourceName, late.line,
                     QStringLiteral("第%1回の日付 %2 が第%3回の日付 %4 より前です")
                         .arg(dates[i].drawNo)
                         .arg(dates[i].date.toString(Qt::ISODate))
                         .arg(dates[i - 1].drawNo)
                         .arg(dates[i - 1].date.toString(Qt::ISODate)));
        }
    return {gameId, std::move(rows), std::move(prizes), std::move(warnings)};
}

History parseHistoryCsv(const QByteArray& csv, const QString& sourceName, std::optional<GameId> game)
{
    return parseGameHistoryCsv(csv, sourceName, game).rows;
}

CsvHistory readGameHistoryCsv(const QString& path, std::optional<GameId> game)
{
    const QString shown = displayPath(path);
    // Only a regular file: a named pipe would wait for a writer for ever.
    QFile file;
    if (const QString cause = openRegularFile(file, path); !cause.isEmpty())
        throw HistoryError(QStringLiteral("CSV「%1」を開けません：%2").arg(shown, cause));
    const QString tooLarge =
        QStringLiteral("%1 MB を超える大きさで、履歴の CSV ではありません").arg(kMaxCsvBytes / (1024 * 1024));
    if (file.size() > kMaxCsvBytes)
        failFile(shown, tooLarge);
    // Read in pieces up to the limit: a huge file must be refused before it
    // fills memory, also one that grows while it is read.
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(1024 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > kMaxCsvBytes)
            failFile(shown, tooLarge);
    }
    if (file.error() != QFileDevice::NoError)
        failFile(shown, QStringLiteral("読み取りに失敗しました"));
    return parseGameHistoryCsv(bytes, shown, game);
}

History readHistoryCsv(const QString& path, std::optional<GameId> game)
{
    return readGameHistoryCsv(path, game).rows;
}

QByteArray historyToCsv(const History& rows)
{
    return historyToCsv(rows, rows.empty() ? GameId::Loto6 : rows.front().gameId);
}

QByteArray historyToCsv(const History& rows, GameId game)
{
    return historyToCsv(rows, game, {});
}

QByteArray historyToCsv(const History& rows, GameId game, const PrizeTable& prizes)
{
    QStringList header;
    for (QStringView name : historyFieldNames(game))
        header << name.toString();
    const std::vector<QString> prizeNames = prizes.empty() ? std::vector<QString>{} : prizeFieldNames(game);
    for (const QString& name : prizeNames)
        header << name;
    QByteArray out = header.join(u',').toUtf8() + '\n';
    for (const DrawRecord& row : rows) {
        out += QByteArray::number(row.drawNo);
        for (int n : row.all()) {
            out += ',';
            if (n != 0)
                out += QByteArray::number(n);
        }
        if (!prizeNames.empty()) {
            const DrawPrizes* p = findPrizes(prizes, row.drawNo);
            const std::vector<std::optional<Yen>> fields =
                p ? prizeFields(*p, game) : std::vector<std::optional<Yen>>(prizeNames.size());
            for (const std::optional<Yen>& f : fields) {
                out += ',';
                if (f)
                    out += QByteArray::number(*f);
            }
        }
        out += '\n';
    }
    return out;
}

}  // namespace mirkano
