// The entry window's rows over a real history file: edits, added and deleted
// rows reach the file at once and read back after reopening; invalid input
// never does; the check on closing finds the first wrong number.

#include "core/maintenance/entry_model.h"
#include "core/history/draw_rule.h"
#include "maintenance/maintenance_support.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

const History kRows = makeHistory({
    {1, {2, 8, 10, 13, 27, 30, 39}},
    {2, {1, 9, 16, 20, 21, 43, 5}},
    {4, {1, 5, 0, 31, 36, 38, 0}},
});

class EntryModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path(QStringLiteral("Mirkano.mdb"));
        saveHistory(path, kRows);
        editor = std::make_unique<HistoryEditor>(path);
        model = std::make_unique<HistoryTableModel>(*editor);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        refusals = std::make_unique<QSignalSpy>(model.get(), &HistoryTableModel::refused);
    }

    bool set(int row, int col, const QString& text) { return model->setData(model->index(row, col), text); }
    QString shown(int row, int col) const { return model->index(row, col).data().toString(); }
    QString lastRefusal() const { return refusals->isEmpty() ? QString() : refusals->last().at(0).toString(); }

    TempDir dir;
    QString path;
    std::unique_ptr<HistoryEditor> editor;
    std::unique_ptr<HistoryTableModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<QSignalSpy> refusals;
};

}  // namespace

TEST_F(EntryModel, ShowsEveryStoredRowUnderTheFieldNames)
{
    ASSERT_EQ(model->rowCount(), 3);
    ASSERT_EQ(model->columnCount(), 8);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), historyFieldNames(GameId::Loto6)[std::size_t(c)].toString());
    EXPECT_EQ(shown(2, 0), "4");
    EXPECT_EQ(shown(2, 1), "1");
    EXPECT_EQ(shown(2, 3), "");  // an empty number stays empty
    // Stored draws keep their 回数; every number cell can be edited.
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    for (int c = 1; c < 8; ++c)
        EXPECT_TRUE(model->flags(model->index(0, c)) & Qt::ItemIsEditable);
}

TEST_F(EntryModel, ValidNumbersAreStoredAtOnceAndWrongOnesOnlyShown)
{
    ASSERT_TRUE(set(2, 3, QStringLiteral("7")));  // fills the empty third number
    EXPECT_EQ(loadHistory(path)[2].numbers, (std::array<int, kMaxNumbersPerDraw>{1, 5, 7, 31, 36, 38, 0}));

    // A wrong value stays on screen; the file keeps the last valid one.
    const QByteArray before = fileBytes(path);
    for (const char* wrong : {"44", "0", "-1", "10.5", "abc"}) {
        ASSERT_TRUE(set(2, 1, QString::fromLatin1(wrong)));
        EXPECT_EQ(shown(2, 1), QString::fromLatin1(wrong));
        EXPECT_EQ(fileBytes(path), before) << wrong;
    }
    // Other cells of that row are still stored, the wrong one keeping its value.
    ASSERT_TRUE(set(2, 7, QStringLiteral("43")));
    ASSERT_TRUE(set(2, 2, QString()));
    EXPECT_EQ(loadHistory(path)[2].numbers, (std::array<int, kMaxNumbersPerDraw>{1, 0, 7, 31, 36, 38, 43}));
    EXPECT_EQ(refusals->count(), 0);
}

