#include "gui/predict/prediction_window.h"

#include "gui/shell/busy_pointer.h"
#include "core/predict/prediction_sheets.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_print.h"

#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace mirkano {

namespace {

constexpr int kHeightTwips = 8400;
constexpr int kWidthTwips = 9360;

// Places a control inside its container; all values in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

struct SheetPlace {
    const char* titleName;
    const char* title;
    int titleTop;  // twips inside the prediction frame; the sheet sits just below
};
constexpr std::array<SheetPlace, 4> kSheetPlaces = {{
    {"Label1", "●周期法による予想", 840},
    {"Label2", "●消去法による予想(この予想数字を組合わせて購入します)", 2640},
    {"Label3", "●連発ミルカノ予想(この予想数字を組合わせて購入します)", 4200},
    {"Label4", "●一発ミルカノ予想", 5520},
}};
constexpr int kTitleHeightTwips = 255;
constexpr int kPredictionFrameWidthTwips = 5055;
constexpr int kSheetLeftTwips = 120;

}  // namespace

PredictionWindow::PredictionWindow(const ReflectFlags& flags, GameId game, QWidget* parent)
    : ChildWindow(parent), m_flags(flags), m_game(game)
{
    setWindowTitle(kPredictionCaption);
    setObjectName(QStringLiteral("prediction"));

    auto* body = new QWidget(this);
    body->setFont(uiFont());

    // The four sheets and the options chosen, on one page.
    m_print = new QPushButton(QStringLiteral("印刷"), body);
    m_print->setObjectName(QStringLiteral("Command2"));
    place(m_print, 7200, 60, 855, 375);
    connect(m_print, &QPushButton::clicked, this, &PredictionWindow::print);
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    m_close->setObjectName(QStringLiteral("Cmd閉じる"));
    place(m_close, 8160, 60, 855, 375);
    connect(m_close, &QPushButton::clicked, this, &QMdiSubWindow::close);
    // How the predictions with the options now chosen fared on past draws.
    m_backtest = new QPushButton(QStringLiteral("予想の検証"), body);
    m_backtest->setObjectName(QStringLiteral("Cmd予想の検証"));
    place(m_backtest, 5760, 60, 1335, 375);
    connect(m_backtest, &QPushButton::clicked, this, [this] { emit backtestRequested(m_flags); });
    // A wheel of the numbers the prediction says to combine.
    m_wheel = new QPushButton(QStringLiteral("組合せ作成"), body);
    m_wheel->setObjectName(QStringLiteral("Cmd組合せ作成"));
    place(m_wheel, 4365, 60, 1335, 375);
    connect(m_wheel, &QPushButton::clicked, this, [this] { emit wheelRequested(m_wheelNumbers); });

    auto* options = new QGroupBox(QStringLiteral("データ分析オプション"), body);
    options->setObjectName(QStringLiteral("Frame3"));
    place(options, 120, 480, 3855, 7272);
    QLabel* optionsText = label(options, "Label15", QStringLiteral("各データ分析の分析結果を当選予想へ反映するかを設定します。"));
    optionsText->setWordWrap(true);
    place(optionsText, 120, 240, 3615, 615);
    for (int i = 0; i < kReflectOptionCount; ++i) {
        // Radio buttons that share a parent are exclusive: one pair per frame.
        auto* frame = new QGroupBox(kReflectOptions[std::size_t(i)].caption.toString(), options);
        frame->setObjectName(QStringLiteral("Frame%1").arg(4 + i));
        place(frame, 120, 720 + 540 * i, 3615, 495);
        auto* on = new QRadioButton(QStringLiteral("反映する"), frame);
        on->setObjectName(QStringLiteral("Opt反映する"));
        on->setProperty("index", i);
        place(on, 240, 195, 1320, 285);
        auto* off = new QRadioButton(QStringLiteral("反映しない"), frame);
        off->setObjectName(QStringLiteral("Opt反映しない"));
        off->setProperty("index", i);
        place(off, 1800, 195, 1560, 285);
        off->setChecked(true);
        m_reflect[std::size_t(i)] = on;
        m_keepOut[std::size_t(i)] = off;
    }

    auto* prediction = new QGroupBox(QStringLiteral("当選予想"), body);
    prediction->setObjectName(QStringLiteral("Frame2"));
    place(prediction, 4080, 480, kPredictionFrameWidthTwips, 7272);
    QLabel* predictionText = label(prediction, "Label19",
        QStringLiteral("各データ分析の結果を元に周期法、消去法、連発ミルカノ、一発ミルカノの各手法を用いて当選数字を予想します。"));
    predictionText->setWordWrap(true);
    place(predictionText, 240, 240, 4575, 495);
    for (std::size_t s = 0; s < kSheetPlaces.size(); ++s) {
        const SheetPlace& p = kSheetPlaces[s];
        QLabel* title = label(prediction, p.titleName, QString::fromUtf8(p.title));
        place(title, kSheetLeftTwips, p.titleTop, 4815, kTitleHeightTwips);
        auto* grid = new SheetGrid(prediction);
        grid->setObjectName(QStringLiteral("fpSpread1"));
        grid->setProperty("index", int(s));
        grid->move(twipsToPixels(kSheetLeftTwips), twipsToPixels(p.titleTop + kTitleHeightTwips + 30));
        m_sheets[s] = grid;
        // The grid's menu (コピー, CSVで保存…) with 印刷… printing the whole prediction.
        GridActions::of(grid)->printHandler = [this] { print(); };
    }

    // The empty sheets of the game give the grids their size before load():
    // where they are wider than the prediction frame leaves room for (Loto
    // 7's seven columns), the frame, the buttons over it and the window
    // widen by what is missing.
    PeriodTables empty;
    empty.gameId = m_game;
    PredictionSheets sheets = buildPredictionSheets(empty, {});
    int widest = 0;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        m_sheets[s]->setSheet(std::move(sheets[s]));
        m_sheets[s]->resize(m_sheets[s]->sizeHint());
        widest = std::max(widest, m_sheets[s]->width());
    }
    const int room = twipsToPixels(kPredictionFrameWidthTwips) - 2 * twipsToPixels(kSheetLeftTwips);
    m_extraWidth = std::max(0, widest - room);
    if (m_extraWidth > 0) {
        prediction->resize(prediction->width() + m_extraWidth, prediction->height());
        predictionText->resize(predictionText->width() + m_extraWidth, predictionText->height());
        for (QPushButton* b : {m_print, m_close, m_backtest, m_wheel})
            b->move(b->x() + m_extraWidth, b->y());
    }

    setBody(body);
    fitBodyMinimumToControls();
    resize(openingSize());
}

