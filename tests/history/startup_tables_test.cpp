#include "core/history/history.h"
#include "core/history/startup_tables.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace mirkano;
using test::makeHistory;

namespace {
QString allNumbers()
{
    QStringList l;
    for (int n = 1; n <= 43; ++n)
        l << QString::number(n);
    return l.join(u',');
}
}  // namespace

TEST(StartupTables, EmptyAndAllIncompleteHistoriesCountNothing)
{
    // Rows with an empty field, or a number no reader could place (built in
    // code, never read from a file), are not draws.
    const History incomplete = makeHistory(
        {{1, {1, 2, 3, 4, 5, 6, 0}}, {2, {0, 2, 3, 4, 5, 6, 7}}, {3, {1, 2, 3, 4, 5, 6, 44}}, {4, {-1, 2, 3, 4, 5, 6, 7}}});
    for (const History& h : {History{}, incomplete}) {
        const StartupTables t = buildStartupTables(h);
        EXPECT_EQ(std::accumulate(t.numberCount.begin(), t.numberCount.end(), 0), 0);
        EXPECT_EQ(t.maxCount, 0);
        EXPECT_EQ(t.latestDrawNo, 0);
        ASSERT_EQ(t.countGroups.size(), 1u);
        EXPECT_EQ(t.countGroups[0], allNumbers());
        EXPECT_EQ(t.countGroupRows, 2);
    }
}

TEST(StartupTables, IncompleteRowIsSkippedEntirelyAndBonusCounts)
{
    const StartupTables t = buildStartupTables(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {1, 2, 3, 4, 5, 6, 8}},
        {3, {1, 9, 10, 11, 12, 13, 0}},  // bonus missing: nothing counts, not the latest draw
    }));
    EXPECT_EQ(t.numberCount[1], 2);
    EXPECT_EQ(t.numberCount[7], 1);
    EXPECT_EQ(t.numberCount[8], 1);
    EXPECT_EQ(t.numberCount[9], 0);
    EXPECT_EQ(t.latestDrawNo, 2);
    EXPECT_EQ(t.maxCount, 2);
    ASSERT_EQ(t.countGroups.size(), 3u);
    EXPECT_EQ(t.countGroups[1], QStringLiteral("7,8"));
    EXPECT_EQ(t.countGroups[2], QStringLiteral("1,2,3,4,5,6"));
    EXPECT_EQ(t.countGroupRows, 4);
}

TEST(StartupTables, AllDifferentCountsGive44GroupRows)
{
    // Number n drawn n-1 times: counts 0 … 42, all different (903 = 7 × 129 numbers).
    std::vector<int> pool;
    for (int n = 2; n <= 43; ++n)
        for (int k = 1; k < n; ++k)
            pool.push_back(n);
    ASSERT_EQ(pool.size(), 7u * 129u);
    History h;
    for (std::size_t i = 0; i < pool.size(); i += 7)
        h.push_back(DrawRecord{int(i / 7) + 1, {pool[i], pool[i + 1], pool[i + 2], pool[i + 3],
                                               pool[i + 4], pool[i + 5], pool[i + 6]}});
    const StartupTables t = buildStartupTables(h);
    EXPECT_EQ(t.countGroupRows, 44);
    EXPECT_EQ(t.maxCount, 42);
    EXPECT_EQ(t.countGroups[0], QStringLiteral("1"));
    EXPECT_EQ(t.countGroups[42], QStringLiteral("43"));
    EXPECT_EQ(t.latestDrawNo, 129);
}

TEST(StartupTables, RealHistory)
{
    const StartupTables t = buildStartupTables(test::sampleHistory());
    EXPECT_EQ(std::accumulate(t.numberCount.begin(), t.numberCount.end(), 0), 7 * 2137);
    EXPECT_EQ(t.latestDrawNo, 2137);
    EXPECT_EQ(int(t.countGroups.size()), t.maxCount + 1);
}

TEST(HistoryRecordset, ForwardWalkReadsFieldsByNameAndPosition)
{
    HistoryRecordset rs(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 0}}}));
    ASSERT_EQ(rs.recordCount(), 2);
    rs.moveFirst();
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field(QStringLiteral("回数")), 1);
    EXPECT_EQ(rs.field(QStringLiteral("第6数字")), 6);
    EXPECT_EQ(rs.field(7), 7);
    rs.moveNext();
    EXPECT_EQ(rs.field(0), 2);
    EXPECT_EQ(rs.field(QStringLiteral("ボーナス数字")), std::nullopt);  // empty field
    EXPECT_THROW(rs.field(QStringLiteral("第7数字")), std::out_of_range);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.moveNext();  // stays at the end
    EXPECT_TRUE(rs.eof());
    rs.moveFirst();
    EXPECT_EQ(rs.field(0), 1);
}
