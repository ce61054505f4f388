#include "gui/shell/main_frm.h"

#include "core/game/game_files.h"
#include "core/predict/reflect_settings.h"
#include "gui/help/help_viewer.h"
#include "gui/help/version_window.h"
#include "gui/maintenance/ask.h"
#include "gui/maintenance/child_menu_bar.h"
#include "gui/maintenance/entry_window.h"
#include "gui/maintenance/prize_window.h"
#include "gui/icons/program_icon.h"
#include "gui/predict/prediction_window.h"
#include "gui/sheet/grid_units.h"
#include "gui/shell/busy_pointer.h"
#include "gui/shell/window_list_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <utility>

namespace mirkano {

namespace {

// Windows that never count as "another window of the program" for the
// activation rule: menus, tool tips and dialogs (message boxes, the update's
// progress, file choosers, the print preview), which hand the focus back to
// the window they were opened from.
bool countsAsProgramWindow(const QWidget* w)
{
    if (!w || !w->isWindow())
        return false;
    const Qt::WindowType type = w->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
        return false;
    return !qobject_cast<const QDialog*>(w);
}

}  // namespace

MainFrm::MainFrm(QString historyPath, QWidget* parent)
    : MainFrm(historyPath, settingsPathIn(QFileInfo(historyPath).absolutePath()), parent)
{
}

MainFrm::MainFrm(QString historyPath, QString settingsPath, QWidget* parent)
    : QMainWindow(parent), m_historyPath(std::move(historyPath)), m_settingsPath(std::move(settingsPath))
{
    setWindowTitle(QStringLiteral("ミルカノ"));
    setObjectName(QStringLiteral("MainFrm"));
    setFont(uiFont());
    // The child windows, the help and the version window take it from here.
    setWindowIcon(programIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);
    buildMenus();
    showGame();
    // The entry window's menu stands in for the frame's while it is active.
    m_childMenus = new ChildMenuBar(menuBar(), m_mdi);
    resize(1024, 768);
    qApp->installEventFilter(this);
}

MainFrm::~MainFrm()
{
    qApp->removeEventFilter(this);
}

void MainFrm::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setFont(uiFont());
    bar->setNativeMenuBar(false);

