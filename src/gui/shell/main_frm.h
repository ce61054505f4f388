#pragma once
// The main window: the multiple-document frame with the whole menu, the
// start-up and shutdown sequences, the end flag through which the analysis
// windows report that one of them is open, and the window arrangement. The
// history actions (reading the history, the game switch, the entry window,
// the update, CSV import and export) are defined in history_actions.cpp.

#include "gui/backtest/backtest_window.h"
#include "gui/check/ticket_check_window.h"
#include "gui/predict/prediction_window.h"
#include "gui/sheet/analysis_window.h"
#include "gui/stats/stats_window.h"
#include "gui/wheel/wheel_window.h"
#include "gui/money/value_window.h"
#include "core/game/game.h"
#include "core/history/history.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"
#include "gui/maintenance/ask.h"
#include "gui/shell/window_arrange.h"
#include "core/maintenance/history_download.h"

#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <functional>

class QActionGroup;
class QMdiArea;

namespace mirkano {

class ChildMenuBar;
class WindowListMenu;
class WinningDataEntryWindow;
class PrizeDataWindow;

// The refusal of the winning-data entry command, under kMessageTitle.
inline const QString kCloseWindowsFirst = QStringLiteral("表示中のウィンドウを閉じないと実行できません。");

class MainFrm : public QMainWindow {
    Q_OBJECT
public:
    // The prediction settings file sits beside the history file, which is
    // beside the program unless told otherwise.
    explicit MainFrm(QString historyPath = defaultHistoryPath(), QWidget* parent = nullptr);
    MainFrm(QString historyPath, QString settingsPath, QWidget* parent = nullptr);
    ~MainFrm() override;

    // Start-up: prediction settings, busy pointer, end flag True, history and
    // start-up tables, pointer back. When the history cannot be read it shows
    // a message naming the file and the cause and returns false; the caller
    // then ends the program without showing the window.
    bool load();
    // load() as the program starts: when the game shown last is not Loto 6
    // and its history cannot be read, one message names the file and the
    // cause and says that Loto 6 opens instead, and Loto 6 beside it is loaded
    // and recorded as the last game. False (after the message) only when no
    // history can be read.
    bool loadAtStartUp();
    // The game the frame shows; set before load() for a game other than
    // Loto 6 (load() then refuses a history file of another game).
    GameId game() const { return m_game; }
    void setGame(GameId game);
    // ゲーム → ロト6 / ロト7 / ミニロト: closes the child windows (asking
    // first where the entry window holds input not in the file), keeps the
    // settings of the game left, reads the chosen game's history and settings
    // beside the current history file (its sample is copied there the first
    // time), opens its prediction window and remembers the game for the next
    // start. A history that cannot be read is named in a message and the
    // frame stays with the game it had. Returns whether the game changed.
    bool switchGame(GameId game);
    // The frame's caption for a game: ミルカノ, or ミルカノ － ロト7.
    static QString captionFor(GameId game);
    // Shows the loaded frame filling the screen and asks for it to become the
    // active window, whose first activation opens the prediction window.
    // Where the window system leaves the focus elsewhere (no window manager,
    // or one that keeps it where the user left it), the prediction window
    // opens all the same, as that first activation would have opened it.
    void showAtStartUp();

    // True while no analysis window is open (a single flag, not a count).
    bool propEnd() const { return m_propEnd; }
    void setPropEnd(bool on);

    const QString& historyPath() const { return m_historyPath; }
    const QString& settingsPath() const { return m_settingsPath; }
    // The reflect options of the prediction: read at start-up, changed in the
    // prediction window, written at exit. They outlive the window.
    const ReflectFlags& reflectFlags() const { return m_reflectFlags; }
    const History& history() const { return m_history.rows(); }
    const StartupTables& tables() const { return m_tables; }
    // The prize data of the history shown (empty when the file has none),
    // read with it and again whenever it is read again: for the windows that
    // speak of yen.
    const PrizeTable& prizes() const { return m_prizes; }
    QMdiArea* mdiArea() const { return m_mdi; }

