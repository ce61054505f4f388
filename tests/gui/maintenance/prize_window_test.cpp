// The window 賞金データ in the main window, over a real history file holding
// prize data: it opens on the last draw with the stored values, saves a
// correction that reads back from the file (an empty field as unknown), the
// frame's prize data follow once it closes, a bad amount is refused with the
// field and the file named and the file left as it was, the 32-bit cut is
// asked about, input not saved is asked about, and the window keeps the
// entry window's rules towards the other commands.

#include "answering_catcher.h"
#include "gui_support.h"
#include "gui/maintenance/prize_window.h"
#include "gui/shell/main_frm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// Loto 6 fields: 1等口数 … 5等口数 (0 … 4), 1等賞金 … 5等賞金 (5 … 9),
// キャリーオーバー (10), 販売実績額 (11).
constexpr int kWinners2 = 1, kWinners3 = 2, kPrize1 = 5, kPrize2 = 6, kCarry = 10, kSales = 11;

DrawPrizes draw6()
{
    DrawPrizes p;
    p.drawNo = 6;
    p.winners = {0, 3, 150, 7000, 120000, std::nullopt};
    p.prize = {0, 12345600, 380000, 9500, 1000, std::nullopt};
    p.carryOver = 456789012;
    return p;  // sales unknown
}