    auto command = [this](QWidget* parent, const char* name, const QString& caption,
                          std::function<void()> action, bool enabled) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(enabled);
        if (action)
            connect(a, &QAction::triggered, this, std::move(action));
        parent->addAction(a);
        return a;
    };
    auto submenu = [this](QWidget* parent, const char* name, const QString& caption) {
        auto* m = new QMenu(caption, parent);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        m->setFont(uiFont());
        parent->addAction(m->menuAction());
        return m;
    };
    // An analysis item: enabled once its analysis is built.
    auto analysis = [&](QMenu* parent, const char* name, const QString& caption, const char* id) {
        const bool built = id && findAnalysis(m_tables.gameId, id) != nullptr;
        const QString key = id ? QString::fromLatin1(id) : QString();
        return command(parent, name, caption, [this, key] { openAnalysis(key); }, built);
    };

    command(bar, "mnuEnd", QStringLiteral("終了(&X)"), [this] { close(); }, true);
    command(bar, "mnuYoso", QStringLiteral("一発ミルカノ予想(&D)"), [this] { openPrediction(); }, true);

    QMenu* main = submenu(bar, "mnuMain", QStringLiteral("データ分析(&S)"));
    QMenu* hindo = submenu(main, "mnuHindo", QStringLiteral("頻度分析"));
    analysis(hindo, "mnuSyutugenHindo", QStringLiteral("出現頻度分析"), "frequency");
    analysis(hindo, "mnuSyutugenKaisu", QStringLiteral("回数別出現分析"), "count-groups");
    QMenu* kankaku = submenu(main, "mnuKankaku", QStringLiteral("間隔分析"));
    analysis(kankaku, "mnuSyutugenKankaku", QStringLiteral("出現間隔分析"), "appearance-interval");
    analysis(kankaku, "mnuNumberKankaku", QStringLiteral("数字間隔分析"), "number-interval");
    analysis(main, "mnuZenkaiSyutugen", QStringLiteral("出現回数分析"), "appearance-count");
    analysis(main, "mnuBaratsuki", QStringLiteral("バラツキ分析"), "dispersion");
    analysis(main, "mnuHippari", QStringLiteral("引っ張り分析"), "pull");
    analysis(main, "mnuRenbanTobiishi", QStringLiteral("連番・飛び石分析"), "consecutive");
    analysis(main, "mnuHonsuji", QStringLiteral("数字合計分析"), "number-sum");
    QMenu* pattern = submenu(main, "mnuPattern", QStringLiteral("組合せパターン分析"));
    analysis(pattern, "mnuLowHightPattern", QStringLiteral("低数字・高数字の組合せパターン分析"), "low-high");
    analysis(pattern, "mnuKisuGusuPattern", QStringLiteral("偶数・奇数の組合せパターン分析"), "even-odd");
    analysis(main, "mnu5BunkatsuKeiko", QStringLiteral("5分割傾向分析"), "five-division");
    QMenu* bunkatsu = submenu(main, "mnuBunkatsuData", QStringLiteral("分割データ分析"));
    analysis(bunkatsu, "mnu6BunkatsuData", QStringLiteral("6分割データ分析"), "division-6");
    analysis(bunkatsu, "mnu7BunkatsuData", QStringLiteral("7分割データ分析"), "division-7");
    analysis(bunkatsu, "mnu11BunkatsuData", QStringLiteral("11分割データ分析"), "division-11");
    analysis(main, "mnuLastChar", QStringLiteral("下一桁出現傾向分析"), "last-digit");
    analysis(main, "mnuLastCharRenzoku", QStringLiteral("下一桁連続出現回数分析"), "last-digit-run");
    main->addSeparator();
    command(main, "mnuTosenKakunin", QStringLiteral("当選確認"), [this] { openTicketCheck(); }, true);
    command(main, "mnuToukeiKentei", QStringLiteral("統計的検定"), [this] { openStats(); }, true);
    command(main, "mnuKitaichi", QStringLiteral("期待値"), [this] { openValue(); }, true);
    command(main, "mnuKumiawase", QStringLiteral("組合せ作成"), [this] { openWheel(); }, true);

    QMenu* hosyu = submenu(bar, "mnuHosyu", QStringLiteral("データ管理(&M)"));
    command(hosyu, "mnuMasterUpdate", QStringLiteral("当選データ最新化(&U)"), [this] { updateWinningData(); }, true);
    command(hosyu, "mnuUpdateSource", QStringLiteral("最新化の設定…"), [this] { editUpdateSource(); }, true);
    command(hosyu, "mnuMasterInput", QStringLiteral("当選データ入力(&I)"), [this] { openWinningDataEntry(); }, true);
    command(hosyu, "mnuPrizeData", QStringLiteral("賞金データ(&P)"), [this] { openPrizeData(); }, true);
    hosyu->addSeparator();
    command(hosyu, "mnuCsvImport", QStringLiteral("CSVから取り込み…"), [this] { importHistoryCsv(); }, true);
    command(hosyu, "mnuCsvExport", QStringLiteral("CSVへ書き出し…"), [this] { exportHistoryCsv(); }, true);

    // One game at a time: the checked item is the game the frame shows.
    QMenu* gameMenu = submenu(bar, "mnuGame", QStringLiteral("ゲーム(&G)"));
    m_gameActions = new QActionGroup(this);
    m_gameActions->setExclusive(true);
    for (const Game& g : games()) {
        const GameId id = g.id;
        // The access key is the game's digit, M for ミニロト.
        const QChar key = id == GameId::Loto6 ? u'6' : id == GameId::Loto7 ? u'7' : u'M';
        QAction* a = command(gameMenu, "", g.name.toString() + QStringLiteral("(&%1)").arg(key),
                             [this, id] { switchGame(id); }, true);
        a->setObjectName(QStringLiteral("mnuGame_") + g.cliName.toString());
        a->setCheckable(true);
        a->setData(int(id));
        m_gameActions->addAction(a);
    }

    QMenu* window = submenu(bar, "mnuWindow", QStringLiteral("ウィンドウ(&W)"));
    command(window, "mnuWindowHorizontal", QStringLiteral("上下に並べて表示(&H)"),
            [this] { arrangeWindows(Arrangement::TileHorizontal); }, true);
    command(window, "mnuWindowVertical", QStringLiteral("左右に並べて表示(&V)"),
            [this] { arrangeWindows(Arrangement::TileVertical); }, true);
    command(window, "mnuWindowCascade", QStringLiteral("重ねて表示(&C)"),
            [this] { arrangeWindows(Arrangement::Cascade); }, true);
    command(window, "mnuWindowArrangeIcon", QStringLiteral("アイコンの整列(&A)"),
            [this] { arrangeWindows(Arrangement::ArrangeIcons); }, true);
    // The keys of a multiple-document frame. The actions belong to the frame
    // as well as to the menu, so the keys work while a child's own menu bar
    // stands in for the frame's. Going through the children does not
    // activate the frame itself, so it never reopens the prediction window.
    window->addSeparator();
    auto key = [this](QAction* a, const QList<QKeySequence>& keys) {
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    };
    key(command(window, "mnuWindowClose", QStringLiteral("閉じる(&O)"), [this] { m_mdi->closeActiveSubWindow(); }, true),
        {QKeySequence(Qt::CTRL | Qt::Key_F4)});
    key(command(window, "mnuWindowNext", QStringLiteral("次のウィンドウ(&N)"), [this] { m_mdi->activateNextSubWindow(); },
                true),
        {QKeySequence(Qt::CTRL | Qt::Key_Tab)});
    key(command(window, "mnuWindowPrevious", QStringLiteral("前のウィンドウ(&P)"),
                [this] { m_mdi->activatePreviousSubWindow(); }, true),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    // Below them, the open child windows, the active one checked.
    m_windowList = new WindowListMenu(window, m_mdi, [this](QMdiSubWindow* w) { bringToFront(w); });

    QMenu* help = submenu(bar, "mnuHelp", QStringLiteral("ヘルプ(&H)"));
    QAction* helpFile = command(help, "mnuHelpFile", QStringLiteral("ヘルプ(&H)"), [this] { openHelpFile(); }, true);
    helpFile->setShortcut(QKeySequence::HelpContents);  // F1, also while a child's own menus are shown
    addAction(helpFile);
    command(help, "mnuAbout", QStringLiteral("バージョン情報(&A)"), [this] { openVersionWindow(); }, true);
}

