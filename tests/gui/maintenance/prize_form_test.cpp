// The fields of the 賞金データ window as text: what a player may type for an
// amount or a count (separators, full-width digits, 円, 該当なし, empty for
// unknown), what is refused with the field named, and the whole form read
// back into a draw's prize data with the 32-bit cut flagged.

#include "gui/maintenance/prize_form.h"

#include <QtTest>

using namespace mirkano;

class PrizeFormTest : public QObject {
    Q_OBJECT

private slots:
    void readsWhatAPlayerTypes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("value");  // -1: unknown
        QTest::newRow("plain") << "200000" << 200000LL;
        QTest::newRow("separators and 円") << "1,234,567円" << 1234567LL;
        QTest::newRow("full-width") << QStringLiteral("１，０００円") << 1000LL;
        QTest::newRow("口 and blanks") << QStringLiteral(" 12口 ") << 12LL;
        QTest::newRow("no winner") << QStringLiteral("該当なし") << 0LL;
        QTest::newRow("zero") << "0" << 0LL;
        QTest::newRow("past 32 bits") << "5,000,000,000" << 5000000000LL;
        QTest::newRow("empty") << "" << -1LL;
        QTest::newRow("blanks only") << QStringLiteral("　 ") << -1LL;
    }
    void readsWhatAPlayerTypes()
    {
        QFETCH(QString, text);
        QFETCH(qlonglong, value);
        const PrizeValueReading r = readPrizeValue(QStringLiteral("1等賞金"), text);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.value ? qlonglong(*r.value) : -1LL, value);
    }

    void refusesWhatIsNoWholeAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cause");
        const QString whole = QStringLiteral("0以上の整数");
        QTest::newRow("negative") << "-5" << whole;
        QTest::newRow("fraction") << "1.5" << whole;
        QTest::newRow("letters") << "abc" << whole;
        QTest::newRow("leading separator") << ",100" << whole;
        QTest::newRow("double separator") << "1,,000" << whole;
        QTest::newRow("only 円") << QStringLiteral("円") << whole;
        QTest::newRow("past 64 bits") << "99999999999999999999" << QStringLiteral("大きすぎます");
    }
    void refusesWhatIsNoWholeAmount()
    {
        QFETCH(QString, text);
        QFETCH(QString, cause);
        const PrizeValueReading r = readPrizeValue(QStringLiteral("2等口数"), text);
        QVERIFY(!r.value);
        QVERIFY2(r.error.contains(QStringLiteral("「2等口数」")) && r.error.contains(cause), qPrintable(r.error));
    }

    void showsValuesGroupedByThree()
    {
        QCOMPARE(prizeValueText(Yen(1234567)), QStringLiteral("1,234,567"));
        QCOMPARE(prizeValueText(Yen(0)), QStringLiteral("0"));
        QCOMPARE(prizeValueText(std::nullopt), QString());
        // What is shown reads back as the same value.
        QCOMPARE(readPrizeValue(QStringLiteral("x"), prizeValueText(Yen(9876543210LL))).value, Yen(9876543210LL));
    }

    void readsTheFormOfEachGame()
    {
        // Mini Loto: 4 classes, no carry-over: 口数 ×4, 賞金 ×4, 販売実績額.
        QStringList texts = {"0", "12", "300", "5000", "", "1,000,000", "10,000", "1,000", "50,000,000"};
        PrizeFormReading r = readPrizeForm(1400, texts, GameId::MiniLoto);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.prizes.drawNo, 1400);
        QCOMPARE(r.prizes.winners[1], std::int64_t(12));
        QVERIFY(!r.prizes.prize[0]);  // empty: unknown, not 0
        QCOMPARE(r.prizes.prize[1], Yen(1000000));
        QVERIFY(!r.prizes.carryOver);
        QCOMPARE(r.prizes.sales, Yen(50000000));
        QVERIFY(r.suspect.isEmpty());

        // Loto 7: the 32-bit cap in the carry-over is flagged, not refused.
        texts = QStringList(12, QString());
        texts << "2,147,483,647" << "";
        r = readPrizeForm(600, texts, GameId::Loto7);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.prizes.carryOver, kSuspectYen);
        QCOMPARE(r.suspect, QStringList{QStringLiteral("キャリーオーバー")});

        // The first bad field is named and its place given.
        texts = QStringList(12, QString());
        texts[6] = "-1";
        texts[9] = "x";
        r = readPrizeForm(2000, texts, GameId::Loto6);
        QCOMPARE(r.errorField, 6);
        QVERIFY(r.error.contains(QStringLiteral("「2等賞金」")));
    }
};

QTEST_GUILESS_MAIN(PrizeFormTest)
#include "prize_form_test.moc"
