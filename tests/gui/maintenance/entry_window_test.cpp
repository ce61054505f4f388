// The winning-data entry window in the main window, over a real history
// file: its layout, the 編集 menu in place of the main menu bar, the row
// commands with their questions, wrong numbers marked as they are typed and
// the check on "閉じる", and a new draw that the open windows show once the
// entry window closes.

#include "answering_catcher.h"
#include "gui_support.h"
#include "gui/maintenance/entry_window.h"
#include "gui/shell/main_frm.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

QAction* menuItem(MainFrm& frame, const char* name)
{
    return frame.findChild<QAction*>(QString::fromLatin1(name));
}

// The names of the menu bar's visible top-level items.
// Every text of a sheet, row by row.
QStringList sheetTexts(const Sheet& sheet)
{
    QStringList texts;
    for (int r = 1; r <= sheet.rows(); ++r)
        for (int c = 1; c <= sheet.columns(); ++c)
            texts << sheet.text(c, r);
    return texts;
}

QStringList visibleMenus(QMainWindow& frame)
{
    QStringList names;
    for (QAction* a : frame.menuBar()->actions())
        if (a->isVisible())
            names << a->objectName();
    return names;
}

const QStringList kMainMenus = {"mnuEnd", "mnuYoso", "mnuMain", "mnuHosyu", "mnuGame", "mnuWindow", "mnuHelp"};

}  // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HistoryFile> m_file;
    std::unique_ptr<MainFrm> m_frame;

    WinningDataEntryWindow* openEntry()
    {
        AnsweringCatcher none;
        menuItem(*m_frame, "mnuMasterInput")->trigger();
        if (!none.seen().empty())
            qWarning() << "entry refused:" << none.seen().front().text;
        return m_frame->winningDataEntryWindow();
    }
    void type(WinningDataEntryWindow* w, int row, int col, const QString& text)
    {
        QVERIFY(w->model()->setData(w->model()->index(row, col), text));
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void init()
    {
        m_file = std::make_unique<HistoryFile>();
        m_frame = std::make_unique<MainFrm>(m_file->path());
        QVERIFY(m_frame->load());
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        // The prediction window that the activation opens blocks the entry command.
        if (QMdiSubWindow* prediction = m_frame->predictionWindow())
            prediction->close();
        QVERIFY(m_frame->propEnd());
    }

    void cleanup()
    {
        m_frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensWithItsLayoutAndEveryStoredDraw()
    {
        WinningDataEntryWindow* w = openEntry();
        QVERIFY(w);
        QVERIFY(!m_frame->propEnd());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(w->windowTitle(), QStringLiteral("当選データ入力"));
        QCOMPARE(w->pos(), QPoint(0, 0));
        // Its set size, a few pixels wider where the column titles need them.
        QCOMPARE(w->height(), twipsToPixels(13450));
        QVERIFY(w->width() >= twipsToPixels(7180) && w->width() <= twipsToPixels(7180) + 40);
        QCOMPARE(w->description()->text(), QStringLiteral("当選数字を開催回数毎に入力します。ここのデータが分析対象になります"));
        QCOMPARE(w->closeButton()->text(), QStringLiteral("閉じる"));
        QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("Command2")));  // no print button

        QTableView* grid = w->grid();
        QCOMPARE(grid->model()->rowCount(), 6);
        QVERIFY(grid->verticalHeader()->isHidden());
        QVERIFY(!grid->horizontalHeader()->isHidden());
        // Every column title whole: its text and the header's margins fit the
        // column, which is never narrower than its set width.
        const GridUnits units(sheetFont());
        const QFontMetrics header(grid->horizontalHeader()->font());
        const int margins = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid->horizontalHeader());
        for (int c = 0; c < 8; ++c) {
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(title, historyFieldNames(GameId::Loto6)[std::size_t(c)].toString());
            QVERIFY(grid->columnWidth(c) >= units.columnPixels(c == 0 ? 5 : 7));
            QVERIFY2(header.horizontalAdvance(title) + margins <= grid->columnWidth(c), qPrintable(title));
        }
        QTRY_VERIFY(grid->width() >= grid->sizeHint().width());  // no column cut off at the right
        QCOMPARE(grid->rowHeight(5), GridUnits::rowPixels(10));
        QCOMPARE(grid->model()->index(3, 3).data().toString(), QString());  // the empty third number of draw 4
        const QModelIndex drawNo = grid->model()->index(0, 0), number = grid->model()->index(0, 1),
                          bonus = grid->model()->index(0, 7);
        QCOMPARE(drawNo.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
        QCOMPARE(number.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(bonus.data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(bonus.data(Qt::BackgroundRole).value<QColor>(), QColor(197, 255, 255));
        QVERIFY(!(drawNo.flags() & Qt::ItemIsEditable));
        QVERIFY(number.flags() & Qt::ItemIsEditable);
        // Fifty rows fit in the window.
        QVERIFY(grid->height() >= grid->horizontalHeader()->height() + 50 * grid->rowHeight(0));
        QVERIFY(grid->geometry().bottom() <= w->widget()->height());

        // While it is open, the entry command brings it to the front and
        // the update is refused.
        {
            AnsweringCatcher catcher;
            QVERIFY(m_frame->openWinningDataEntry());
            menuItem(*m_frame, "mnuMasterUpdate")->trigger();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
            QCOMPARE(catcher.seen().front().icon, QMessageBox::Critical);
        }
        QCOMPARE(m_frame->winningDataEntryWindow(), w);
        QCOMPARE(m_frame->mdiArea()->activeSubWindow(), w);

        w->closeButton()->click();
        QVERIFY(m_frame->propEnd());
        QVERIFY(!m_frame->winningDataEntryWindow());
    }

    void editMenuReplacesTheMenuBarWhileTheWindowIsActive()
    {
        QCOMPARE(visibleMenus(*m_frame), kMainMenus);
        WinningDataEntryWindow* w = openEntry();
        QCOMPARE(visibleMenus(*m_frame), QStringList{QStringLiteral("mnuEdit")});
        QMenu* edit = w->editMenu();
        QCOMPARE(edit->title(), QStringLiteral("編集(&E)"));
        QCOMPARE(w->addLineAction()->text(), QStringLiteral("行追加"));
        QCOMPARE(w->addLineAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(w->deleteLineAction()->text(), QStringLiteral("行削除"));
        QCOMPARE(w->deleteLineAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));

        // An analysis opened meanwhile brings the main menus back, and the
        // entry window its own when it is active again.
        AnalysisWindow* a = m_frame->openAnalysis(QStringLiteral("pull"));
        QCOMPARE(visibleMenus(*m_frame), kMainMenus);
        m_frame->mdiArea()->setActiveSubWindow(w);
        QCOMPARE(visibleMenus(*m_frame), QStringList{QStringLiteral("mnuEdit")});
        m_frame->mdiArea()->setActiveSubWindow(a);
        QCOMPARE(visibleMenus(*m_frame), kMainMenus);
        m_frame->mdiArea()->setActiveSubWindow(w);
        w->closeButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(visibleMenus(*m_frame), kMainMenus);
    }

    void rowCommandsAskFirstAndNoChangesNothing()
    {
        WinningDataEntryWindow* w = openEntry();
        QTableView* grid = w->grid();
        HistoryTableModel* model = w->model();
        grid->setCurrentIndex(model->index(1, 3));
        {
            AnsweringCatcher catcher({QMessageBox::No, QMessageBox::No});
            w->addLineAction()->trigger();
            w->deleteLineAction()->trigger();
            QCOMPARE(int(catcher.seen().size()), 2);
            QCOMPARE(catcher.seen()[0].text, QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？"));
            // The delete question names the draw.
            QCOMPARE(catcher.seen()[1].text, QStringLiteral("選択された行を削除します。よろしいですか？\n第2回"));
            for (const auto& seen : catcher.seen()) {
                QCOMPARE(seen.icon, QMessageBox::Warning);
                QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
                QCOMPARE(seen.defaultButton, QMessageBox::No);
                QCOMPARE(seen.title, QStringLiteral("ミルカノ"));
            }
        }
        QCOMPARE(model->rowCount(), 6);
        QCOMPARE(loadHistory(m_file->path()), smallHistory());

        // Yes: an empty row after the active one, active in the same column.
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            m_frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);  // the shortcut
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        QCOMPARE(model->rowCount(), 7);
        QCOMPARE(grid->currentIndex(), model->index(2, 3));
        QVERIFY(model->isAddedRow(2));
        QVERIFY(!model->storedRow(2));
        // After the last row: the new row ends the sheet.
        grid->setCurrentIndex(model->index(6, 7));
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            w->addLineAction()->trigger();
        }
        QCOMPARE(model->rowCount(), 8);
        QCOMPARE(grid->currentIndex(), model->index(7, 7));

        // Delete removes only the active row, whatever else is selected.
        grid->setCurrentIndex(model->index(0, 1));
        grid->selectionModel()->select(QItemSelection(model->index(0, 1), model->index(3, 4)),
                                       QItemSelectionModel::Select);
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            w->deleteLineAction()->trigger();
        }
        QCOMPARE(model->rowCount(), 7);
        History expected = smallHistory();
        expected.erase(expected.begin());
        QCOMPARE(loadHistory(m_file->path()), expected);
    }

    void typedTextGoesThroughTheCellEditorAndIsCheckedOnClosing()
    {
        WinningDataEntryWindow* w = openEntry();
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QTableView* grid = w->grid();
        grid->setFocus();
        grid->setCurrentIndex(w->model()->index(3, 3));
        QTest::keyClicks(grid, QStringLiteral("7"));
        QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!grid->indexWidget(grid->currentIndex()));  // the editor commits once it has handled the key
        QCOMPARE(loadHistory(m_file->path())[3].numbers[2], 7);

        // Text still in an open editor counts when "閉じる" is pressed.
        grid->setCurrentIndex(w->model()->index(0, 7));
        QTest::keyClicks(grid, QStringLiteral("0"));  // opens the editor with this key
        QVERIFY(grid->indexWidget(grid->currentIndex()));  // the editor is open
        AnsweringCatcher catcher;
        w->closeButton()->click();
        QCOMPARE(int(catcher.seen().size()), 1);
        QCOMPARE(catcher.seen().front().text,
                 QStringLiteral("結果マスタの数字に誤りがあります。\n"
                                "（結果マスタは、この画面の当選数字の表です。赤い欄の数字は保存されていません）\n"
                                "第1回 ボーナス数字: 1～43 の数字を入力してください"));
        QCOMPARE(w->model()->index(0, 7).data().toString(), QStringLiteral("0"));
        QCOMPARE(grid->currentIndex(), w->model()->index(0, 7));
        QCOMPARE(loadHistory(m_file->path())[0], smallHistory()[0]);
    }

    // Closing by the title bar or exiting the program with input that is not
    // stored asks first; No keeps the window (and the program) and goes to the
    // input, Yes drops it and goes on, asking once.
    void closingOtherwiseAsksBeforeDroppingInput_data()
    {
        QTest::addColumn<bool>("exiting");
        QTest::addColumn<bool>("wrongNumber");
        QTest::newRow("title bar, wrong number") << false << true;
        QTest::newRow("exit, wrong number") << true << true;
        QTest::newRow("exit, row without 回数") << true << false;
    }
    void closingOtherwiseAsksBeforeDroppingInput()
    {
        QFETCH(bool, exiting);
        QFETCH(bool, wrongNumber);
        QPointer<WinningDataEntryWindow> w = openEntry();
        QModelIndex at;
        if (wrongNumber) {
            type(w, 2, 4, QStringLiteral("8"));  // draw 3 already has 8 as 第2数字: both are marked
            at = w->model()->index(2, 2);
        } else {
            w->grid()->setCurrentIndex(w->model()->index(0, 1));
            {
                AnsweringCatcher yes({QMessageBox::Yes});
                w->addLineAction()->trigger();
            }
            at = w->grid()->currentIndex().siblingAtColumn(0);
            type(w, at.row(), 0, QString());
            type(w, at.row(), 1, QStringLiteral("5"));
        }
        auto closeIt = [&] { return exiting ? m_frame->close() : static_cast<QMdiSubWindow*>(w.data())->close(); };
        {
            AnsweringCatcher catcher({QMessageBox::No});
            QVERIFY(!closeIt());
            QCOMPARE(int(catcher.seen().size()), 1);
            const auto& box = catcher.seen().front();
            QCOMPARE(box.defaultButton, QMessageBox::No);
            QVERIFY(box.text.startsWith(wrongNumber ? WinningDataEntryWindow::kWrongNumber
                                                    : WinningDataEntryWindow::kMissingDrawNo));
            QVERIFY(box.text.endsWith(exiting ? WinningDataEntryWindow::kDropOnExit
                                              : WinningDataEntryWindow::kDropOnClose));
            if (wrongNumber)
                QVERIFY(box.text.contains(QStringLiteral("第3回 第2数字: ")));
        }
        QVERIFY(w && w->isVisible() && m_frame->isVisible());
        QCOMPARE(w->grid()->currentIndex(), at);
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            QVERIFY(closeIt());
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        QTRY_VERIFY(!w);
        QCOMPARE(loadHistory(m_file->path()), smallHistory());
    }

    void rightClickOnACellOffersTheRowCommands()
    {
        WinningDataEntryWindow* w = openEntry();
        QTableView* grid = w->grid();
        auto rightClick = [&](const QModelIndex& at) {
            const QPoint pos = grid->visualRect(at).center();
            QContextMenuEvent e(QContextMenuEvent::Mouse, pos, grid->viewport()->mapToGlobal(pos));
            QApplication::sendEvent(grid->viewport(), &e);
        };
        rightClick(w->model()->index(2, 4));
        QVERIFY(w->editMenu()->isVisible());
        QCOMPARE(grid->currentIndex(), w->model()->index(2, 4));
        w->editMenu()->hide();
        // Not with a selection over several rows.
        grid->selectionModel()->select(QItemSelection(w->model()->index(1, 1), w->model()->index(3, 1)),
                                       QItemSelectionModel::ClearAndSelect);
        rightClick(w->model()->index(2, 1));
        QVERIFY(!w->editMenu()->isVisible());
    }

    void closeButtonPointsAtTheFirstWrongNumberAndStaysOpen()
    {
        QPointer<WinningDataEntryWindow> w = openEntry();
        type(w, 4, 6, QStringLiteral("44"));
        type(w, 2, 5, QStringLiteral("10.5"));
        type(w, 2, 7, QStringLiteral("0"));
        type(w, 1, 2, QStringLiteral("43"));
        type(w, 1, 3, QString());
        const struct {
            QModelIndex fix;  // cleared after the check
            QModelIndex reported;
        } steps[] = {
            {w->model()->index(2, 5), w->model()->index(2, 5)},  // earlier row first, then further left
            {w->model()->index(2, 7), w->model()->index(2, 7)},
            {w->model()->index(4, 6), w->model()->index(4, 6)},
        };
        for (const auto& step : steps) {
            AnsweringCatcher catcher;
            w->closeButton()->click();
            QCOMPARE(int(catcher.seen().size()), 1);
            const auto& seen = catcher.seen().front();
            QCOMPARE(seen.text.section(u'\n', 0, 0), QStringLiteral("結果マスタの数字に誤りがあります。"));
            QCOMPARE(seen.text.section(u'\n', 1, 1), WinningDataEntryWindow::kWrongNumberMeaning);
            QCOMPARE(seen.text.section(u'\n', 2), w->model()->placeOf(step.reported) + QStringLiteral(": ")
                                                       + step.reported.data(Qt::ToolTipRole).toString());
            QCOMPARE(seen.title, QStringLiteral("メッセ－ジ"));
            QCOMPARE(seen.title.at(3).unicode(), char16_t(0xFF0D));
            QCOMPARE(seen.icon, QMessageBox::Critical);
            QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(w && w->isVisible());
            QCOMPARE(w->grid()->currentIndex(), step.reported);
            QVERIFY(w->model()->setData(step.fix, QString()));
        }
        AnsweringCatcher catcher;
        w->closeButton()->click();
        QVERIFY(catcher.seen().empty());
        QVERIFY(m_frame->propEnd());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
    }

    void aWrongNumberIsMarkedAtOnceWithTheRuleItBreaks()
    {
        WinningDataEntryWindow* w = openEntry();
        HistoryTableModel* model = w->model();
        // Draw 2 reads 1 8 9 10 11 12 + 13; each case types one cell of it.
        const struct {
            int column;
            const char* text;
            QList<int> marked;  // the cells of draw 2 marked red afterwards
            const char* rule;
        } cases[] = {
            {3, "44", {3}, "1～43 の数字を入力してください"},
            {3, "0", {3}, "1～43 の数字を入力してください"},
            {3, "a", {3}, "小数や文字は入力できません。1～43 の整数を入力してください"},
            {3, "10.5", {3}, "小数や文字は入力できません。1～43 の整数を入力してください"},
            {3, "8", {2, 3}, "同じ回の本数字に同じ数字は入力できません。別の数字を入力してください"},
            {7, "12", {7}, "ボーナス数字には本数字と異なる数字を入力してください"},
        };
        const DrawRecord stored = smallHistory()[1];
        for (const auto& c : cases) {
            const QString text = QString::fromLatin1(c.text);
            type(w, 1, c.column, text);
            for (int col = 1; col < 8; ++col) {
                const QModelIndex cell = model->index(1, col);
                const bool marked = c.marked.contains(col);
                QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>() == WinningDataEntryWindow::kWrongCellColor,
                         marked);
                QCOMPARE(cell.data(Qt::ToolTipRole).toString(), marked ? QString::fromUtf8(c.rule) : QString());
            }
            // Closing names the draw, the column and the rule on a second line.
            AnsweringCatcher catcher;
            w->closeButton()->click();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text,
                     (WinningDataEntryWindow::kWrongNumber + u'\n' + WinningDataEntryWindow::kWrongNumberMeaning
                      + QStringLiteral("\n第2回 %1: %2"))
                         .arg(historyFieldNames(GameId::Loto6)[std::size_t(c.marked.front())], QString::fromUtf8(c.rule)));
            type(w, 1, c.column, QString::number(stored.numbers[std::size_t(c.column - 1)]));
            QCOMPARE(model->index(1, c.column).data(Qt::BackgroundRole).value<QColor>() == WinningDataEntryWindow::kWrongCellColor, false);
        }
        QCOMPARE(loadHistory(m_file->path()), smallHistory());
    }

    void theGridStaysOnTheRowJustTyped()
    {
        WinningDataEntryWindow* w = openEntry();
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QTableView* grid = w->grid();
        grid->setFocus();
        grid->setCurrentIndex(w->model()->index(5, 1));
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        }
        QCOMPARE(grid->currentIndex(), w->model()->index(6, 1));
        QCOMPARE(w->model()->index(6, 0).data().toString(), QStringLiteral("7"));  // the next 回数, proposed
        const QStringList numbers = {"4", "11", "19", "33", "40", "42", "8"};
        // Typed as a player does: each number, then Tab to the next cell, the
        // last Tab in the bonus cell.
        auto target = [grid]() -> QWidget* {
            QWidget* editor = grid->indexWidget(grid->currentIndex());
            return editor ? editor : grid;
        };
        for (int c = 0; c < numbers.size(); ++c) {
            QTest::keyClicks(target(), numbers[c]);
            QTest::keyClick(target(), Qt::Key_Tab);
            QTRY_COMPARE(grid->currentIndex().row(), 6);
        }
        QCOMPARE(loadHistory(m_file->path()).back(), (DrawRecord{7, {4, 11, 19, 33, 40, 42, 8}}));
        QCOMPARE(grid->currentIndex().row(), 6);
    }

    void aNewDrawReachesTheOpenWindowsWhenTheEntryWindowCloses()
    {
        // The prediction window may be open while the entry window is used
        // (the end flag is one flag: closing an analysis window sets it), and
        // an analysis window opened meanwhile too.
        menuItem(*m_frame, "mnuYoso")->trigger();
        QPointer<PredictionWindow> prediction = m_frame->predictionWindow();
        QVERIFY(prediction);
        m_frame->openAnalysis(QStringLiteral("pull"))->close();
        WinningDataEntryWindow* w = openEntry();
        QVERIFY(w);
        QPointer<AnalysisWindow> pull = m_frame->openAnalysis(QStringLiteral("pull"));
        m_frame->mdiArea()->setActiveSubWindow(w);

        w->grid()->setCurrentIndex(w->model()->index(5, 1));
        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            w->addLineAction()->trigger();
        }
        // Numbers without a 回数 would be lost: closing asks for it.
        type(w, 6, 0, QString());
        const std::array<int, kMaxNumbersPerDraw> numbers{4, 11, 19, 33, 40, 42, 8};
        for (int c = 0; c < 7; ++c)
            type(w, 6, c + 1, QString::number(numbers[std::size_t(c)]));
        {
            AnsweringCatcher catcher;
            w->closeButton()->click();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text, WinningDataEntryWindow::kMissingDrawNo);
            QCOMPARE(w->grid()->currentIndex(), w->model()->index(6, 0));
        }
        // A 回数 already in the history is refused with a message.
        {
            AnsweringCatcher catcher;
            QVERIFY(!w->model()->setData(w->model()->index(6, 0), QStringLiteral("3")));
            QTRY_COMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text, QStringLiteral("回数 3 はすでに履歴にあります。"));
        }
        type(w, 6, 0, QStringLiteral("7"));
        {
            AnsweringCatcher catcher;
            w->closeButton()->click();
            QVERIFY(catcher.seen().empty());
        }
        History expected = smallHistory();
        expected.push_back(DrawRecord{7, numbers});
        QCOMPARE(loadHistory(m_file->path()), expected);

        // The frame read the file again, and the open windows show what a
        // window opened on the new history shows.
        QCOMPARE(m_frame->history(), expected);
        QCOMPARE(m_frame->tables().latestDrawNo, 7);
        QVERIFY(pull && prediction);
        QCOMPARE(sheetTexts(pull->grid()->sheet()),
                 sheetTexts(pull->analysis().build(expected, buildStartupTables(expected))));
        PredictionWindow fresh(prediction->flags());
        fresh.load(expected, 7);
        for (int s = 0; s < 4; ++s)
            QCOMPARE(sheetTexts(prediction->sheet(s)->sheet()), sheetTexts(fresh.sheet(s)->sheet()));
    }

    void aHistoryThatCannotBeReadAgainKeepsTheSnapshot()
    {
        const History before = m_frame->history();
        QFile::remove(m_file->path());
        QFile garbage(m_file->path());
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a history");
        garbage.close();
        AnsweringCatcher catcher;
        QVERIFY(!m_frame->reloadHistory());
        QCOMPARE(int(catcher.seen().size()), 1);
        QCOMPARE(catcher.seen().front().icon, QMessageBox::Critical);
        QVERIFY(catcher.seen().front().text.contains(m_file->path().section(u'/', -1)));
        QVERIFY(catcher.seen().front().text.endsWith(QStringLiteral("前に読み込んだ当選データのままです。")));
        QCOMPARE(m_frame->history(), before);
    }

    // A Loto 7 history: its ten columns, a window wide enough for them, both
    // bonus columns coloured, and the checks of two bonuses and of 1～37.
    void showsAndChecksAnotherGamesColumns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mirkano7.mdb"));
        saveHistory(path,
                    makeGameHistory(GameId::Loto7, {{1, {7, 10, 12, 17, 23, 28, 34, 3, 15}},
                                                    {2, {20, 24, 29, 31, 33, 34, 35, 32, 12}}}),
                    GameId::Loto7);
        QStringList asked;
        const AskFn ask = [&](QMessageBox::Icon, const QString&, const QString& text, QMessageBox::StandardButtons,
                              QMessageBox::StandardButton def) {
            asked << text;
            return def;
        };
        QMdiArea area;
        area.resize(1500, 1000);
        area.show();
        auto* w = new WinningDataEntryWindow(ask, QStringLiteral("ミルカノ"));
        area.addSubWindow(w);
        w->load(path);
        w->show();

        QTableView* grid = w->grid();
        const QStringList titles = {"回数", "第1数字", "第2数字", "第3数字", "第4数字", "第5数字", "第6数字", "第7数字",
                                    "ボーナス数字1", "ボーナス数字2"};
        QCOMPARE(grid->model()->columnCount(), titles.size());
        const QFontMetrics header(grid->horizontalHeader()->font());
        const int margins = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid->horizontalHeader());
        for (int c = 0; c < titles.size(); ++c) {
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
            QVERIFY2(header.horizontalAdvance(titles[c]) + margins <= grid->columnWidth(c), qPrintable(titles[c]));
        }
        // Two number columns wider than the Loto 6 window, every column in view.
        QVERIFY(w->width() >= twipsToPixels(7180) + 2 * grid->columnWidth(1));
        QTRY_VERIFY(grid->width() >= grid->sizeHint().width());
        for (int c : {8, 9}) {
            const QModelIndex bonus = grid->model()->index(0, c);
            QCOMPARE(bonus.data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
            QCOMPARE(bonus.data(Qt::BackgroundRole).value<QColor>(), QColor(197, 255, 255));
        }
        QCOMPARE(grid->model()->index(0, 7).data(Qt::BackgroundRole), QVariant());  // 第7数字 is a main number

        // ボーナス数字2 equal to ボーナス数字1: both marked, the close refused and pointed at it.
        QVERIFY(grid->model()->setData(grid->model()->index(0, 9), QStringLiteral("3")));
        for (int c : {8, 9}) {
            QCOMPARE(grid->model()->index(0, c).data(Qt::BackgroundRole).value<QColor>(),
                     WinningDataEntryWindow::kWrongCellColor);
            QCOMPARE(grid->model()->index(0, c).data(Qt::ToolTipRole).toString(),
                     QStringLiteral("ボーナス数字1とボーナス数字2には異なる数字を入力してください"));
        }
        QVERIFY(!w->checkAndClose());
        QCOMPARE(asked.last(), WinningDataEntryWindow::kWrongNumber + u'\n' + WinningDataEntryWindow::kWrongNumberMeaning
                                   + QStringLiteral("\n第1回 ボーナス数字1: ボーナス数字1とボーナス数字2には異なる数字を入力してください"));
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, 8));
        // A bonus equal to 第7数字, then one outside 1～37.
        QVERIFY(grid->model()->setData(grid->model()->index(0, 9), QStringLiteral("34")));
        QCOMPARE(grid->model()->index(0, 9).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("ボーナス数字には本数字と異なる数字を入力してください"));
        QVERIFY(grid->model()->setData(grid->model()->index(0, 9), QStringLiteral("38")));
        QCOMPARE(grid->model()->index(0, 9).data(Qt::ToolTipRole).toString(), QStringLiteral("1～37 の数字を入力してください"));
        QCOMPARE(loadHistory(path, GameId::Loto7)[0].bonus(1), 15);  // nothing wrong was stored
        // A right number is stored and the window closes.
        QVERIFY(grid->model()->setData(grid->model()->index(0, 9), QStringLiteral("37")));
        QCOMPARE(loadHistory(path, GameId::Loto7)[0].bonus(1), 37);
        QVERIFY(w->checkAndClose());
    }
};

QTEST_MAIN(EntryWindowTest)
#include "entry_window_test.moc"