TEST_F(EntryModel, ARepeatedNumberIsShownButNeverStored)
{
    // Draw 1 is 2 8 10 13 27 30 + 39.
    const QByteArray before = fileBytes(path);
    ASSERT_TRUE(set(0, 2, QStringLiteral("2")));   // 第2数字 repeats 第1数字
    ASSERT_TRUE(set(0, 7, QStringLiteral("10")));  // the bonus equals 第3数字
    EXPECT_EQ(shown(0, 2), "2");
    EXPECT_EQ(fileBytes(path), before);
    // A new number that meets the stored value of a marked cell is not stored either.
    ASSERT_TRUE(set(0, 3, QStringLiteral("8")));
    EXPECT_EQ(loadHistory(path)[0].numbers, (std::array<int, kMaxNumbersPerDraw>{2, 8, 10, 13, 27, 30, 39}));
    // Once the marks are cleared the typed draw is stored as shown.
    ASSERT_TRUE(set(0, 2, QStringLiteral("4")));
    ASSERT_TRUE(set(0, 7, QStringLiteral("41")));
    EXPECT_EQ(loadHistory(path)[0].numbers, (std::array<int, kMaxNumbersPerDraw>{2, 4, 8, 13, 27, 30, 41}));
    EXPECT_EQ(refusals->count(), 0);
}

TEST(EntryModelGames, ColumnsAndChecksAreTheHistoryFilesGame)
{
    // The game, its titles, a draw, and a cell typed with the text that breaks a rule.
    const struct {
        GameId game;
        QStringList titles;
        test::GameRow row;
        int column;
        const char* wrong;
        NumberProblem problem;
    } cases[] = {
        {GameId::Loto7,
         {"回数", "第1数字", "第2数字", "第3数字", "第4数字", "第5数字", "第6数字", "第7数字", "ボーナス数字1",
          "ボーナス数字2"},
         {1, {7, 10, 12, 17, 23, 28, 34, 3, 15}}, 9, "3", NumberProblem::BonusRepeated},
        {GameId::Loto7, {}, {1, {7, 10, 12, 17, 23, 28, 34, 3, 15}}, 8, "34", NumberProblem::BonusEqualsMain},
        {GameId::Loto7, {}, {1, {7, 10, 12, 17, 23, 28, 34, 3, 15}}, 7, "38", NumberProblem::OutOfRange},
        {GameId::MiniLoto, {"回数", "第1数字", "第2数字", "第3数字", "第4数字", "第5数字", "ボーナス数字"},
         {1, {1, 3, 17, 20, 25, 26}}, 6, "32", NumberProblem::OutOfRange},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const QString path = dir.path(QStringLiteral("history.mdb"));
        saveHistory(path, makeGameHistory(c.game, {c.row}));
        HistoryEditor editor(path);
        HistoryTableModel model(editor);
        const Game& g = game(c.game);
        EXPECT_EQ(model.game(), c.game);
        EXPECT_EQ(model.columnCount(), 1 + g.numbersPerDraw());
        EXPECT_EQ(model.firstBonusColumn(), 1 + g.mains);
        for (int col = 0; col < c.titles.size(); ++col)
            EXPECT_EQ(model.headerData(col, Qt::Horizontal).toString(), c.titles[col]);
        // The wrong number is shown and marked, never stored.
        const History before = loadHistory(path);
        ASSERT_TRUE(model.setData(model.index(0, c.column), QString::fromLatin1(c.wrong)));
        EXPECT_EQ(model.problemAt(model.index(0, c.column)), c.problem) << c.wrong;
        EXPECT_TRUE(model.firstWrongNumber().has_value());
        EXPECT_EQ(loadHistory(path), before);
        // A right one is stored as a draw of the game.
        ASSERT_TRUE(model.setData(model.index(0, c.column), QString::number(g.pool - 1)));
        const History after = loadHistory(path, c.game);
        EXPECT_EQ(after[0].numbers[std::size_t(c.column - 1)], g.pool - 1);
        EXPECT_EQ(after[0].gameId, c.game);
    }
}

