// The window 組合せ作成: opened from データ分析 and from the prediction
// window with its numbers; 作成 builds on a worker thread and shows the
// checked tickets, cost, bound and chances; bad input is refused with a
// message; 中止 stops a build; 当選確認 and printing use the shown wheel.

#include "gui_support.h"
#include "page_text.h"
#include "gui/predict/prediction_window.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/shell/main_frm.h"
#include "gui/wheel/wheel_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPdfWriter>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// The window with its refusals kept instead of shown.
class QuietWheelWindow : public WheelWindow {
public:
    using WheelWindow::WheelWindow;
    QStringList refusals;

protected:
    void showRefusal(const QString& text) override { refusals << text; }
};

void chooseGuarantee(WheelWindow& w, const QString& value)
{
    w.guaranteeBox()->setCurrentIndex(w.guaranteeBox()->findData(value));
    QVERIFY(w.guaranteeBox()->currentIndex() >= 0);
}

}  // namespace

class WheelWindowTest : public QObject {
    Q_OBJECT

private:
    HistoryFile m_file;

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void buildsACheckedWheelAndShowsItsFigures()
    {
        QuietWheelWindow w(GameId::Loto6);
        w.load(makeGameHistory(GameId::Loto6, {{1, {1, 2, 3, 20, 30, 40, 41}}, {2, {1, 2, 3, 4, 5, 6, 7}}}));
        w.show();
        // The grid and the text follow each other.
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})
            w.numberButton(n)->click();
        QCOMPARE(w.numbersEdit()->text(), QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12"));
        chooseGuarantee(w, QStringLiteral("3/3"));
        QVERIFY(w.build());
        QVERIFY(!w.buildButton()->isEnabled());
        QVERIFY(w.cancelButton()->isEnabled());
        w.waitForBuild();
        QVERIFY(w.refusals.isEmpty());
        QVERIFY(w.wheel());
        QCOMPARE(int(w.wheel()->tickets.size()), 15);
        QCOMPARE(w.ticketGrid()->sheet().rows(), 16);
        const QString summary = w.summary()->text();
        QVERIFY2(summary.contains(QStringLiteral("券 15 枚　3,000円　（下限 14 枚）")), qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("全通り確認済み")));
        // 1等 … 5等 and はずれ, for the set and for 15 random tickets.
        const Sheet& odds = w.oddsGrid()->sheet();
        QCOMPARE(odds.rows(), 7);
        QCOMPARE(odds.text(1, 7), QStringLiteral("はずれ"));
        QVERIFY(odds.text(2, 7).endsWith(u'%'));
        QVERIFY(odds.text(3, 7).endsWith(u'%'));

        // 当選確認: draw 2 holds six of the numbers, draw 1 three.
        w.checkButton()->click();
        const Sheet& h = w.historyGrid()->sheet();
        QCOMPARE(h.text(1, 2), QStringLiteral("1等"));
        int wonDraws = 0;
        for (int c = 1; c <= 5; ++c)
            wonDraws += h.text(2, 1 + c).toInt();
        QCOMPARE(wonDraws, 2);

        // Copy takes the tickets; the printout names the guarantee above them.
        QVERIFY(GridActions::of(w.ticketGrid())->copyText().contains(QStringLiteral("番号")));
        const QString lines = w.printLines().join(u'|');
        QVERIFY(lines.contains(QStringLiteral("どれかの券で 3 個以上一致")));
        QVERIFY(lines.contains(QStringLiteral("はずれ")));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wheel.pdf"));
        {
            QPdfWriter pdf(path);
            w.printTo(pdf);
        }
        QVERIFY(pdfPageCount(path) >= 1);
    }

    void badInputIsRefusedAndCancelStopsTheBuild()
    {
        QuietWheelWindow w(GameId::MiniLoto);
        w.load({});
        // Mini Loto offers no guarantee of six numbers.
        QCOMPARE(w.guaranteeBox()->findData(QStringLiteral("3/6")), -1);
        w.numbersEdit()->setText(QStringLiteral("1,2,3,4,40"));
        QVERIFY(!w.build());
        QCOMPARE(w.refusals.size(), 1);
        QVERIFY(w.refusals.first().contains(QStringLiteral("数字 40 はミニロトの範囲（1～31）の外です")));
        QVERIFY(!w.wheel());

        w.numbersEdit()->setText(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24"));
        chooseGuarantee(w, QStringLiteral("4/4"));
        w.secondsBox()->setValue(600);
        QVERIFY(w.build());
        w.cancelButton()->click();
        w.waitForBuild();
        QVERIFY(!w.wheel());
        QCOMPARE(w.status()->text(), QStringLiteral("中止しました"));
        QVERIFY(w.buildButton()->isEnabled());
    }

    void opensFromTheMenuAndFromThePrediction()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        PredictionWindow* prediction = frame.predictionWindow();
        QVERIFY(prediction);
        QCOMPARE(prediction->wheelButton()->text(), QStringLiteral("組合せ作成"));
        prediction->wheelButton()->click();
        WheelWindow* w = frame.wheelWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("組合せ作成"));
        std::vector<int> expected = prediction->wheelNumbers();
        QVERIFY(!expected.empty());
        const std::vector<int> shown = parseWheelNumbers(w->numbersEdit()->text(), QString());
        QCOMPARE(shown, expected);
        QVERIFY(w->numberButton(expected.front())->isChecked());
        w->close();
        QVERIFY(!frame.wheelWindow());
        frame.findChild<QAction*>(QStringLiteral("mnuKumiawase"))->trigger();
        QVERIFY(frame.wheelWindow());
        QVERIFY(frame.wheelWindow()->numbersEdit()->text().isEmpty());
    }
};

QTEST_MAIN(WheelWindowTest)
#include "wheel_window_test.moc"