void MainFrm::setGame(GameId game)
{
    m_game = game;
    showGame();
}

QString MainFrm::captionFor(GameId g)
{
    // Loto 6 keeps the program's plain caption.
    if (g == GameId::Loto6)
        return QStringLiteral("ミルカノ");
    return QStringLiteral("ミルカノ － ") + mirkano::game(g).name.toString();
}

void MainFrm::showGame()
{
    setWindowTitle(captionFor(m_game));
    for (QAction* a : m_gameActions->actions())
        a->setChecked(a->data().toInt() == int(m_game));
}

bool MainFrm::load() { return loadAtStart(false); }

bool MainFrm::loadAtStartUp() { return loadAtStart(true); }

bool MainFrm::loadAtStart(bool fallBackToLoto6)
{
    readSettings();
    BusyPointer busy;
    setPropEnd(true);
    QString notice;
    QString fault = readStartHistory(notice);
    if (!fault.isEmpty() && fallBackToLoto6 && m_game != GameId::Loto6) {
        // The last game's history cannot be read: the program starts on
        // Loto 6 beside it rather than not at all, and remembers that, so
        // that every game stays within reach through the ゲーム menu.
        const QString left = mirkano::game(m_game).name.toString();
        const QString folder = QFileInfo(m_historyPath).absolutePath();
        m_game = GameId::Loto6;
        m_historyPath = gameHistoryPath(folder, m_game);
        m_settingsPath = gameSettingsPath(folder, m_game);
        showGame();
        copySampleHistoryIfMissing(m_historyPath);
        readSettings();
        notice.clear();
        if (const QString loto6Fault = readStartHistory(notice); !loto6Fault.isEmpty()) {
            fault += u'\n' + loto6Fault;
        } else {
            if (const QString cause = writeLastGame(folder, m_game); !cause.isEmpty())
                qWarning().noquote() << cause;
            busy.restore();
            if (!fault.endsWith(u'。'))
                fault += u'。';
            showMessage(QMessageBox::Warning, windowTitle(),
                        fault
                            + QStringLiteral("\n\n%1の履歴を読み込めないため、ロト6で起動します。"
                                             "%1は、履歴ファイルを直してから「ゲーム」メニューで選べます。")
                                  .arg(left));
            fault.clear();
        }
    }
    if (!fault.isEmpty()) {
        busy.restore();
        showMessage(QMessageBox::Critical, windowTitle(), fault);
        return false;
    }
    if (!notice.isEmpty()) {
        busy.restore();
        showMessage(QMessageBox::Information, windowTitle(), notice);
    }
    return true;
}

void MainFrm::setPropEnd(bool on)
{
    if (m_propEnd == on)
        return;
    m_propEnd = on;
    emit propEndChanged(on);
}

bool MainFrm::bringToFront(QMdiSubWindow* open)
{
    if (!open)
        return false;
    if (open->isMinimized())
        open->showNormal();
    m_mdi->setActiveSubWindow(open);
    open->raise();
    return true;
}

