// Bad wheel input is refused with a Japanese message saying what is wrong.

#include "core/wheel/wheel_builder.h"

#include <gtest/gtest.h>

namespace mirkano {
namespace {

TEST(WheelInput, BadInputIsRefusedWithItsCause)
{
    struct Case {
        GameId game;
        const char16_t* numbers;
        const char16_t* keys;
        int t, m;
        const char16_t* message;
    };
    const Case cases[] = {
        {GameId::Loto6, u"1,2,3,4,5,44", u"", 3, 3, u"数字 44 はロト6の範囲（1～43）の外です"},
        {GameId::MiniLoto, u"0,1,2,3,4,5", u"", 3, 3, u"数字 0 はミニロトの範囲（1～31）の外です"},
        {GameId::Loto6, u"1,2,3,4,5,5,7", u"", 3, 3, u"選んだ数字 5 が 2 回以上あります"},
        {GameId::Loto6, u"1,2,3,4,5", u"", 3, 3, u"選んだ数字が 5 個です。ロト6の券は 6 個の数字なので、6 個以上選んでください"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"", 4, 3, u"一致数 4 が当選数 3 を超えています"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"9", 3, 3, u"キー数字 9 が選んだ数字にありません"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"1,2,3,4,5,6", 1, 1, u"キー数字は 5 個までです"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"1,2,3,4", 3, 3, u"一致数は 2 までです"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"", 3, 7, u"当選数 7 がロト6の本数字の数 6 を超えています"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8", u"", 0, 3, u"一致数は 1 以上"},
        {GameId::Loto6, u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20", u"", 6, 6, u"券が 38,760 枚要ります"},
        {GameId::Loto6, u"1,2,x", u"", 3, 3, u"選んだ数字の「x」は数字ではありません"},
    };
    for (const Case& c : cases) {
        try {
            WheelInput in;
            in.game = c.game;
            in.numbers = parseWheelNumbers(QString::fromUtf16(c.numbers), QStringLiteral("選んだ数字"));
            in.keys = parseWheelNumbers(QString::fromUtf16(c.keys), QStringLiteral("キー数字"));
            in.match = c.t;
            in.drawn = c.m;
            checkedWheelInput(in);
            ADD_FAILURE() << "accepted: " << QString::fromUtf16(c.numbers).toStdString();
        } catch (const WheelError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf16(c.message)))
                << e.message().toStdString() << " / " << QString::fromUtf16(c.message).toStdString();
        }
    }
}

TEST(WheelInput, NumbersAndGuaranteeAreReadInEitherWidth)
{
    EXPECT_EQ(parseWheelNumbers(QStringLiteral("１、5 ,12"), QStringLiteral("選んだ数字")), (std::vector<int>{1, 5, 12}));
    int t = 0, m = 0;
    parseGuarantee(QStringLiteral("３／４"), t, m);
    EXPECT_EQ(t, 3);
    EXPECT_EQ(m, 4);
    EXPECT_THROW(parseGuarantee(QStringLiteral("3-4"), t, m), WheelError);
}

}  // namespace
}  // namespace mirkano
