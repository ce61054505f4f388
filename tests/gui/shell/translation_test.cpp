// Qt's own Japanese translation: the standard buttons of the program's
// questions and the standard dialogs read Japanese once it is loaded, with the
// program's own texts where Qt's lacks them and Japanese dates in the file
// chooser.

#include "gui_support.h"
#include "gui/maintenance/entry_window.h"
#include "gui/shell/main_frm.h"
#include "gui/shell/translation.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPrintDialog>
#include <QTreeView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setFont(uiFont());
        // The build puts the translation beside the program, where an install
        // puts it too.
        QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/translations/")
                              + QString::fromLatin1(kQtTranslationFile)));
        QVERIFY(installJapaneseTranslation(*qApp));
    }

    // The entry window's 行追加 question, as the program shows it: はい/いいえ.
    void addRowQuestionHasJapaneseButtons()
    {
        HistoryFile history;
        MainFrm frame(history.path());
        QVERIFY(frame.load());
        frame.findChild<QAction*>(QStringLiteral("mnuMasterInput"))->trigger();
        WinningDataEntryWindow* entry = frame.winningDataEntryWindow();
        QVERIFY(entry);

        QStringList texts;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
            box->button(QMessageBox::No)->click();
        });
        timer.start();
        entry->findChild<QAction*>(QStringLiteral("mnuAddLine"))->trigger();
        timer.stop();
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts[0].startsWith(QStringLiteral("はい")), qPrintable(texts[0]));
        QVERIFY2(texts[1].startsWith(QStringLiteral("いいえ")), qPrintable(texts[1]));
    }

    // The CSV file chooser (Qt's own dialog where the desktop has none) and
    // the print preview.
    void standardDialogsReadJapanese()
    {
        QFileDialog files(nullptr, QStringLiteral("CSVで保存"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        QStringList shown;
        for (QAbstractButton* b : files.findChildren<QDialogButtonBox*>().value(0)->buttons())
            shown << b->text();
        for (QLabel* l : files.findChildren<QLabel*>())
            shown << l->text();
        const QString all = shown.join(u'|');
        QVERIFY2(all.contains(QStringLiteral("キャンセル")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("保存")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("ファイル名")), qPrintable(all));
        QVERIFY2(!all.contains(QStringLiteral("Cancel")) && !all.contains(QStringLiteral("File name")),
                 qPrintable(all));

        QPrinter printer;
        QPrintPreviewDialog preview(&printer);
        QStringList actions;
        for (QAction* a : preview.findChildren<QAction*>())
            if (!a->text().isEmpty())
                actions << a->text();
        const QString allActions = actions.join(u'|');
        QVERIFY2(allActions.contains(QStringLiteral("印刷")), qPrintable(allActions));
        QVERIFY2(!allActions.contains(QStringLiteral("Print")), qPrintable(allActions));
    }

    // The texts Qt 6.4's translation lacks: the print dialog's page range
    // and the file chooser's kind of a folder; its dates in Japanese form.
    void missingDialogTextsAndDatesReadJapanese()
    {
        QPrinter printer;
        QPrintDialog print(&printer);
        QStringList texts;
        for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
            texts << b->text();
        QVERIFY2(texts.contains(QStringLiteral("ページ指定")), qPrintable(texts.join(u'|')));
        QVERIFY2(!texts.contains(QStringLiteral("Pages")), qPrintable(texts.join(u'|')));

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QFileSystemModel model;
        const QModelIndex root = model.setRootPath(dir.path());
        QTRY_COMPARE(model.rowCount(root), 1);
        const QModelIndex folder = model.index(0, 0, root);
        QCOMPARE(model.index(0, 2, root).data().toString(), QStringLiteral("フォルダー"));
        const QString date = model.index(0, 3, root).data().toString();
        // 2026/12/11 9:01, not 11 Dec 2026 09:01:00
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$")).match(date).hasMatch(),
                 qPrintable(date));
        QVERIFY(folder.isValid());
    }
};

int main(int argc, char* argv[])
{
    // As the program does, before the application object reads the locale.
    useJapaneseSystemLocale();
    QApplication app(argc, argv);
    TranslationTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "translation_test.moc"
