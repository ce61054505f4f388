// The window 組合せ作成: input, the build on a worker thread, and the result.

#include "gui/wheel/wheel_window.h"

#include "gui/maintenance/ask.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/sheet/sheet_print.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <atomic>
#include <mutex>

namespace mirkano {

// What the worker and the window share: the worker writes the result, the
// error and the progress; the window reads them once the thread has ended
// (the progress while it runs, through atomics).
struct WheelWindow::Job {
    WheelInput input;
    double seconds = 10;
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> best{0};
    std::atomic<int> permille{0};
    std::optional<Wheel> wheel;
    WheelOdds odds;
    QString error;
    bool cancelled = false;
};

namespace {

// The guarantees offered, as "t/m"; those whose m exceeds the game's main
// numbers are left out. The full wheel comes last.
constexpr const char* kGuarantees[] = {"3/3", "3/4", "4/4", "3/5", "4/5", "3/6", "4/6", "5/6"};

QString numbersText(const std::vector<int>& numbers)
{
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(u',');
}

}  // namespace

WheelWindow::WheelWindow(GameId game, QWidget* parent) : ChildWindow(parent), m_game(game)
{
    setWindowTitle(QStringLiteral("組合せ作成"));
    setObjectName(QStringLiteral("wheel"));
    const Game& g = mirkano::game(game);

    auto* body = new QWidget(this);
    body->setFont(uiFont());
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);

    auto* intro = new QLabel(QStringLiteral("選んだ数字から、保証を全通り確かめた組合せ（%1の券）を作成します。"
                                            "数字はボタンで選ぶか、コンマで区切って入力してください。")
                                 .arg(g.name.toString()),
                             body);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    // The game's numbers as checkable buttons, ten to a row.
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int n = 1; n <= g.pool; ++n) {
        auto* b = new QToolButton(body);
        b->setText(QString::number(n));
        b->setObjectName(QStringLiteral("number%1").arg(n));
        b->setCheckable(true);
        b->setFixedSize(30, 24);
        b->setStyleSheet(QStringLiteral("QToolButton:checked { background-color: rgb(62, 158, 255); color: white; }"));
        connect(b, &QToolButton::toggled, this, [this] { buttonToggled(); });
        grid->addWidget(b, (n - 1) / 10, (n - 1) % 10);
        m_numberButtons.push_back(b);
    }
    auto* gridRow = new QHBoxLayout;
    gridRow->addLayout(grid);
    gridRow->addStretch(1);
    layout->addLayout(gridRow);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("選んだ数字"), body), 0, 0);
    m_numbers = new QLineEdit(body);
    m_numbers->setObjectName(QStringLiteral("txtNumbers"));
    form->addWidget(m_numbers, 0, 1, 1, 5);
    connect(m_numbers, &QLineEdit::editingFinished, this, [this] { numbersTyped(); });
    form->addWidget(new QLabel(QStringLiteral("キー数字"), body), 1, 0);
    m_keys = new QLineEdit(body);
    m_keys->setObjectName(QStringLiteral("txtKeys"));
    m_keys->setPlaceholderText(QStringLiteral("すべての券に入れる数字（任意）"));
    form->addWidget(m_keys, 1, 1, 1, 5);

    form->addWidget(new QLabel(QStringLiteral("保証"), body), 2, 0);
    m_guarantee = new QComboBox(body);
    m_guarantee->setObjectName(QStringLiteral("cboGuarantee"));
    for (const char* item : kGuarantees) {
        const int m = item[2] - '0';
        if (m <= g.mains)
            m_guarantee->addItem(QStringLiteral("%1 個当たれば %2 個一致").arg(m).arg(item[0] - '0'),
                                 QString::fromLatin1(item));
    }
    m_guarantee->addItem(QStringLiteral("全組合せ（フルウィール）"), QStringLiteral("full"));
    form->addWidget(m_guarantee, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("時間（秒）"), body), 2, 2);
    m_seconds = new QSpinBox(body);
    m_seconds->setObjectName(QStringLiteral("spnSeconds"));
    m_seconds->setRange(1, 600);
    m_seconds->setValue(10);
    form->addWidget(m_seconds, 2, 3);
    m_build = new QPushButton(QStringLiteral("作成"), body);
    m_build->setObjectName(QStringLiteral("cmdBuild"));
    m_cancel = new QPushButton(QStringLiteral("中止"), body);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    form->addWidget(m_build, 2, 4);
    form->addWidget(m_cancel, 2, 5);
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    connect(m_build, &QPushButton::clicked, this, [this] { build(); });
    connect(m_cancel, &QPushButton::clicked, this, &WheelWindow::cancel);

    auto* progressRow = new QHBoxLayout;
    m_progress = new QProgressBar(body);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(body);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_status, 2);
    layout->addLayout(progressRow);

    auto* commands = new QHBoxLayout;
    m_print = new QPushButton(QStringLiteral("印刷"), body);
    m_csv = new QPushButton(QStringLiteral("CSV保存…"), body);
    m_copy = new QPushButton(QStringLiteral("コピー"), body);
    m_check = new QPushButton(QStringLiteral("当選確認"), body);
    m_check->setObjectName(QStringLiteral("cmdCheck"));
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    for (QPushButton* b : {m_print, m_csv, m_copy, m_check, m_close})
        commands->addWidget(b);
    commands->addStretch(1);
    layout->addLayout(commands);

    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_summary);

    auto* results = new QHBoxLayout;
    m_tickets = new SheetGrid(body);
    m_tickets->setObjectName(QStringLiteral("grdTickets"));
    results->addWidget(m_tickets, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("1 回の抽せんで最も良い結果になる確率（全通りの抽せんから）"), body));
    m_odds = new SheetGrid(body);
    m_odds->setObjectName(QStringLiteral("grdOdds"));
    right->addWidget(m_odds, 0, Qt::AlignLeft);
    m_historyLabel = new QLabel(QStringLiteral("当選確認（過去の抽せん）"), body);
    right->addWidget(m_historyLabel);
    m_historyGrid = new SheetGrid(body);
    m_historyGrid->setObjectName(QStringLiteral("grdHistory"));
    right->addWidget(m_historyGrid, 0, Qt::AlignLeft);
    right->addStretch(1);
    results->addLayout(right);
    results->addStretch(1);
    layout->addLayout(results, 1);

    connect(m_print, &QPushButton::clicked, this, &WheelWindow::print);
    connect(m_csv, &QPushButton::clicked, this, [this] { GridActions::of(m_tickets)->saveCsv(); });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        GridActions::of(m_tickets)->setSelection(std::nullopt);
        GridActions::of(m_tickets)->copy();
    });
    connect(m_check, &QPushButton::clicked, this, &WheelWindow::checkHistory);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);
    GridActions::of(m_tickets)->printHandler = [this] { print(); };

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        if (!m_job)
            return;
        m_progress->setValue(m_job->permille.load());
        if (const std::size_t best = m_job->best.load())
            m_status->setText(QStringLiteral("作成中… 現在 %1 枚").arg(best));
    });

    m_historyLabel->hide();
    m_historyGrid->hide();
    setBody(body);
    updateButtons();
    resize(760, 720);
}