DrawPrizes draw5()
{
    DrawPrizes p;
    p.drawNo = 5;
    p.winners[0] = 1;
    p.prize[0] = 200000000;
    return p;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class PrizeWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<HistoryFile> m_file;
    std::unique_ptr<MainFrm> m_frame;

    PrizeDataWindow* openPrizes()
    {
        AnsweringCatcher none;
        m_frame->findChild<QAction*>(QStringLiteral("mnuPrizeData"))->trigger();
        if (!none.seen().empty())
            qWarning() << "prize data refused:" << none.seen().front().text;
        return m_frame->prizeDataWindow();
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void init()
    {
        m_file = std::make_unique<HistoryFile>();
        saveHistory(m_file->path(), smallHistory(), GameId::Loto6, {draw5(), draw6()});
        m_frame = std::make_unique<MainFrm>(m_file->path());
        QVERIFY(m_frame->load());
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        if (QMdiSubWindow* prediction = m_frame->predictionWindow())
            prediction->close();
        QVERIFY(m_frame->propEnd());
    }

    void cleanup()
    {
        m_frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showsTheStoredPrizesOfTheChosenDraw()
    {
        QCOMPARE(m_frame->prizes(), (PrizeTable{draw5(), draw6()}));
        PrizeDataWindow* w = openPrizes();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("賞金データ"));
        QVERIFY(!m_frame->propEnd());
        QCOMPARE(w->fieldCount(), 12);
        // The last draw, grouped by three; unknown is empty.
        QCOMPARE(w->drawNo(), 6);
        QCOMPARE(w->drawPicker()->count(), 6);
        QCOMPARE(w->drawPicker()->currentText(), QStringLiteral("第6回"));
        QCOMPARE(w->field(kWinners2)->text(), QStringLiteral("3"));
        QCOMPARE(w->field(kPrize1)->text(), QStringLiteral("0"));
        QCOMPARE(w->field(kPrize2)->text(), QStringLiteral("12,345,600"));
        QCOMPARE(w->field(kCarry)->text(), QStringLiteral("456,789,012"));
        QCOMPARE(w->field(kSales)->text(), QString());
        QCOMPARE(w->field(kCarry)->objectName(), QStringLiteral("キャリーオーバー"));

        QVERIFY(w->showDraw(5));
        QCOMPARE(w->field(kPrize1)->text(), QStringLiteral("200,000,000"));
        QCOMPARE(w->field(kPrize2)->text(), QString());
        // A draw without prize data: every field empty, and said so.
        QVERIFY(w->showDraw(3));
        for (int i = 0; i < w->fieldCount(); ++i)
            QCOMPARE(w->field(i)->text(), QString());
        QVERIFY(w->statusLine()->text().contains(QStringLiteral("第3回の賞金データはありません")));

        // While it is open: the update is refused, the entry command asks to
        // close it (No leaves it open), the menu item brings it to the front.
        {
            AnsweringCatcher catcher({QMessageBox::Ok, QMessageBox::No});
            m_frame->findChild<QAction*>(QStringLiteral("mnuMasterUpdate"))->trigger();
            QVERIFY(!m_frame->openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 2);
            QCOMPARE(catcher.seen()[0].text, kCloseWindowsFirst);
            QVERIFY(catcher.seen()[1].text.contains(QStringLiteral("「賞金データ」")));
        }
        QCOMPARE(openPrizes(), w);
        w->closeButton()->click();
        QVERIFY(m_frame->propEnd());
        QVERIFY(!m_frame->prizeDataWindow());
    }

    void savesACorrectionAndAnEmptyFieldAsUnknown()
    {
        PrizeDataWindow* w = openPrizes();
        w->field(kPrize2)->setText(QStringLiteral("１２,０００,０００円"));
        w->field(kWinners3)->clear();
        w->field(kSales)->setText(QStringLiteral("3,000,000,000"));
        QVERIFY(w->save());
        QVERIFY(!w->modified());
        QCOMPARE(w->field(kPrize2)->text(), QStringLiteral("12,000,000"));
        DrawPrizes expected = draw6();
        expected.prize[1] = 12000000;
        expected.winners[2] = std::nullopt;
        expected.sales = 3000000000LL;
        QCOMPARE(loadPrizes(m_file->path()), (PrizeTable{draw5(), expected}));

        // A draw that had none gets its own; emptying every field of a draw
        // removes its prize data.
        QVERIFY(w->showDraw(2));
        w->field(kPrize1)->setText(QStringLiteral("該当なし"));
        QVERIFY(w->save());
        QVERIFY(w->showDraw(5));
        w->field(kPrize1)->clear();
        w->field(0)->clear();
        QVERIFY(w->save());
        DrawPrizes second;
        second.drawNo = 2;
        second.prize[0] = 0;
        const PrizeTable stored{second, expected};
        QCOMPARE(loadPrizes(m_file->path()), stored);

        // The frame reads them again once the window closes.
        QCOMPARE(m_frame->prizes(), (PrizeTable{draw5(), draw6()}));
        w->close();
        QCOMPARE(m_frame->prizes(), stored);
    }

    void refusesABadAmountAndLeavesTheFileAsItWas()
    {
        PrizeDataWindow* w = openPrizes();
        const QByteArray before = fileBytes(m_file->path());
        w->field(kPrize1)->setText(QStringLiteral("-100"));
        w->field(kPrize2)->setText(QStringLiteral("1.5"));
        {
            AnsweringCatcher catcher;
            QVERIFY(!w->save());
            QCOMPARE(int(catcher.seen().size()), 1);
            const QString text = catcher.seen()[0].text;
            QCOMPARE(catcher.seen()[0].icon, QMessageBox::Critical);
            QVERIFY2(text.contains(QStringLiteral("「1等賞金」")) && text.contains(QStringLiteral("0以上の整数"))
                         && text.contains(QDir::toNativeSeparators(QFileInfo(m_file->path()).absoluteFilePath())),
                     qPrintable(text));
        }
        QCOMPARE(fileBytes(m_file->path()), before);
        QVERIFY(w->modified());

        // The 32-bit cut is asked about: No stores nothing, Yes stores it.
        w->field(kPrize1)->setText(QStringLiteral("0"));
        w->field(kPrize2)->setText(QStringLiteral("12,345,600"));
        w->field(kCarry)->setText(QStringLiteral("2147483647"));
        {
            AnsweringCatcher catcher({QMessageBox::No, QMessageBox::Yes});
            QVERIFY(!w->save());
            QCOMPARE(fileBytes(m_file->path()), before);
            QVERIFY(w->save());
            QCOMPARE(int(catcher.seen().size()), 2);
            QVERIFY(catcher.seen()[0].text.contains(QStringLiteral("「キャリーオーバー」")));
            QVERIFY(catcher.seen()[0].text.contains(QStringLiteral("32ビット")));
            QCOMPARE(catcher.seen()[0].defaultButton, QMessageBox::No);
        }
        QCOMPARE(findPrizes(loadPrizes(m_file->path()), 6)->carryOver, kSuspectYen);
        // Shown again, the stored value is pointed out.
        QVERIFY(w->statusLine()->text().contains(QStringLiteral("「キャリーオーバー」が2,147,483,647円")));
    }

    void asksBeforeDroppingInputNotSaved()
    {
        PrizeDataWindow* w = openPrizes();
        QTest::keyClicks(w->field(kSales), QStringLiteral("5"));
        QVERIFY(w->modified());
        {
            // Another draw: No keeps the input and the draw shown.
            AnsweringCatcher catcher({QMessageBox::No});
            w->drawPicker()->setCurrentIndex(0);
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(w->drawNo(), 6);
            QCOMPARE(w->drawPicker()->currentText(), QStringLiteral("第6回"));
            QCOMPARE(w->field(kSales)->text(), QStringLiteral("5"));
        }
        {
            // Closing: No stays, Yes closes without writing.
            AnsweringCatcher catcher({QMessageBox::No, QMessageBox::Yes});
            QVERIFY(!w->close());
            QVERIFY(m_frame->prizeDataWindow());
            QVERIFY(w->close());
            QCOMPARE(int(catcher.seen().size()), 2);
        }
        QVERIFY(!m_frame->prizeDataWindow());
        QCOMPARE(loadPrizes(m_file->path()), (PrizeTable{draw5(), draw6()}));
    }

    void showsTheFieldsOfTheHistorysGame()
    {
        // Mini Loto has no carry-over: 4 classes and the sales.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MirkanoMini.mdb"));
        const History rows = sampleHistory(GameId::MiniLoto);
        saveHistory(path, History(rows.begin(), rows.begin() + 10), GameId::MiniLoto, {});
        PrizeDataWindow w(nullptr, QStringLiteral("ミルカノ"));
        w.load(path);
        QCOMPARE(w.fieldCount(), 9);
        QCOMPARE(w.drawNo(), 10);
        QVERIFY(!w.findChild<QLineEdit*>(QStringLiteral("キャリーオーバー")));
        QVERIFY(w.findChild<QLineEdit*>(QStringLiteral("販売実績額")));
        w.close();
    }
};

QTEST_MAIN(PrizeWindowTest)
#include "prize_window_test.moc"