void MainFrm::adoptChild(ChildWindow* w, std::function<void()> forget)
{
    m_mdi->addSubWindow(w);
    connect(w, &ChildWindow::opened, this, [this] { setPropEnd(false); });
    // A closed window is gone at once, even before it is deleted: the next
    // open makes a new one.
    connect(w, &ChildWindow::unloaded, this, [this, forget = std::move(forget)] {
        forget();
        setPropEnd(true);
    });
}

template <class Window>
void MainFrm::adoptChild(Window* w, QPointer<Window>& slot)
{
    slot = w;
    adoptChild(w, [&slot, w] {
        if (slot == w)
            slot = nullptr;
    });
}

void MainFrm::showChild(ChildWindow* w)
{
    w->show();
    m_mdi->setActiveSubWindow(w);
}

AnalysisWindow* MainFrm::analysisWindow(const QString& id) const
{
    return m_windows.value(id).data();
}

AnalysisWindow* MainFrm::openAnalysis(const QString& id)
{
    const Analysis* analysis = findAnalysis(m_tables.gameId, id.toStdString());
    if (!analysis)
        return nullptr;
    // One instance per window: the open one comes to the front as it is.
    if (AnalysisWindow* open = analysisWindow(id); bringToFront(open))
        return open;
    BusyPointer busy;
    auto* w = new AnalysisWindow(*analysis);
    adoptChild(w, [this, id, w] {
        if (m_windows.value(id) == w)
            m_windows.remove(id);
    });
    m_windows.insert(id, w);
    w->load(m_history.rows(), m_tables);
    showChild(w);
    return w;
}

TicketCheckWindow* MainFrm::openTicketCheck()
{
    if (TicketCheckWindow* open = m_ticketCheck.data(); bringToFront(open))
        return open;
    BusyPointer busy;
    auto* w = new TicketCheckWindow(m_tables.gameId);
    adoptChild(w, m_ticketCheck);
    w->load(m_history.rows(), m_prizes);
    showChild(w);
    return w;
}

StatsWindow* MainFrm::openStats()
{
    if (StatsWindow* open = m_stats.data(); bringToFront(open))
        return open;
    BusyPointer busy;
    auto* w = new StatsWindow;
    adoptChild(w, m_stats);
    w->load(m_history.rows(), m_game, m_reflectFlags);
    showChild(w);
    return w;
}

WheelWindow* MainFrm::openWheel(const std::vector<int>& numbers)
{
    WheelWindow* w = m_wheel.data();
    if (!bringToFront(w)) {
        w = new WheelWindow(m_tables.gameId);
        adoptChild(w, m_wheel);
        w->load(m_history.rows());
        showChild(w);
    }
    if (!numbers.empty())
        w->setNumbers(numbers);
    return w;
}

ValueWindow* MainFrm::openValue()
{
    if (ValueWindow* open = m_value.data(); bringToFront(open))
        return open;
    BusyPointer busy;
    auto* w = new ValueWindow;
    adoptChild(w, m_value);
    w->load(m_history.rows(), m_prizes, m_game);
    showChild(w);
    return w;
}

BacktestWindow* MainFrm::openBacktest(const ReflectFlags& flags)
{
    if (BacktestWindow* open = m_backtest.data()) {
        // Options changed since it opened, or the history: it tests again.
        const bool stale = std::exchange(m_backtestStale, false);
        if (!(open->flags() == flags) || stale)
            open->load(m_history.rows(), flags, m_prizes);
        bringToFront(open);
        return open;
    }
    BusyPointer busy;
    auto* w = new BacktestWindow(m_tables.gameId);
    m_backtestStale = false;
    adoptChild(w, m_backtest);
    w->load(m_history.rows(), flags, m_prizes);
    showChild(w);
    return w;
}

void MainFrm::arrangeWindows(Arrangement how)
{
    arrange(m_mdi, how);
}

void MainFrm::readSettings()
{
    try {
        m_reflectFlags = readReflectFlags(m_settingsPath);
    } catch (const SettingsError& e) {
        m_reflectFlags = {};
        qWarning().noquote() << e.message() + QStringLiteral("。予想への反映はすべて「反映しない」で始めます。");
    }
}

void MainFrm::writeSettings()
{
    try {
        writeReflectFlags(m_settingsPath, m_reflectFlags);
    } catch (const SettingsError& e) {
        qWarning().noquote() << e.message();
    }
}