WheelWindow::~WheelWindow()
{
    unload();
}

void WheelWindow::unload()
{
    // The worker writes only into the shared job, but it must end before the thread object goes.
    if (m_worker) {
        m_job->cancel = true;
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
}

void WheelWindow::load(const History& history)
{
    emit opened();
    m_history = history;
    setPrintSource(historySourceText(m_game, m_history));
    move(0, 0);
}

void WheelWindow::setNumbers(const std::vector<int>& numbers)
{
    m_numbers->setText(numbersText(numbers));
    numbersTyped();
}

void WheelWindow::numbersTyped()
{
    std::vector<int> numbers;
    try {
        numbers = parseWheelNumbers(m_numbers->text(), QStringLiteral("選んだ数字"));
    } catch (const WheelError&) {
        return;  // 作成 says what is wrong
    }
    for (QToolButton* b : m_numberButtons) {
        const QSignalBlocker quiet(b);
        b->setChecked(std::find(numbers.begin(), numbers.end(), b->text().toInt()) != numbers.end());
    }
}

void WheelWindow::buttonToggled()
{
    std::vector<int> numbers;
    for (QToolButton* b : m_numberButtons)
        if (b->isChecked())
            numbers.push_back(b->text().toInt());
    m_numbers->setText(numbersText(numbers));
}

void WheelWindow::updateButtons()
{
    const bool busy = m_worker != nullptr;
    m_build->setEnabled(!busy);
    m_cancel->setEnabled(busy);
    for (QPushButton* b : {m_print, m_csv, m_copy, m_check})
        b->setEnabled(!busy && m_wheel.has_value());
}

bool WheelWindow::build()
{
    if (m_worker)
        return false;
    auto job = std::make_shared<Job>();
    try {
        job->input.game = m_game;
        job->input.numbers = parseWheelNumbers(m_numbers->text(), QStringLiteral("選んだ数字"));
        job->input.keys = parseWheelNumbers(m_keys->text(), QStringLiteral("キー数字"));
        const QString guarantee = m_guarantee->currentData().toString();
        if (guarantee == QLatin1String("full"))
            job->input.match = job->input.drawn = fullWheelMatch(job->input);
        else
            parseGuarantee(guarantee, job->input.match, job->input.drawn);
        job->input = checkedWheelInput(job->input);
    } catch (const WheelError& e) {
        showRefusal(e.message());
        return false;
    }
    job->seconds = m_seconds->value();
    m_job = job;
    m_status->setText(QStringLiteral("作成中…"));
    m_progress->setValue(0);
    m_worker = QThread::create([job] {
        WheelOptions options;
        options.seconds = job->seconds;
        options.cancelled = [job] { return job->cancel.load(); };
        options.progress = [job](std::size_t best, double used) {
            job->best = best;
            job->permille = int(used * 1000);
        };
        try {
            Wheel w = buildWheel(job->input, options);
            job->odds = wheelOdds(w);
            job->wheel = std::move(w);
        } catch (const WheelCancelled&) {
            job->cancelled = true;
        } catch (const Error& e) {
            job->error = e.message();
        } catch (const std::bad_alloc&) {
            job->error = QStringLiteral("メモリが不足したため組合せを作成できませんでした");
        }
    });
    connect(m_worker, &QThread::finished, this, &WheelWindow::finished);
    m_worker->start();
    m_progressTimer->start();
    updateButtons();
    return true;
}

void WheelWindow::cancel()
{
    if (m_job)
        m_job->cancel = true;
}

void WheelWindow::waitForBuild()
{
    if (m_worker) {
        m_worker->wait();
        finished();
    }
}

void WheelWindow::finished()
{
    if (!m_worker)
        return;
    m_worker->deleteLater();
    m_worker = nullptr;
    m_progressTimer->stop();
    const std::shared_ptr<Job> job = std::exchange(m_job, nullptr);
    m_progress->setValue(job->wheel ? 1000 : 0);
    if (job->cancelled) {
        m_status->setText(QStringLiteral("中止しました"));
    } else if (!job->error.isEmpty()) {
        m_status->setText(QString());
        showRefusal(job->error);
    } else if (job->wheel) {
        m_wheel = std::move(job->wheel);
        m_oddsValues = job->odds;
        m_status->setText(QStringLiteral("作成しました（保証は全通り確認済み）"));
        showWheel();
    }
    updateButtons();
}

void WheelWindow::showWheel()
{
    m_summary->setText(wheelSummaryLines(*m_wheel).join(u'\n'));
    m_tickets->setSheet(buildWheelTicketSheet(*m_wheel));
    m_tickets->setFixedSize(m_tickets->sizeHint());
    m_odds->setSheet(buildWheelOddsSheet(m_game, m_oddsValues));
    m_odds->setFixedSize(m_odds->sizeHint());
    m_historyLabel->hide();
    m_historyGrid->hide();
}

void WheelWindow::checkHistory()
{
    if (!m_wheel)
        return;
    const WheelHistoryCheck r = checkWheelAgainstHistory(*m_wheel, m_history);
    m_historyLabel->setText(QStringLiteral("当選確認（過去の %1 回の抽せん）").arg(r.drawsChecked));
    m_historyGrid->setSheet(buildWheelHistorySheet(m_game, r));
    m_historyGrid->setFixedSize(m_historyGrid->sizeHint());
    m_historyLabel->show();
    m_historyGrid->show();
    setPrintSource(historySourceText(m_game, m_history));
}

QStringList WheelWindow::printLines() const
{
    if (!m_wheel)
        return {};
    QStringList lines = wheelSummaryLines(*m_wheel);
    const Game& g = mirkano::game(m_game);
    QStringList odds;
    for (std::size_t c = 0; c < m_oddsValues.set.size(); ++c) {
        const QString name = int(c) < g.prizeClassCount() ? QStringLiteral("%1等").arg(c + 1) : QStringLiteral("はずれ");
        odds << QStringLiteral("%1 %2（ランダム %3）")
                    .arg(name, percentText(m_oddsValues.set[c]), percentText(m_oddsValues.random[c]));
    }
    lines << QStringLiteral("1 回の抽せんの確率：") + odds.join(QStringLiteral("、"));
    return lines;
}

void WheelWindow::printTo(QPagedPaintDevice& device) const
{
    printSheetUnderLines(device, {windowTitle(), printSource()}, printLines(), m_tickets->sheet());
}

void WheelWindow::print()
{
    if (!m_wheel)
        return;
    showPrintPreview(this, windowTitle(), preferredOrientation(m_tickets->sheet()),
                     [this](QPagedPaintDevice& device) { printTo(device); });
}

void WheelWindow::showRefusal(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace mirkano