    // Opens the analysis with this ID, or brings the open one to the front
    // unchanged. nullptr for an ID that is not built.
    AnalysisWindow* openAnalysis(const QString& id);
    // The open window of this analysis, or nullptr.
    AnalysisWindow* analysisWindow(const QString& id) const;

    // "当選確認": opens the ticket-check window, or brings the open one to
    // the front. While open it counts as an open analysis window.
    TicketCheckWindow* openTicketCheck();
    TicketCheckWindow* ticketCheckWindow() const { return m_ticketCheck.data(); }

    // "統計的検定": opens the statistics window for the game, or brings the
    // open one to the front. It counts as an open analysis window.
    StatsWindow* openStats();
    StatsWindow* statsWindow() const { return m_stats.data(); }

    // "組合せ作成" (データ分析, and the prediction window's button with its
    // numbers): opens the wheel window, or brings the open one to the front;
    // numbers, when given, replace its chosen numbers.
    WheelWindow* openWheel(const std::vector<int>& numbers = {});
    WheelWindow* wheelWindow() const { return m_wheel.data(); }
    // "期待値": opens the ticket-value window for the game with the history's
    // prize data, or brings the open one to the front. It counts as an open
    // analysis window.
    ValueWindow* openValue();
    ValueWindow* valueWindow() const { return m_value.data(); }

    // "予想の検証" of the prediction window: opens the prediction test for
    // these options, or brings the open one to the front (testing the new
    // options when they differ). It counts as an open analysis window.
    BacktestWindow* openBacktest(const ReflectFlags& flags);
    BacktestWindow* backtestWindow() const { return m_backtest.data(); }

    // "当選データ入力": opens the entry window only while no analysis window
    // is open; otherwise the refusal names the open windows and offers to
    // close them (default いいえ), and the entry window opens once they are
    // closed. An open entry window comes to the front. Returns whether the
    // entry window is open.
    bool openWinningDataEntry();
    // The open entry window, or nullptr.
    WinningDataEntryWindow* winningDataEntryWindow() const;
    // "賞金データ": opens the window that shows and corrects a draw's prize
    // data, under the entry window's rule (only while no other window is
    // open; it closes them first when the player agrees). The history is read
    // again when it closes. Returns whether the window is open.
    bool openPrizeData();
    // The open prize data window, or nullptr.
    PrizeDataWindow* prizeDataWindow() const;

    // "当選データ最新化": downloads the history from the game's address
    // (configuredServer(): update-server.txt, update-server-loto7.txt, …
    // beside the program, or their environment variables), checks it
    // and replaces the history file; refused while the entry window, which
    // writes to that file, is open. A replaced file is read again
    // (reloadHistory()).
    void updateWinningData();
    // データ管理 → 最新化の設定…: the current game's update address, set and tried out.
    void editUpdateSource();
    void setUpdateLimits(const DownloadLimits& limits) { m_updateLimits = limits; }

    void arrangeWindows(Arrangement how);
    // The list of open child windows at the end of the ウィンドウ menu.
    WindowListMenu* windowList() const { return m_windowList; }

    // The open prediction window, or nullptr.
    PredictionWindow* predictionWindow() const { return m_prediction.data(); }

    // "CSVから取り込み…": merges the draws of a chosen CSV into the history
    // file (every line checked first; draws that differ from the stored ones
    // asked about, default keep mine); while any window that reads the
    // history is open, asks to close them first as the entry command does. The new history is read again at once
    // (reloadHistory()). Returns whether the history changed.
    bool importHistoryCsv();
    // "CSVへ書き出し…": the history file as CSV, in the form the import
    // reads. Returns whether a file was written.
    bool exportHistoryCsv();