void MainFrm::openPrediction()
{
    emit predictionRequested();
    if (bringToFront(m_prediction))
        return;
    BusyPointer busy;
    auto* w = new PredictionWindow(m_reflectFlags, m_tables.gameId);
    adoptChild(w, m_prediction);
    connect(w, &PredictionWindow::flagsChanged, this, [this](const ReflectFlags& f) { m_reflectFlags = f; });
    connect(w, &PredictionWindow::backtestRequested, this, [this](const ReflectFlags& f) { openBacktest(f); });
    connect(w, &PredictionWindow::wheelRequested, this, [this](const std::vector<int>& n) { openWheel(n); });
    w->load(m_history.rows(), m_tables.latestDrawNo);
    showChild(w);
}

void MainFrm::showMessage(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    ask(icon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton MainFrm::ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton)
{
    return showMessageBox(this, icon, title, text, buttons, defaultButton);
}

AskFn MainFrm::askFunction()
{
    return [this](QMessageBox::Icon icon, const QString& title, const QString& text,
                  QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def) {
        return ask(icon, title, text, buttons, def);
    };
}

void MainFrm::openHelpFile()
{
    // F1 and the menu open the active child's own page, else the overview.
    auto* child = qobject_cast<ChildWindow*>(m_mdi->activeSubWindow());
    openHelp(this, helpFilePath(), child ? child->helpKeyword() : QStringLiteral("ミルカノについて"));
}

void MainFrm::openVersionWindow()
{
    if (!m_versionWindow)
        m_versionWindow = new VersionWindow(this);
    m_versionWindow->show();
    m_versionWindow->raise();
    m_versionWindow->activateWindow();
}

void MainFrm::closeEvent(QCloseEvent* e)
{
    if (m_shutDown) {
        e->accept();
        return;
    }
    // Closing asks only when the entry window holds input that is not in the
    // file; the player may then stay.
    if (m_entry && !m_entry->confirmDroppingInput(true)) {
        e->ignore();
        return;
    }
    if (m_prizeWindow && !m_prizeWindow->confirmDroppingInput(true)) {
        e->ignore();
        return;
    }
    e->accept();
    m_shutDown = true;
    // Children first: each runs its own unload.
    m_mdi->closeAllSubWindows();
    if (m_versionWindow)
        m_versionWindow->close();
    writeSettings();
    // Release the history; nothing from here on may stop the shutdown.
    m_history = HistoryRecordset{};
    m_tables = StartupTables{};
    m_prizes = PrizeTable{};
    {
        BusyPointer busy;
    }
    emit shutDown();
}

bool MainFrm::eventFilter(QObject* watched, QEvent* e)
{
    const bool activate = e->type() == QEvent::WindowActivate;
    if ((activate || e->type() == QEvent::WindowDeactivate) && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow()) {
        auto* w = static_cast<QWidget*>(watched);
        if (activate) {
            noteActive(w);
        } else if (QWidget* now = QApplication::activeWindow()) {
            // While a window the program shows above the frame (the version
            // window) has the focus, the frame stays marked active, so going
            // back to it brings no activation of its own: the deactivation of
            // the window left behind, with the frame already the active
            // window, stands for it.
            noteActive(now);
        } else if (w->isVisible() && w != m_closing) {
            // No window of the program is active any more and the window is
            // still there: the user went to another application. A window
            // that closes hands the focus back to the program.
            m_programActive = false;
        }
    } else if (e->type() == QEvent::Close && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
        // A window being closed is still shown when it gives up the focus;
        // that is not a move to another application.
        m_closing = static_cast<QWidget*>(watched);
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainFrm::noteActive(QWidget* w)
{
    if (!countsAsProgramWindow(w) || (w == m_currentActive && m_programActive))
        return;
    // The window that was active may be gone already (the version window
    // deletes itself when closed): what counts is that one of the program's
    // windows was active, not that it still exists.
    m_previousWasOwnWindow = m_programActive && w != m_currentActive;
    m_programActive = true;
    m_currentActive = w;
    if (w == this)
        onActivated();
}

void MainFrm::showAtStartUp()
{
    setGeometry(screen()->availableGeometry());
    showMaximized();
    activateWindow();
    QTimer::singleShot(0, this, [this] {
        if (!m_activatedOnce)
            onActivated();
    });
}

void MainFrm::onActivated()
{
    const bool first = !m_activatedOnce;
    m_activatedOnce = true;
    if (m_shutDown)
        return;
    if (first || m_previousWasOwnWindow)
        openPrediction();
}

}  // namespace mirkano
