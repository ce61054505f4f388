// A description wrapped between phrases: where a line may end, and lines that
// fit their width, a phrase wider than a line broken where the width runs out.

#include "gui/sheet/grid_units.h"
#include "gui/sheet/phrase_wrap.h"

#include <QApplication>
#include <QtTest>

using namespace mirkano;

class PhraseWrapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void linesEndBetweenPhrases()
    {
        const QString text = QStringLiteral(
            "過去の当選番号を低数字（０１～２１）と高数字（２２～４３）に分けて組合せパターンを分析します"
            "（ボーナス数字は入れていません）");
        QStringList phrases;
        int from = 0;
        for (int at : phraseBreaks(text)) {
            phrases << text.mid(from, at - from);
            from = at;
        }
        phrases << text.mid(from);
        QCOMPARE(phrases, (QStringList{"過去の", "当選番号を", "低数字", "（０１～２１）", "と", "高数字",
                                       "（２２～４３）", "に", "分けて", "組合せ", "パターンを", "分析します",
                                       "（ボーナス数字は", "入れていません）"}));
    }

    void wrappedLinesFitTheirWidth()
    {
        const QFontMetrics fm(uiFont());
        const QString text = QStringLiteral("過去の当選番号を低数字（０１～２１）と高数字");
        // Wide enough for all: unchanged.
        QCOMPARE(phraseWrapped(text, fm, fm.horizontalAdvance(text)), text);
        // Room for either of the first two lines, not for a phrase more.
        const int width = std::max(fm.horizontalAdvance(QStringLiteral("過去の当選番号を")),
                                   fm.horizontalAdvance(QStringLiteral("低数字（０１～２１）と")));
        QVERIFY(fm.horizontalAdvance(QStringLiteral("過去の当選番号を低数字")) > width);
        QVERIFY(fm.horizontalAdvance(QStringLiteral("低数字（０１～２１）と高数字")) > width);
        QCOMPARE(phraseWrapped(text, fm, width).split(u'\n'),
                 (QStringList{"過去の当選番号を", "低数字（０１～２１）と", "高数字"}));
        // A phrase wider than the line is cut where the width runs out.
        const int narrow = fm.horizontalAdvance(QStringLiteral("当選番"));
        const QStringList lines = phraseWrapped(QStringLiteral("当選番号を"), fm, narrow).split(u'\n');
        QCOMPARE(lines, (QStringList{"当選番", "号を"}));
    }
};

QTEST_MAIN(PhraseWrapTest)
#include "phrase_wrap_test.moc"
