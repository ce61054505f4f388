// Help file, help viewer and version window.
#include "gui/help/chm_file.h"
#include "gui/help/help_viewer.h"
#include "gui/help/version_window.h"
#include "gui_support.h"
#include "core/analysis/analysis.h"
#include "gui/shell/main_frm.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QDirIterator>
#include <QRegularExpression>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>

#include <sys/stat.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// Answers every message box that opens while fn runs and returns their
// texts, so a modal warning is recorded instead of blocking the test.
QStringList collectMessages(const std::function<void()>& fn)
{
    QStringList texts;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->isVisible()) {
                texts << QString::number(int(box->icon())) + QStringLiteral(":") + box->text();
                box->done(QMessageBox::Ok);
            }
        }
    });
    timer.start();
    fn();
    timer.stop();
    return texts;
}

// The page an index keyword leads to, as plain text; empty when the keyword
// or its page is missing.
QString keywordPage(const ChmFile& chm, const QString& keyword)
{
    const QString topic = chm.keywordTopic(keyword);
    if (topic.isEmpty())
        return {};
    const auto page = chm.readFile(chmInternalPath(topic));
    return page ? ChmFile::decodeHtml(*page) : QString();
}

// A menu command's caption as the help index names it: without the
// accelerator and the trailing ellipsis.
QString commandKeyword(QString text)
{
    static const QRegularExpression accel(QStringLiteral("\\(&.\\)$"));
    return text.remove(accel).remove(QChar(u'…')).remove(QChar(u'&'));
}

void collectCommands(const QList<QAction*>& actions, QStringList& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator() || a->text().isEmpty())
            continue;
        if (a->menu())
            collectCommands(a->menu()->actions(), out);
        else
            out << commandKeyword(a->text());
    }
}

