// mirkano-cli wheel: the JSON of a checked wheel, and bad input refused with
// a Japanese message and the command's usage.

#include "support/cli_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace mirkano {
namespace {

using test::runInProcess;

TEST(WheelCommand, PrintsTheCheckedWheelWithCostBoundAndChances)
{
    const test::CliRun r = runInProcess({QStringLiteral("wheel"), QStringLiteral("--numbers"),
                                         QStringLiteral("1,5,9,12,17,20,23,28,31,36"), QStringLiteral("--keys"),
                                         QStringLiteral("5"), QStringLiteral("--guarantee"), QStringLiteral("3/4")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o[QStringLiteral("game")].toString(), QStringLiteral("loto6"));
    EXPECT_EQ(o[QStringLiteral("numbers")].toArray().size(), 10);
    EXPECT_EQ(o[QStringLiteral("keys")].toArray(), QJsonArray{5});
    EXPECT_EQ(o[QStringLiteral("guarantee")].toObject(), (QJsonObject{{QStringLiteral("match"), 3}, {QStringLiteral("if"), 4}}));
    EXPECT_TRUE(o[QStringLiteral("verified")].toBool());
    const QJsonArray tickets = o[QStringLiteral("tickets")].toArray();
    ASSERT_FALSE(tickets.isEmpty());
    for (const QJsonValue& t : tickets) {
        EXPECT_EQ(t.toArray().size(), 6);
        EXPECT_TRUE(t.toArray().contains(5));
    }
    EXPECT_EQ(o[QStringLiteral("cost")].toInteger(), 200 * tickets.size());
    EXPECT_GE(qint64(tickets.size()), o[QStringLiteral("lowerBound")].toInteger());
    const QJsonObject chances = o[QStringLiteral("chances")].toObject();
    double sum = 0;
    for (const QString& key : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                               QStringLiteral("5"), QStringLiteral("none")})
        sum += chances[key].toDouble();
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_EQ(chances.size(), 6);
}

TEST(WheelCommand, EveryGameAndTheFullWheel)
{
    const test::CliRun r = runInProcess({QStringLiteral("wheel"), QStringLiteral("--game"), QStringLiteral("miniloto"),
                                         QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,6,7"),
                                         QStringLiteral("--guarantee"), QStringLiteral("full")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o[QStringLiteral("tickets")].toArray().size(), 21);  // C(7, 5)
    EXPECT_EQ(o[QStringLiteral("cost")].toInteger(), 21 * 200);
    EXPECT_EQ(o[QStringLiteral("chances")].toObject().size(), 5);

    const test::CliRun loto7 = runInProcess({QStringLiteral("wheel"), QStringLiteral("--game"), QStringLiteral("loto7"),
                                             QStringLiteral("--numbers"), QStringLiteral("1,3,5,7,9,11,13,15,17"),
                                             QStringLiteral("--guarantee"), QStringLiteral("4/5")});
    ASSERT_EQ(loto7.exitCode, 0) << loto7.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(loto7.out).object()[QStringLiteral("chances")].toObject().size(), 7);
}

TEST(WheelCommand, BadInputIsAUsageErrorWithItsCause)
{
    struct Case {
        QStringList args;
        const char16_t* message;
    };
    const Case cases[] = {
        {{QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,50"), QStringLiteral("--guarantee"), QStringLiteral("3/3")},
         u"数字 50 はロト6の範囲（1～43）の外です"},
        {{QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,6,7"), QStringLiteral("--guarantee"), QStringLiteral("4/3")},
         u"一致数 4 が当選数 3 を超えています"},
        {{QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,6,7"), QStringLiteral("--guarantee"), QStringLiteral("三")},
         u"「一致数/当選数」の形で指定してください"},
        {{QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,6,7"), QStringLiteral("--keys"), QStringLiteral("8"),
          QStringLiteral("--guarantee"), QStringLiteral("3/3")},
         u"キー数字 8 が選んだ数字にありません"},
        {{QStringLiteral("--numbers"), QStringLiteral("1,2,3,4,5,6,7"), QStringLiteral("--guarantee"), QStringLiteral("3/3"),
          QStringLiteral("--seconds"), QStringLiteral("0")},
         u"1～3600 の秒数で指定してください"},
        {{QStringLiteral("--guarantee"), QStringLiteral("3/3")}, u"オプション --numbers を指定してください"},
    };
    for (const Case& c : cases) {
        const test::CliRun r = runInProcess(QStringList{QStringLiteral("wheel")} + c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("mirkano-cli wheel --numbers")));
        EXPECT_TRUE(r.out.isEmpty());
    }
    // The tool's help lists the command; its own help says how keys and the guarantee read.
    EXPECT_TRUE(QString::fromUtf8(runInProcess({QStringLiteral("help")}).out).contains(QStringLiteral("mirkano-cli wheel")));
    EXPECT_TRUE(QString::fromUtf8(runInProcess({QStringLiteral("wheel"), QStringLiteral("--help")}).out)
                    .contains(QStringLiteral("キー数字以外の選んだ数字のうち m 個が当たれば")));
}

}  // namespace
}  // namespace mirkano