TEST_F(EntryModel, AddedRowBecomesARecordOnceItsDrawNoIsValidAndUnused)
{
    const int row = model->insertEmptyRowAfter(2);
    ASSERT_EQ(row, 3);
    EXPECT_TRUE(model->flags(model->index(row, 0)) & Qt::ItemIsEditable);
    // It proposes the next 回数; without one nothing of it is stored.
    EXPECT_EQ(shown(row, 0), "5");
    EXPECT_FALSE(model->storedRow(row));
    ASSERT_TRUE(set(row, 0, QString()));
    for (int c = 1; c < 8; ++c)
        ASSERT_TRUE(set(row, c, QString::number(c + 10)));
    EXPECT_EQ(loadHistory(path).size(), 3u);  // no 回数 yet: nothing stored
    EXPECT_EQ(model->firstRowWithoutDrawNo(), model->index(row, 0));

    // A 回数 that is no whole number 1 … 32767, or belongs to another row, is refused.
    const struct {
        const char* text;
        const char* message;
    } refused[] = {
        {"2", "回数 2 はすでに履歴にあります。"},
        {"0", "回数は 1～32767 の整数で入力してください。"},
        {"32768", "回数は 1～32767 の整数で入力してください。"},
        {"3.5", "回数は 1～32767 の整数で入力してください。"},
        {"x", "回数は 1～32767 の整数で入力してください。"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(set(row, 0, QString::fromLatin1(c.text))) << c.text;
        EXPECT_EQ(lastRefusal(), QString::fromUtf8(c.message)) << c.text;
        EXPECT_EQ(shown(row, 0), "");
    }
    EXPECT_EQ(loadHistory(path).size(), 3u);

    ASSERT_TRUE(set(row, 0, QStringLiteral("3")));
    EXPECT_FALSE(model->firstRowWithoutDrawNo());
    History expected = kRows;
    expected.insert(expected.begin() + 2, DrawRecord{3, {11, 12, 13, 14, 15, 16, 17}});
    EXPECT_EQ(loadHistory(path), expected);

    // Its 回数 can still be corrected; the record moves with it.
    ASSERT_TRUE(set(row, 0, QStringLiteral("5")));
    expected.erase(expected.begin() + 2);
    expected.push_back(DrawRecord{5, {11, 12, 13, 14, 15, 16, 17}});
    EXPECT_EQ(loadHistory(path), expected);
}

TEST_F(EntryModel, DeletingARowDeletesItsRecordAndEverythingReadsBackAfterReopening)
{
    const int added = model->insertEmptyRowAfter(0);
    ASSERT_TRUE(set(added, 0, QStringLiteral("3")));
    ASSERT_TRUE(set(added, 7, QStringLiteral("9")));
    const int unstored = model->insertEmptyRowAfter(added);
    ASSERT_TRUE(model->removeRowAt(unstored));  // never a record: nothing to delete
    ASSERT_TRUE(model->removeRowAt(0));         // draw 1
    ASSERT_TRUE(set(0, 1, QStringLiteral("40")));  // the added draw 3, shown where it was added
    EXPECT_EQ(model->rowCount(), 3);

    const History expected = makeHistory({
        {2, {1, 9, 16, 20, 21, 43, 5}},
        {3, {40, 0, 0, 0, 0, 0, 9}},
        {4, {1, 5, 0, 31, 36, 38, 0}},
    });
    EXPECT_EQ(loadHistory(path), expected);

    // Reopened, the rows come in 回数 order.
    model.reset();
    editor = std::make_unique<HistoryEditor>(path);
    HistoryTableModel reopened(*editor);
    ASSERT_EQ(reopened.rowCount(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(reopened.storedRow(r), expected[std::size_t(r)]);
    EXPECT_EQ(reopened.index(1, 0).data().toString(), "3");
    EXPECT_FALSE(reopened.isAddedRow(1));
}

TEST_F(EntryModel, AWriteThatFailsIsReportedAndTheRowKeepsItsStoredValues)
{
    // Another program holds the file's write lock.
    sqlite3* other = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(other, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    ASSERT_TRUE(set(0, 1, QStringLiteral("3")));
    EXPECT_EQ(shown(0, 1), "3");
    EXPECT_EQ(model->storedRow(0), kRows[0]);
    EXPECT_TRUE(lastRefusal().contains(QStringLiteral("ほかのプログラムが使用中です"))) << lastRefusal().toStdString();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    // The next change of the row stores it whole.
    ASSERT_TRUE(set(0, 2, QStringLiteral("9")));
    EXPECT_EQ(loadHistory(path)[0].numbers, (std::array<int, kMaxNumbersPerDraw>{3, 9, 10, 13, 27, 30, 39}));
}

TEST_F(EntryModel, CheckOnClosingFindsTheFirstWrongNumberRowByRowLeftToRight)
{
    EXPECT_FALSE(model->firstWrongNumber());
    for (const char* fine : {"1", "43", "", " 7 "}) {
        ASSERT_TRUE(set(0, 3, QString::fromLatin1(fine)));
        EXPECT_FALSE(model->firstWrongNumber()) << fine;
    }
    ASSERT_TRUE(set(2, 2, QStringLiteral("0")));
    ASSERT_TRUE(set(1, 6, QStringLiteral("44")));
    ASSERT_TRUE(set(1, 5, QStringLiteral("1.0")));
    EXPECT_EQ(model->firstWrongNumber(), model->index(1, 5));  // earlier row, further left
    ASSERT_TRUE(set(1, 5, QStringLiteral("2")));
    EXPECT_EQ(model->firstWrongNumber(), model->index(1, 6));
    ASSERT_TRUE(set(1, 6, QStringLiteral("3")));
    EXPECT_EQ(model->firstWrongNumber(), model->index(2, 2));
    // The 回数 column is not examined.
    const int added = model->insertEmptyRowAfter(2);
    ASSERT_TRUE(set(2, 2, QString()));
    EXPECT_FALSE(model->firstWrongNumber());
    EXPECT_FALSE(model->firstRowWithoutDrawNo());
    EXPECT_EQ(shown(added, 0), "5");  // proposed, not typed
}

TEST_F(EntryModel, AddedRowsProposeTheNextDrawNoAndTheFirstNumberStoresIt)
{
    const int first = model->insertEmptyRowAfter(0);
    const int second = model->insertEmptyRowAfter(first);  // one past the proposal above it
    EXPECT_EQ(shown(first, 0), "5");
    EXPECT_EQ(shown(second, 0), "6");
    EXPECT_EQ(loadHistory(path), kRows);
    ASSERT_TRUE(set(second, 1, QStringLiteral("12")));
    History expected = kRows;
    expected.push_back(DrawRecord{6, {12, 0, 0, 0, 0, 0, 0}});
    EXPECT_EQ(loadHistory(path), expected);
    // A proposal that another row took meanwhile is refused, not stored twice.
    ASSERT_TRUE(set(second, 0, QStringLiteral("5")));
    ASSERT_TRUE(set(first, 1, QStringLiteral("13")));
    EXPECT_EQ(lastRefusal(), QStringLiteral("回数 5 はすでに履歴にあります。"));
    EXPECT_FALSE(model->storedRow(first));
    expected.back().drawNo = 5;
    EXPECT_EQ(loadHistory(path), expected);
}

TEST(DrawRule, ReadsFieldTextsTheSameWayEverywhere)
{
    const struct {
        const char* text;
        FieldReading::Kind number, drawNo;
        int value;
    } cases[] = {
        {"", FieldReading::Empty, FieldReading::Empty, 0},
        {"  ", FieldReading::Empty, FieldReading::Empty, 0},
        {"1", FieldReading::Valid, FieldReading::Valid, 1},
        {" 43 ", FieldReading::Valid, FieldReading::Valid, 43},
        {"+7", FieldReading::Valid, FieldReading::Valid, 7},
        {"44", FieldReading::OutOfRange, FieldReading::Valid, 44},
        {"0", FieldReading::OutOfRange, FieldReading::OutOfRange, 0},
        {"-1", FieldReading::OutOfRange, FieldReading::OutOfRange, 0},
        {"32768", FieldReading::OutOfRange, FieldReading::OutOfRange, 0},
        {"99999999999999999999", FieldReading::OutOfRange, FieldReading::OutOfRange, 0},
        {"10.5", FieldReading::NotWhole, FieldReading::NotWhole, 0},
        {"5.", FieldReading::NotWhole, FieldReading::NotWhole, 0},
        {"1e1", FieldReading::NotWhole, FieldReading::NotWhole, 0},
        {"abc", FieldReading::NotWhole, FieldReading::NotWhole, 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(readNumberText(text, GameId::Loto6).kind, c.number) << c.text;
        EXPECT_EQ(readDrawNoText(text).kind, c.drawNo) << c.text;
        if (c.number == FieldReading::Valid) {
            EXPECT_EQ(readNumberText(text, GameId::Loto6).value, c.value) << c.text;
        }
    }
    // Each game's pool ends the range.
    for (const Game& g : games()) {
        EXPECT_EQ(readNumberText(QString::number(g.pool), g.id).kind, FieldReading::Valid) << g.pool;
        EXPECT_EQ(readNumberText(QString::number(g.pool + 1), g.id).kind, FieldReading::OutOfRange) << g.pool;
    }
    EXPECT_TRUE(isStorableRow(DrawRecord{1, {1, 2, 3, 4, 5, 6, 7, 37, 0}, GameId::Loto7}));
    EXPECT_FALSE(isStorableRow(DrawRecord{1, {1, 2, 3, 4, 5, 6, 7, 38, 0}, GameId::Loto7}));
    EXPECT_FALSE(isStorableRow(DrawRecord{1, {1, 2, 3, 4, 5, 32}, GameId::MiniLoto}));
    EXPECT_TRUE(isStorableRow(DrawRecord{1, {1, 2, 3, 4, 5, 6, 0}}));
    EXPECT_FALSE(isStorableRow(DrawRecord{0, {1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_FALSE(isStorableRow(DrawRecord{1, {1, 2, 3, 4, 5, 6, 44}}));
}

TEST(DrawRule, NamesWhatIsWrongWithANumberOfADraw)
{
    // The game, the texts of a draw (mains, then bonuses), the cell asked
    // about, what is wrong with it.
    const struct {
        GameId game;
        std::vector<const char*> texts;
        int index;
        NumberProblem problem;
    } cases[] = {
        {GameId::Loto6, {"1", "2", "3", "4", "5", "6", "7"}, 6, NumberProblem::None},
        {GameId::Loto6, {"1", "2", "", "", "", "", ""}, 3, NumberProblem::None},
        {GameId::Loto6, {"44", "2", "3", "4", "5", "6", "7"}, 0, NumberProblem::OutOfRange},
        {GameId::Loto6, {"1", "2", "3", "4", "5", "6", "0"}, 6, NumberProblem::OutOfRange},
        {GameId::Loto6, {"1", "x", "3", "4", "5", "6", "7"}, 1, NumberProblem::NotWhole},
        {GameId::Loto6, {"1", "2", "3", "9", "5", "9", "7"}, 3, NumberProblem::Repeated},  // both of the pair
        {GameId::Loto6, {"1", "2", "3", "9", "5", "9", "7"}, 5, NumberProblem::Repeated},
        {GameId::Loto6, {"1", "2", "3", "4", "5", "6", "4"}, 6, NumberProblem::BonusEqualsMain},  // only the bonus
        {GameId::Loto6, {"1", "2", "3", "4", "5", "6", "4"}, 3, NumberProblem::None},
        {GameId::Loto6, {"44", "2", "3", "4", "5", "6", "44"}, 6, NumberProblem::OutOfRange},  // its own fault first
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "37", "8", "9"}, 6, NumberProblem::None},
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "38", "8", "9"}, 6, NumberProblem::OutOfRange},
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "7", "8", "8"}, 7, NumberProblem::BonusRepeated},  // both bonuses
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "7", "8", "8"}, 8, NumberProblem::BonusRepeated},
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "7", "8", "7"}, 8, NumberProblem::BonusEqualsMain},
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "7", "8", "7"}, 6, NumberProblem::None},
        {GameId::Loto7, {"1", "2", "3", "4", "5", "6", "2", "8", "9"}, 6, NumberProblem::Repeated},  // the seventh main
        {GameId::MiniLoto, {"1", "2", "3", "4", "31", "6"}, 4, NumberProblem::None},
        {GameId::MiniLoto, {"1", "2", "3", "4", "32", "6"}, 4, NumberProblem::OutOfRange},
        {GameId::MiniLoto, {"1", "2", "3", "4", "5", "5"}, 5, NumberProblem::BonusEqualsMain},
    };
    for (const auto& c : cases) {
        std::vector<QString> texts;
        for (const char* t : c.texts)
            texts.push_back(QString::fromLatin1(t));
        EXPECT_EQ(numberProblem(texts, c.index, c.game), c.problem) << c.index << " " << c.texts[std::size_t(c.index)];
        EXPECT_EQ(numberProblemText(c.problem, c.game).isEmpty(), c.problem == NumberProblem::None);
    }
    // The range a player is asked for is the game's.
    EXPECT_EQ(numberProblemText(NumberProblem::OutOfRange, GameId::Loto6), QStringLiteral("1～43 の数字を入力してください"));
    EXPECT_EQ(numberProblemText(NumberProblem::OutOfRange, GameId::Loto7), QStringLiteral("1～37 の数字を入力してください"));
    EXPECT_EQ(numberProblemText(NumberProblem::NotWhole, GameId::MiniLoto),
              QStringLiteral("小数や文字は入力できません。1～31 の整数を入力してください"));
}