QSize PredictionWindow::openingSize() const
{
    return {twipsToPixels(kWidthTwips) + m_extraWidth, twipsToPixels(kHeightTwips)};
}

void PredictionWindow::load(const History& history, int latestDrawNo)
{
    BusyPointer busy;
    emit opened();
    move(0, 0);
    resize(openingSize());

    for (int i = 0; i < kReflectOptionCount; ++i) {
        const bool on = m_flags.on[std::size_t(i)];
        (on ? m_reflect : m_keepOut)[std::size_t(i)]->setChecked(true);
        // Connected after the buttons show the flags, so only the user's
        // choice counts as a change.
        connect(m_reflect[std::size_t(i)], &QRadioButton::toggled, this,
                [this, i](bool checked) { optionToggled(i, checked); });
    }

    m_tables = buildPeriodTables(history, m_game);
    m_latestDrawNo = latestDrawNo;
    showPredictions();
}

QStringList PredictionWindow::printLines() const
{
    const QDate today = QDate::currentDate();
    QStringList lines{QStringLiteral("印刷日：%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day()),
                      QStringLiteral("第%1回までの当選データによる予想").arg(m_latestDrawNo)};
    // The options chosen ("反映する"), one to a line under their heading.
    QStringList chosen;
    for (int i = 0; i < kReflectOptionCount; ++i)
        if (m_flags.on[std::size_t(i)])
            chosen << QStringLiteral("　") + kReflectOptions[std::size_t(i)].caption.toString();
    lines << QStringLiteral("予想に反映したデータ分析：%1").arg(chosen.isEmpty() ? QStringLiteral("なし") : QString());
    lines << chosen;
    return lines;
}

void PredictionWindow::printTo(QPagedPaintDevice& device) const
{
    std::vector<TitledSheet> sheets;
    for (std::size_t s = 0; s < kSheetPlaces.size(); ++s)
        sheets.push_back({QString::fromUtf8(kSheetPlaces[s].title), m_sheets[s]->sheet()});
    printOnOnePage(device, {windowTitle(), historySourceText(m_game, m_latestDrawNo)}, printLines(), sheets);
}

void PredictionWindow::print()
{
    showPrintPreview(this, windowTitle(), QPageLayout::Portrait,
                     [this](QPagedPaintDevice& device) { printTo(device); });
}

void PredictionWindow::recompute(const History& history, int latestDrawNo)
{
    BusyPointer busy;
    m_tables = buildPeriodTables(history, m_game);
    m_latestDrawNo = latestDrawNo;
    showPredictions();
}

void PredictionWindow::optionToggled(int option, bool on)
{
    if (m_flags.on[std::size_t(option)] == on)
        return;
    m_flags.on[std::size_t(option)] = on;
    emit flagsChanged(m_flags);
    showPredictions();
}

void PredictionWindow::showPredictions()
{
    // Every sheet is built anew, so no number of an earlier offset remains.
    const Predictions predictions = predict(m_tables, m_latestDrawNo, m_flags);
    m_wheelNumbers = predictions.multiple;
    std::sort(m_wheelNumbers.begin(), m_wheelNumbers.end());
    PredictionSheets sheets = buildPredictionSheets(m_tables, predictions);
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        SheetGrid* grid = m_sheets[s];
        grid->setSheet(std::move(sheets[s]));
        grid->resize(grid->sizeHint());
    }
}

}  // namespace mirkano