QString warningPrefix()
{
    return QString::number(QMessageBox::Warning) + QStringLiteral(":");
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(helpFilePath()),
                 qPrintable(QStringLiteral("built help file missing: ") + helpFilePath()));
    }

    void helpFileSitsBesideProgram()
    {
        QVERIFY(helpFilePath().endsWith(QStringLiteral("/ミルカノ.chm")));
        QCOMPARE(QFileInfo(helpFilePath()).absolutePath(), QCoreApplication::applicationDirPath());
    }

    // The built file reads back through chmlib: the index resolves the opening
    // keyword and every analysis window's keyword to a page that exists and is
    // about that window.
    void builtFileIndexResolvesKeywords_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("mustContain");
        QTest::newRow("overview") << "ミルカノについて" << "ミルカノ";
        for (const char* w : {"出現頻度分析", "回数別頻度分析", "出現回数分析", "出現間隔分析",
                              "数字間隔分析", "バラツキ分析", "引っ張り分析"})
            QTest::newRow(w) << QString::fromUtf8(w) << QString::fromUtf8(w);
        QTest::newRow("menu item name") << "回数別出現分析" << "回数別頻度分析";
        QTest::newRow("window menu") << "上下に並べて表示" << "左右に並べて表示";
        QTest::newRow("maintenance") << "当選データ入力" << "表示中のウィンドウを閉じないと実行できません。";
        QTest::newRow("server setting") << "当選データ最新化" << "update-server.txt";
        QTest::newRow("reflect sum") << "反映オプションの合計" << "0～92";
        QTest::newRow("chance") << "予想の検証" << "でたらめに選んだ場合";
        QTest::newRow("csv mark") << "CSVへ書き出し" << "BOM 付きの UTF-8";
        QTest::newRow("settings file") << "ミルカノ.ini" << "反映オプション";
        QTest::newRow("print fit") << "印刷" << "用紙の幅に合わせて";
        QTest::newRow("ticket value") << "期待値" << "無作為な1口の価値";
    }
    void builtFileIndexResolvesKeywords()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, mustContain);
        ChmFile chm;
        QVERIFY(chm.open(helpFilePath()));
        const QString topic = chm.keywordTopic(keyword);
        QVERIFY2(!topic.isEmpty(), qPrintable(keyword));
        const auto page = chm.readFile(chmInternalPath(topic));
        QVERIFY(page.has_value());
        const QString text = ChmFile::decodeHtml(*page);
        QVERIFY2(text.contains(mustContain), qPrintable(topic));
    }

    void builtFileContentsAndResources()
    {
        ChmFile chm;
        QVERIFY(chm.open(helpFilePath()));
        const auto contents = chm.contents();
        QVERIFY(contents.size() >= 10);
        QCOMPARE(contents.first().name, QStringLiteral("ミルカノについて"));
        for (const SitemapEntry& e : contents) {
            if (!e.local.isEmpty())
                QVERIFY2(chm.readFile(chmInternalPath(e.local)).has_value(), qPrintable(e.local));
        }
        // nested entries keep their depth (the analyses under "データ分析")
        auto it = std::find_if(contents.begin(), contents.end(),
                               [](const SitemapEntry& e) { return e.name == QStringLiteral("バラツキ分析"); });
        QVERIFY(it != contents.end());
        QCOMPARE(it->depth, 1);
        QVERIFY(chm.readFile(QStringLiteral("images/ball_blue.png")).has_value());
        QVERIFY(!chm.readFile(QStringLiteral("/no-such-page.html")).has_value());
        QVERIFY(chm.keywordTopic(QStringLiteral("存在しないキーワード")).isEmpty());
        QVERIFY(chm.keywordTopic(QStringLiteral("ミルカノ")).isEmpty());  // exact match only
    }

    void sitemapParsing()
    {
        const QByteArray html =
            "<HTML><HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></HEAD><BODY>\n"
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A &amp; B\">"
            "<param name=\"Local\" value=\"a.html#x\"></OBJECT>\n"
            "<UL><LI><object type='text/sitemap'><PARAM NAME=name VALUE=\"&#12511;\">"
            "<param name=\"Local\" value=\"sub/b.html\"><param name=\"Local\" value=\"c.html\"></object></UL>\n"
            "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"heading\"></OBJECT></UL>"
            "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"ignored\"></OBJECT>"
            "</BODY></HTML>";
        const auto entries = ChmFile::parseSitemap(html);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].name, QStringLiteral("A & B"));
        QCOMPARE(entries[0].local, QStringLiteral("a.html#x"));
        QCOMPARE(entries[0].depth, 0);
        QCOMPARE(entries[1].name, QStringLiteral("ミ"));
        QCOMPARE(entries[1].local, QStringLiteral("sub/b.html"));
        QCOMPARE(entries[1].depth, 1);
        QCOMPARE(entries[2].local, QString());
        QCOMPARE(entries[2].depth, 0);

        QCOMPARE(chmInternalPath(QStringLiteral("a.html#x")), QStringLiteral("/a.html"));
        QCOMPARE(chmInternalPath(QStringLiteral("mk:@MSITStore:x.chm::/b.html")), QStringLiteral("/b.html"));
    }

    // Every command in the frame's menu tree and every child window the
    // program opens has an index keyword leading to a page about it.
    void everyCommandAndWindowHasAPage()
    {
        HistoryFile file;
        MainFrm frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        QStringList keywords;
        collectCommands(frame.menuBar()->actions(), keywords);
        QVERIFY(keywords.contains(QStringLiteral("当選データ最新化")));
        QVERIFY(keywords.contains(QStringLiteral("CSVから取り込み")));
        for (const Analysis& a : analyses())
            QVERIFY(frame.openAnalysis(QString::fromLatin1(a.id)));
        for (QAction* a : frame.menuBar()->actions())
            if (a->text().startsWith(QStringLiteral("一発ミルカノ予想")))
                a->trigger();
        QVERIFY(frame.predictionWindow());
        QVERIFY(frame.openTicketCheck());
        QVERIFY(frame.openBacktest(ReflectFlags{}));
        int children = 0;
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
            if (auto* child = qobject_cast<ChildWindow*>(w)) {
                keywords << child->helpKeyword();
                ++children;
            }
        QVERIFY(children >= int(analyses().size()) + 3);
        ChmFile chm;
        QVERIFY(chm.open(helpFilePath()));
        for (const QString& k : keywords)
            QVERIFY2(keywordPage(chm, k).contains(k), qPrintable(k));
    }

    // F1 opens the viewer at the active child's page, the overview without one.
    void f1OpensTheActiveWindowsPage()
    {
        HistoryFile file;
        MainFrm frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        QApplication::setActiveWindow(&frame);  // opens the prediction window
        ChmFile chm;
        QVERIFY(chm.open(helpFilePath()));
        const auto pageAfterF1 = [&] {
            QTest::keyClick(&frame, Qt::Key_F1);
            auto* viewer = frame.findChild<HelpViewer*>();
            return viewer ? viewer->currentPage() : QString();
        };
        const auto pageOf = [&](const QString& keyword) { return QLatin1Char('/') + chm.keywordTopic(keyword); };
        QVERIFY(frame.predictionWindow());
        for (ChildWindow* child : std::initializer_list<ChildWindow*>{
                 frame.predictionWindow(), frame.openAnalysis(QStringLiteral("number-sum")), frame.openTicketCheck()}) {
            QVERIFY(child);
            frame.mdiArea()->setActiveSubWindow(child);
            QCOMPARE(pageAfterF1(), pageOf(child->windowTitle()));
        }
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame.mdiArea()->subWindowList().isEmpty());
        QCOMPARE(pageAfterF1(), pageOf(QStringLiteral("ミルカノについて")));
    }

    // No page may say that a command does nothing, nor that edits wait for a
    // restart: the open windows recompute as soon as the history changes.
    void noPageSaysACommandDoesNothing()
    {
        QDirIterator it(QStringLiteral(MIRKANO_HELP_SOURCE_DIR), {QStringLiteral("*.html")});
        int pages = 0;
        while (it.hasNext()) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll());
            ++pages;
            for (const char* phrase : {"何もしません", "動作しません", "まだ使えません", "使用できません", "起動し直"})
                QVERIFY2(!text.contains(QString::fromUtf8(phrase)), qPrintable(it.fileName()));
        }
        QVERIFY(pages >= 20);
    }

    void openHelpShowsKeywordTopic()
    {
        QWidget owner;
        owner.show();
        QStringList messages;
        messages = collectMessages([&] { openHelp(&owner, helpFilePath(), QStringLiteral("ミルカノについて")); });
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        auto* viewer = owner.findChild<HelpViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->isWindow());
        QCOMPARE(viewer->parentWidget(), &owner);
        // the index is in front with the keyword selected, the topic is shown
        QCOMPARE(viewer->tabs()->currentIndex(), 1);
        QVERIFY(viewer->indexList()->currentItem());
        QCOMPARE(viewer->indexList()->currentItem()->text(), QStringLiteral("ミルカノについて"));
        QCOMPARE(viewer->currentPage(), QStringLiteral("/index.html"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("ミルカノ")));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Mirkano.mdb")));

        // images and style sheet come out of the file through the browser
        const QVariant img = viewer->browser()->loadResource(
            QTextDocument::ImageResource, QUrl(QStringLiteral("chm:/images/ball_pink.png")));
        QVERIFY(QImage::fromData(img.toByteArray()).width() > 0);
        QVERIFY(!viewer->browser()->loadResource(QTextDocument::ImageResource,
                                                 QUrl(QStringLiteral("http://example.invalid/x.png")))
                     .isValid());

        // a relative link resolves inside the file
        emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("pull.html")));
        QCOMPARE(viewer->currentPage(), QStringLiteral("/pull.html"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("前回の数字")));

        // asking again reuses the one window and goes back to the keyword
        openHelp(&owner, helpFilePath(), QStringLiteral("ミルカノについて"));
        QCOMPARE(owner.findChildren<HelpViewer*>().size(), 1);
        QCOMPARE(viewer->currentPage(), QStringLiteral("/index.html"));
    }

    // Failures are told in a warning that names the file or keyword; no help
    // window opens and nothing falls back to the index.
    void openHelpFailuresGiveMessage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("not a help file") << "garbage";
        QTest::newRow("missing keyword") << "keyword";
        QTest::newRow("named pipe") << "pipe";  // its open would hang the window
    }
    void openHelpFailuresGiveMessage()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = helpFilePath();
        QString keyword = QStringLiteral("ミルカノについて");
        QString named;
        if (kind == QLatin1String("missing")) {
            path = dir.filePath(QStringLiteral("ミルカノ.chm"));
            named = path;
        } else if (kind == QLatin1String("garbage")) {
            path = dir.filePath(QStringLiteral("ミルカノ.chm"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is not a compiled help file");
            f.close();
            named = path;
        } else if (kind == QLatin1String("pipe")) {
            path = dir.filePath(QStringLiteral("ミルカノ.chm"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
            named = path;
        } else {
            keyword = QStringLiteral("ないキーワード");
            named = keyword;
        }
        QWidget owner;
        owner.show();
        const QStringList messages = collectMessages([&] { openHelp(&owner, path, keyword); });
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(warningPrefix()));
        QVERIFY2(messages.first().contains(named), qPrintable(messages.first()));
        QVERIFY(!owner.findChild<HelpViewer*>());
    }

    void versionWindowTexts()
    {
        QWidget main;
        auto* w = new VersionWindow(&main);
        QCOMPARE(w->windowTitle(), QStringLiteral("バージョン情報"));
        QVERIFY(w->isWindow());
        QCOMPARE(w->parentWidget(), &main);
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QCOMPARE(w->findChild<QLabel*>("versionLabel")->text(), QStringLiteral(" Ver3.60"));
        QCOMPARE(w->findChild<QLabel*>("productLabel")->text(), QStringLiteral("ミルカノ"));
        QVERIFY(!w->findChild<QLabel*>("sloganLabel")->text().isEmpty());
        QVERIFY(w->findChild<QWidget*>("pictureBox"));

        const QFont f = w->findChild<QLabel*>("productLabel")->font();
        QCOMPARE(f.families().value(0), QStringLiteral("HGS明朝E"));
        const QString used = QFontInfo(f).family();
        QVERIFY2(used == QStringLiteral("HGS明朝E") || used.contains(QStringLiteral("Mincho"))
                     || used.contains(QStringLiteral("明朝")),
                 qPrintable(used));

        main.show();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* close = w->findChild<QPushButton*>("closeButton");
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QPointer<VersionWindow> guard(w);
        close->click();
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(guard.isNull());  // closing releases the window
    }

    void versionWindowPlacement_data()
    {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QPoint>("expected");
        // (width − left) / 3 and (height − top) / 3; twips round to pixels
        QTest::newRow("at origin") << QRect(0, 0, 900, 600) << QPoint(300, 200);
        QTest::newRow("offset") << QRect(60, 30, 960, 720) << QPoint(300, 230);
        QTest::newRow("thirds round") << QRect(10, 20, 801, 602) << QPoint(264, 194);
        QTest::newRow("top below height") << QRect(0, 500, 300, 200) << QPoint(100, -100);
    }
    void versionWindowPlacement()
    {
        QFETCH(QRect, mainFrame);
        QFETCH(QPoint, expected);
        QCOMPARE(VersionWindow::placement(mainFrame), expected);
    }

    void versionWindowPlacesItselfOnShow()
    {
        QWidget main;
        main.setGeometry(30, 40, 600, 450);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto* w = new VersionWindow(&main);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->frameGeometry().topLeft(), VersionWindow::placement(main.frameGeometry()));
        w->close();
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