TEST(HistoryEditorStore, RefusesRowsThatBreakTheRuleAndFilesItCannotEdit)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kRows);
    const QByteArray before = fileBytes(path);
    {
        HistoryEditor editor(path);
        const auto message = [&](auto&& change) {
            try {
                change();
            } catch (const HistoryError& e) {
                return e.message();
            }
            return QString();
        };
        const QString where = QStringLiteral("履歴ファイル「%1」に書き込めません：").arg(QDir::toNativeSeparators(path));
        EXPECT_EQ(message([&] { editor.insertRow(DrawRecord{2, {}}); }), where + "回数 2 はすでに履歴にあります");
        EXPECT_EQ(message([&] { editor.updateRow(1, DrawRecord{4, {}}); }), where + "回数 4 はすでに履歴にあります");
        EXPECT_TRUE(message([&] { editor.insertRow(DrawRecord{9, {44, 0, 0, 0, 0, 0, 0}}); })
                        .startsWith(where + "回数 9 の行は履歴に入れられません"));
        EXPECT_TRUE(message([&] { editor.insertRow(DrawRecord{0, {}}); }).startsWith(where));
        EXPECT_EQ(message([&] { editor.updateRow(3, DrawRecord{3, {}}); }), where + "回数 3 の行が履歴にありません");
    }
    EXPECT_EQ(loadHistory(path), kRows);

    // A file without the table the entry writes to is not opened for editing.
    const QString viewOnly = dir.path(QStringLiteral("view-only.mdb"));
    {
        QFile f(viewOnly);
        f.open(QIODevice::WriteOnly);
        f.write(craftedDatabase(dir, detail::kHistoryPassword,
                                "CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);"
                                "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;"));
    }
    EXPECT_THROW(HistoryEditor{viewOnly}, HistoryError);
    EXPECT_THROW(HistoryEditor{dir.path(QStringLiteral("missing.mdb"))}, HistoryError);
}

TEST(HistoryEditorStore, AWriteProtectedFileIsNotOpenedForEditing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file";
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kRows);
    QFile::setPermissions(path, QFile::ReadOwner);
    try {
        HistoryEditor editor(path);
        ADD_FAILURE() << "opened";
    } catch (const HistoryError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」を開けません：書き込みが禁止されています")
                                   .arg(QDir::toNativeSeparators(path)));
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
