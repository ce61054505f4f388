// The prize data in the history file: kept whole through a save and a read,
// kept by the writers that do not know them, corrected draw by draw in place,
// and a file without them left exactly as it was.
#include "core/history/history_store.h"
#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace mirkano;
using test::TempDir;

namespace {

DrawPrizes prizes(int drawNo, std::initializer_list<std::optional<Yen>> fields, GameId game)
{
    const std::vector<std::optional<Yen>> list(fields);
    return prizesFromFields(drawNo, list, game);
}

// Loto 7: six classes, a carry-over past 2³¹, an unknown 3等賞金 and no sales.
const History kLoto7 = test::makeGameHistory(GameId::Loto7, {
    {1, {7, 10, 12, 17, 23, 28, 34, 3, 15}},
    {2, {20, 24, 29, 31, 33, 34, 35, 32, 12}},
    {3, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
});
const PrizeTable kLoto7Prizes = {
    prizes(1, {1, 24, 168, 8254, 115022, 189593, 301716500, 4144600, 828900, 9800, 1700, 900, 0}, GameId::Loto7),
    prizes(2, {0, 3, 63, 3631, 67155, 122990, 0, 27968500, std::nullopt, 18900, 2500, 1200, 3'456'789'012LL},
           GameId::Loto7),
};

}  // namespace

TEST(HistoryPrizes, SavedPrizeDataReadBackWholeBesideTheDraws)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano7.mdb"));
    saveHistory(path, kLoto7, GameId::Loto7, kLoto7Prizes);
    const HistoryReading read = readHistoryFile(path, GameId::Loto7);
    EXPECT_EQ(read.rows, kLoto7);
    EXPECT_EQ(read.prizes, kLoto7Prizes);
    EXPECT_EQ(loadPrizes(path), kLoto7Prizes);
    EXPECT_EQ(findPrizes(read.prizes, 2)->carryOver, 3'456'789'012LL);
    EXPECT_EQ(findPrizes(read.prizes, 3), nullptr);

    // Mini Loto has no carry-over: its fields are four classes twice and the sales.
    const History mini = test::makeGameHistory(GameId::MiniLoto, {{1, {1, 3, 17, 20, 25, 26}}});
    const PrizeTable miniPrizes{prizes(1, {29, 46, 2331, 59593, 6090500, 275800, 9400, 900, 123456000}, GameId::MiniLoto)};
    EXPECT_EQ(prizeFieldNames(GameId::MiniLoto).size(), 9u);
    saveHistory(dir.path(QStringLiteral("MirkanoMini.mdb")), mini, GameId::MiniLoto, miniPrizes);
    const PrizeTable back = loadPrizes(dir.path(QStringLiteral("MirkanoMini.mdb")));
    EXPECT_EQ(back, miniPrizes);
    EXPECT_EQ(back.front().sales, 123456000);
    EXPECT_FALSE(back.front().carryOver);
}

TEST(HistoryPrizes, WritersThatDoNotKnowThePrizeDataKeepThem)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano7.mdb"));
    saveHistory(path, kLoto7, GameId::Loto7, kLoto7Prizes);

    History more = kLoto7;
    more.push_back(DrawRecord{4, {2, 4, 6, 8, 10, 12, 14, 16, 18}, GameId::Loto7});
    saveHistory(path, more, GameId::Loto7);
    EXPECT_EQ(loadHistory(path), more);
    EXPECT_EQ(loadPrizes(path), kLoto7Prizes);
    saveHistory(path, more);
    EXPECT_EQ(loadPrizes(path), kLoto7Prizes);

    // A history of another game written over the file takes none of them.
    saveHistory(path, test::makeGameHistory(GameId::MiniLoto, {{1, {1, 3, 17, 20, 25, 26}}}), GameId::MiniLoto);
    EXPECT_TRUE(loadPrizes(path).empty());
}

TEST(HistoryPrizes, AFileWithoutPrizeDataStaysWithoutThem)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, test::sampleHistory());
    EXPECT_TRUE(readHistoryFile(path, GameId::Loto6).prizes.empty());
    // A save with an empty table, and one that keeps "the file's", write no table.
    saveHistory(path, test::sampleHistory(), GameId::Loto6, {});
    saveHistory(path, test::sampleHistory(), GameId::Loto6);
    EXPECT_TRUE(loadPrizes(path).empty());
    EXPECT_TRUE(HistoryEditor(path).prizes().empty());
}

TEST(HistoryPrizes, TheEditorCorrectsADrawsPrizeDataInPlace)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano7.mdb"));
    saveHistory(path, kLoto7, GameId::Loto7);  // no prize table yet
    {
        HistoryEditor editor(path);
        editor.setPrizes(kLoto7Prizes[1]);  // the first prize data make the table
        EXPECT_EQ(editor.prizes(), PrizeTable{kLoto7Prizes[1]});
        DrawPrizes corrected = kLoto7Prizes[1];
        corrected.prize[2] = 1864500;
        editor.setPrizes(corrected);
        editor.setPrizes(kLoto7Prizes[0]);
        EXPECT_EQ(editor.prizes(), (PrizeTable{kLoto7Prizes[0], corrected}));

        // A refused value leaves what was stored.
        DrawPrizes negative = corrected;
        negative.winners[0] = -1;
        EXPECT_THROW(editor.setPrizes(negative), HistoryError);
        EXPECT_EQ(editor.prizes(), (PrizeTable{kLoto7Prizes[0], corrected}));

        // Empty prize data remove the draw's.
        DrawPrizes none;
        none.drawNo = 1;
        editor.setPrizes(none);
        EXPECT_EQ(editor.prizes(), PrizeTable{corrected});

        // A draw's prize data follow its 回数, and go with the draw.
        DrawRecord moved = kLoto7[1];
        moved.drawNo = 5;
        editor.updateRow(2, moved);
        ASSERT_EQ(editor.prizes().size(), 1u);
        EXPECT_EQ(editor.prizes().front().drawNo, 5);
        editor.deleteRow(5);
        EXPECT_TRUE(editor.prizes().empty());
    }
    EXPECT_TRUE(loadPrizes(path).empty());
    EXPECT_EQ(loadHistory(path).size(), 2u);
}
