// The frame's history actions: reading the history (at start, on a switch of
// game, again after a change), the guard that closes the windows reading it,
// the entry window, the update and its address, and the CSV import and
// export. They belong to MainFrm (main_frm.h declares them) and live here so
// that the frame's own file keeps to its menus, windows and layout.

#include "gui/shell/main_frm.h"

#include "core/game/game_files.h"
#include "core/history/history_csv.h"
#include "core/maintenance/history_update.h"
#include "gui/maintenance/ask.h"
#include "gui/maintenance/child_menu_bar.h"
#include "gui/maintenance/entry_window.h"
#include "gui/maintenance/prize_window.h"
#include "gui/maintenance/history_update_dialog.h"
#include "gui/maintenance/merge_question.h"
#include "gui/maintenance/update_source_dialog.h"
#include "gui/shell/busy_pointer.h"
#include "gui/shell/csv_file.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <new>
#include <optional>
#include <utility>

namespace mirkano {

namespace {

// A history that could not be read for a cause outside the file (out of
// memory, a failure of the library itself): the library's own text is not
// for the user, the cause in words is.
QString unreadableHistoryText(const QString& path, const std::exception& e)
{
    return QStringLiteral("履歴ファイル「%1」を読み込めません：%2")
        .arg(QDir::toNativeSeparators(path), dynamic_cast<const std::bad_alloc*>(&e)
                                                  ? QStringLiteral("メモリが不足しています")
                                                  : QStringLiteral("予期しないエラーが起きました"));
}

// Any failure to read a history, in words: the message of the program's own
// errors, which name the file and the cause, else the text above.
QString historyFailureText(const QString& path, const std::exception& e)
{
    if (const auto* error = dynamic_cast<const Error*>(&e))
        return error->message();
    return unreadableHistoryText(path, e);
}

}  // namespace

bool MainFrm::switchGame(GameId g)
{
    if (g == m_game) {
        showGame();
        return false;
    }
    // Input typed into the entry window and not in the file is asked about first.
    if ((m_entry && !m_entry->confirmDroppingInput(false))
        || (m_prizeWindow && !m_prizeWindow->confirmDroppingInput(false))) {
        showGame();
        return false;
    }
    const QString folder = QFileInfo(m_historyPath).absolutePath();
    const QString historyPath = gameHistoryPath(folder, g);
    copySampleHistoryIfMissing(historyPath);
    HistoryRecordset history;
    StartupTables tables;
    QStringList leftOut;
    PrizeTable prizes;
    try {
        BusyPointer busy;
        HistoryReading file = readHistoryFile(historyPath, g);
        leftOut = std::move(file.leftOut);
        prizes = std::move(file.prizes);
        history = HistoryRecordset(std::move(file.rows));
        tables = buildStartupTables(history.rows(), g);
    } catch (const std::exception& e) {
        showMessage(QMessageBox::Critical, windowTitle(),
                    historyFailureText(historyPath, e)
                        + QStringLiteral("\n%1のままです。").arg(mirkano::game(m_game).name.toString()));
        showGame();
        return false;
    }
    // The children of the game left close as at the program's exit, without
    // reading its history again; its prediction settings are kept.
    m_switching = true;
    m_mdi->closeAllSubWindows();
    m_switching = false;
    writeSettings();
    m_game = g;
    m_historyPath = historyPath;
    m_settingsPath = gameSettingsPath(folder, g);
    m_history = std::move(history);
    m_tables = std::move(tables);
    m_prizes = std::move(prizes);
    m_backtestStale = false;
    readSettings();
    showGame();
    if (const QString cause = writeLastGame(folder, g); !cause.isEmpty())
        qWarning().noquote() << cause;
    if (const QString left = leftOutNotice(historyPath, leftOut); !left.isEmpty())
        showMessage(QMessageBox::Information, windowTitle(), left);
    openPrediction();
    return true;
}

QString MainFrm::readStartHistory(QString& notice)
{
    try {
        // A write cut short in an earlier run (the program was killed in the
        // middle of an edit) is rolled back, and the user told so.
        notice = rollBackInterruptedWrite(m_historyPath);
        HistoryReading file = readHistoryFile(m_historyPath, m_game);
        const QStringList leftOut = std::move(file.leftOut);
        m_prizes = std::move(file.prizes);
        m_history = HistoryRecordset(std::move(file.rows));
        // Draws that break the game's rules are named, and counted nowhere.
        if (const QString left = leftOutNotice(m_historyPath, leftOut); !left.isEmpty())
            notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) + left;
        m_tables = buildStartupTables(m_history.rows(), m_game);
    } catch (const HistoryError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return unreadableHistoryText(m_historyPath, e);
    }
    return {};
}