    // Reads the history file again after it changed (entry window closed,
    // update, import): new snapshot and start-up tables, and the open analysis
    // windows and prediction window recompute from them; the ticket check
    // reads it at its next check, the backtest runs again when next asked for. A file that cannot be read keeps the
    // old snapshot, with a message. Returns whether the snapshot was replaced.
    bool reloadHistory();

signals:
    void propEndChanged(bool on);
    // The prediction command ran (menu item or the activation of the frame).
    void predictionRequested();
    // The guard let the entry command through.
    void winningDataEntryAllowed();
    // Shutdown finished: children closed, settings written, history released.
    void shutDown();

protected:
    // The prediction settings: a file that cannot be read leaves every option
    // off, one that cannot be written leaves the old file as it was; either
    // way the cause goes to stderr and start-up or shutdown goes on.
    virtual void readSettings();
    virtual void writeSettings();
    // "一発ミルカノ予想": opens the prediction window, or brings the open one
    // to the front unchanged.
    virtual void openPrediction();
    // Every message box of the main window goes through here.
    virtual void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text);
    // Every question too, and the boxes of the windows it opens; the button pressed.
    virtual QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
    // ask() as a function for the windows and steps that ask through it.
    AskFn askFunction();
    // The file dialogs of the CSV commands; an empty path means cancelled.
    virtual QString chooseImportFile();
    virtual QString chooseExportFile();

    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildMenus();
    bool loadAtStart(bool fallBackToLoto6);
    // Reads the history and its start-up tables; the cause in words when it
    // cannot, with notice set to a rolled-back write's note.
    QString readStartHistory(QString& notice);
    void onActivated();
    // A window became the active one: the frame's activation counts when it
    // comes from another window of the program.
    void noteActive(QWidget* w);
    void openHelpFile();
    void openVersionWindow();
    // The open child comes to the front as it is; false when there is none.
    bool bringToFront(QMdiSubWindow* open);
    // A new child joins the frame: while it is open, commands under the guard
    // are refused; when it closes, forget() drops the frame's pointer to it.
    void adoptChild(ChildWindow* w, std::function<void()> forget);
    // The same for a window kept in one of the frame's pointers: the pointer
    // holds it while it is open.
    template <class Window>
    void adoptChild(Window* w, QPointer<Window>& slot);
    // Shows a new child and makes it the active one.
    void showChild(ChildWindow* w);

    // The refusal of a command that needs every child window closed: names
    // the open ones and asks whether to close them and go on with `then`
    // ("…を開きます"). True when they were closed.
    bool closeWindowsFirst(const QString& then);

    // Shows the game in the caption and the ゲーム menu.
    void showGame();

    GameId m_game = GameId::Loto6;
    QActionGroup* m_gameActions = nullptr;
    bool m_switching = false;  // the children are closing for a switch of game
    QString m_historyPath;
    QString m_settingsPath;
    ReflectFlags m_reflectFlags;
    QPointer<PredictionWindow> m_prediction;
    // The snapshot of the history taken at start-up, read again whenever the
    // program itself changes the file (reloadHistory()).
    HistoryRecordset m_history;
    StartupTables m_tables;
    PrizeTable m_prizes;
    bool m_backtestStale = false;  // the open backtest ran on an older snapshot
    bool m_propEnd = true;
    bool m_shutDown = false;
    QMdiArea* m_mdi = nullptr;
    QHash<QString, QPointer<AnalysisWindow>> m_windows;
    QPointer<TicketCheckWindow> m_ticketCheck;
    QPointer<BacktestWindow> m_backtest;
    QPointer<StatsWindow> m_stats;
    QPointer<WheelWindow> m_wheel;
    QPointer<ValueWindow> m_value;
    QPointer<QWidget> m_versionWindow;
    QPointer<WinningDataEntryWindow> m_entry;
    QPointer<PrizeDataWindow> m_prizeWindow;
    ChildMenuBar* m_childMenus = nullptr;
    WindowListMenu* m_windowList = nullptr;
    DownloadLimits m_updateLimits;

    // Activation: the frame counts an activation that comes from another
    // window of the program (and the first one, right after start-up), not
    // one that comes back from another application.
    QPointer<QWidget> m_currentActive;
    bool m_previousWasOwnWindow = false;
    // One of the program's windows (not a dialog) has the focus, or had it
    // until it closed.
    bool m_programActive = false;
    // The window of the program last asked to close.
    QPointer<QWidget> m_closing;
    bool m_activatedOnce = false;
};

}  // namespace mirkano