bool MainFrm::closeWindowsFirst(const QString& then)
{
    // The refusal names the windows that are open and offers to close them.
    QStringList open;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        open << QStringLiteral("「%1」").arg(w->windowTitle());
    const QString text = kCloseWindowsFirst + u'\n'
                         + QStringLiteral("開いているウィンドウ：%1").arg(open.join(u'、')) + u'\n'
                         + QStringLiteral("これらのウィンドウを閉じて%1か？").arg(then);
    if (ask(QMessageBox::Warning, kMessageTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_mdi->closeAllSubWindows();
    return m_propEnd;
}

bool MainFrm::openWinningDataEntry()
{
    // The open entry window only comes to the front.
    if (bringToFront(m_entry))
        return true;
    BusyPointer busy;
    if (!m_propEnd) {
        busy.restore();
        if (!closeWindowsFirst(QStringLiteral("「当選データ入力」を開きます")))
            return false;
    }
    emit winningDataEntryAllowed();
    auto* w = new WinningDataEntryWindow(askFunction(), windowTitle());
    adoptChild(w, [this] {
        m_entry = nullptr;
        m_childMenus->setChild(nullptr, {});
        // What was typed is in the file, which the window has released by
        // now: the other windows show it from here on.
        if (!m_shutDown && !m_switching)
            reloadHistory();
    });
    try {
        w->load(m_historyPath);
    } catch (const Error& e) {
        busy.restore();
        m_mdi->removeSubWindow(w);
        delete w;
        showMessage(QMessageBox::Critical, windowTitle(), e.message());
        return true;
    }
    m_entry = w;
    m_childMenus->setChild(w, {w->editMenu()});
    showChild(w);
    w->grid()->setFocus();
    return true;
}

WinningDataEntryWindow* MainFrm::winningDataEntryWindow() const { return m_entry.data(); }

bool MainFrm::openPrizeData()
{
    // The same rule as the entry window: it writes to the history file, so
    // the windows that read it are closed first.
    if (bringToFront(m_prizeWindow))
        return true;
    BusyPointer busy;
    if (!m_propEnd) {
        busy.restore();
        if (!closeWindowsFirst(QStringLiteral("「賞金データ」を開きます")))
            return false;
    }
    auto* w = new PrizeDataWindow(askFunction(), windowTitle());
    adoptChild(w, [this] {
        m_prizeWindow = nullptr;
        // The prize data saved are in the file, which the window has
        // released by now: the frame and its windows read them from here on.
        if (!m_shutDown && !m_switching)
            reloadHistory();
    });
    try {
        w->load(m_historyPath);
    } catch (const Error& e) {
        busy.restore();
        m_mdi->removeSubWindow(w);
        delete w;
        showMessage(QMessageBox::Critical, windowTitle(), e.message());
        return false;
    }
    m_prizeWindow = w;
    showChild(w);
    return true;
}

PrizeDataWindow* MainFrm::prizeDataWindow() const { return m_prizeWindow.data(); }

void MainFrm::updateWinningData()
{
    // The entry and prize data windows write to the very file the update replaces.
    if (m_entry || m_prizeWindow) {
        showMessage(QMessageBox::Critical, kMessageTitle, kCloseWindowsFirst);
        return;
    }
    const std::optional<UpdateReport> report =
        runHistoryUpdate(this, askFunction(), m_historyPath, m_game,
                         configuredServer(QCoreApplication::applicationDirPath(), m_game), m_updateLimits);
    if (report)
        showMessage(report->icon, windowTitle(), report->text);
    if (report && report->changed)
        reloadHistory();
}

void MainFrm::editUpdateSource()
{
    UpdateSourceDialog dialog(QCoreApplication::applicationDirPath(), m_historyPath, m_game, m_updateLimits, this);
    dialog.exec();
}

bool MainFrm::reloadHistory()
{
    BusyPointer busy;
    try {
        // Draws that break the game's rules stay out of the counts, as at
        // start (where they were named).
        HistoryReading file = readHistoryFile(m_historyPath, m_game);
        StartupTables tables = buildStartupTables(file.rows, m_game);
        m_history = HistoryRecordset(std::move(file.rows));
        m_tables = std::move(tables);
        m_prizes = std::move(file.prizes);
    } catch (const std::exception& e) {
        // The cause in words, and that the windows go on with what they show.
        busy.restore();
        showMessage(QMessageBox::Critical, windowTitle(),
                    historyFailureText(m_historyPath, e) + QStringLiteral("\n開いている画面は、前に読み込んだ当選データのままです。"));
        return false;
    }
    for (const QPointer<AnalysisWindow>& w : std::as_const(m_windows))
        if (w)
            w->recompute(m_history.rows(), m_tables);
    if (m_prediction)
        m_prediction->recompute(m_history.rows(), m_tables.latestDrawNo);
    if (m_stats)
        m_stats->recompute(m_history.rows(), m_game, m_reflectFlags);
    if (m_ticketCheck)
        m_ticketCheck->setHistory(m_history.rows(), m_prizes);
    if (m_wheel)
        m_wheel->setHistory(m_history.rows());
    if (m_value)
        m_value->recompute(m_history.rows(), m_prizes, m_game);
    m_backtestStale = m_backtest != nullptr;
    return true;
}

QString MainFrm::chooseImportFile()
{
    return QFileDialog::getOpenFileName(this, QStringLiteral("CSVから取り込み"), QString(),
                                        QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"));
}

QString MainFrm::chooseExportFile()
{
    return chooseCsvSaveFile(this, QStringLiteral("CSVへ書き出し"), suggestedCsvPath(mirkano::game(m_game).cliName.toString() + QStringLiteral(".csv")));
}

bool MainFrm::importHistoryCsv()
{
    // The same guard as the entry window: the windows that read the history
    // must be closed first.
    if (!m_propEnd && !closeWindowsFirst(QStringLiteral("CSVから取り込みます")))
        return false;
    const QString csv = chooseImportFile();
    if (csv.isEmpty())
        return false;
    // Every line is checked before anything is written; the draws are then
    // merged into the history, conflicts asked about.
    CsvHistory read;
    try {
        BusyPointer busy;
        read = readGameHistoryCsv(csv, m_game);
    } catch (const HistoryError& e) {
        showMessage(QMessageBox::Critical, kMessageTitle, e.message());
        return false;
    }
    const std::optional<MergeReport> report = mergeIntoHistoryAsking(
        askFunction(), kMessageTitle, m_historyPath, read.rows, QDir::toNativeSeparators(csv), read.prizes, read.warnings);
    if (!report)
        return false;
    showMessage(report->icon, kMessageTitle, report->text);
    if (report->changed)
        reloadHistory();
    return report->changed;
}

bool MainFrm::exportHistoryCsv()
{
    const QString path = chooseExportFile();
    if (path.isEmpty())
        return false;
    // Never over the history itself or any other history file; an existing
    // CSV only after a question.
    const auto refuse = [this](const QString& text) { showMessage(QMessageBox::Critical, kMessageTitle, text); };
    const auto confirm = [this](const QString& text) {
        return ask(QMessageBox::Question, kMessageTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    if (!mayWriteCsv(path, m_historyPath, refuse, confirm))
        return false;
    try {
        BusyPointer busy;
        writeCsvFile(path, historyToCsv(loadHistory(m_historyPath, m_game), m_game, loadPrizes(m_historyPath)));
    } catch (const Error& e) {
        showMessage(QMessageBox::Critical, kMessageTitle, e.message());
        return false;
    }
    showMessage(QMessageBox::Information, kMessageTitle, csvWrittenText(path));
    return true;
}

}  // namespace mirkano
