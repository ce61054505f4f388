#include "gui/maintenance/prize_window.h"

#include "gui/maintenance/prize_form.h"
#include "gui/sheet/grid_units.h"
#include "gui/shell/busy_pointer.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirkano {

namespace {

const QString kDescription = QStringLiteral(
    "抽せん回ごとの賞金データ（等級ごとの口数と1口あたりの賞金、キャリーオーバー、販売実績額）を確認し、直します。"
    "空欄は「不明」として保存します。");

// The name of a field without its class: 口数 of 1等口数.
QString fieldLabel(const QString& name)
{
    if (name == QStringLiteral("キャリーオーバー") || name == QStringLiteral("販売実績額"))
        return name + QStringLiteral("（円）");
    return name;
}

// Said of a stored value equal to kSuspectYen, and asked before one is stored.
const QString kSuspectNote = QStringLiteral(
    "が2,147,483,647円です。これは32ビットの上限で、元の資料で値が切れている疑いがあります。");

}  // namespace

const QString PrizeDataWindow::kCaption = QStringLiteral("賞金データ");
const QString PrizeDataWindow::kDropOnChange =
    QStringLiteral("第%1回の賞金データの入力は保存されていません。入力を捨てて第%2回を表示しますか？");
const QString PrizeDataWindow::kDropOnClose =
    QStringLiteral("第%1回の賞金データの入力は保存されていません。入力を捨てて閉じますか？");
const QString PrizeDataWindow::kDropOnExit =
    QStringLiteral("第%1回の賞金データの入力は保存されていません。入力を捨ててミルカノを終了しますか？");

PrizeDataWindow::PrizeDataWindow(AskFn ask, QString messageTitle, QWidget* parent)
    : ChildWindow(parent), m_ask(std::move(ask)), m_messageTitle(std::move(messageTitle))
{
    setWindowTitle(kCaption);
    setObjectName(QStringLiteral("PrizeData"));
}

PrizeDataWindow::~PrizeDataWindow() = default;

void PrizeDataWindow::load(const QString& historyPath)
{
    BusyPointer busy;
    m_editor = std::make_unique<HistoryEditor>(historyPath);
    m_game = m_editor->game();
    m_prizes = m_editor->prizes();
    const History rows = m_editor->rows();
    const Game& g = game(m_game);

    auto* body = new QWidget;
    body->setFont(uiFont());
    auto* layout = new QVBoxLayout(body);
    auto* description = new QLabel(kDescription, body);
    description->setWordWrap(true);
    layout->addWidget(description);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("回数"), body));
    m_draws = new QComboBox(body);
    m_draws->setObjectName(QStringLiteral("cboKaisu"));
    for (const DrawRecord& r : rows)
        if (r.drawNo > 0)
            m_draws->addItem(QStringLiteral("第%1回").arg(r.drawNo), r.drawNo);
    top->addWidget(m_draws);
    top->addStretch();
    layout->addLayout(top);

    // One line per class (口数, 賞金), then the carry-over and the sales.
    const std::vector<QString> names = prizeFieldNames(m_game);
    const int classes = g.prizeClassCount();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("等級"), body), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("口数"), body), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("1口あたりの賞金（円）"), body), 0, 2, Qt::AlignHCenter);
    m_fields.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* edit = new QLineEdit(body);
        edit->setObjectName(names[i]);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("9,999,999,999,999")) + 12);
        edit->setToolTip(names[i] + QStringLiteral("（空欄は不明）"));
        connect(edit, &QLineEdit::textEdited, this, [this] { m_status->clear(); });
        // A value read as typed is shown grouped by three on leaving the field.
        connect(edit, &QLineEdit::editingFinished, this, [edit, name = names[i]] {
            const PrizeValueReading v = readPrizeValue(name, edit->text());
            if (v.error.isEmpty() && edit->text() != prizeValueText(v.value))
                edit->setText(prizeValueText(v.value));
        });
        m_fields.push_back(edit);
    }
    for (int c = 0; c < classes; ++c) {
        grid->addWidget(new QLabel(QStringLiteral("%1等").arg(c + 1), body), c + 1, 0);
        grid->addWidget(m_fields[std::size_t(c)], c + 1, 1);
        grid->addWidget(m_fields[std::size_t(classes + c)], c + 1, 2);
    }
    int line = classes + 1;
    for (std::size_t i = std::size_t(2 * classes); i < names.size(); ++i, ++line) {
        grid->addWidget(new QLabel(fieldLabel(names[i]), body), line, 0, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(m_fields[i], line, 2);
    }
    layout->addLayout(grid);

    m_status = new QLabel(body);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("保存"), body);
    m_save->setObjectName(QStringLiteral("cmdSave"));
    m_close = new QPushButton(QStringLiteral("閉じる"), body);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    layout->addStretch();
    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    connect(m_close, &QPushButton::clicked, this, [this] { close(); });
    setBody(body);

    // A history without draws has nothing to hold prize data.
    const bool any = m_draws->count() > 0;
    for (QLineEdit* e : m_fields)
        e->setEnabled(any);
    m_save->setEnabled(any);
    if (any) {
        m_draws->setCurrentIndex(m_draws->count() - 1);
        fill(m_draws->currentData().toInt());
    } else {
        m_status->setText(QStringLiteral("履歴に当選データがないため、賞金データは入力できません。"));
    }
    connect(m_draws, &QComboBox::currentIndexChanged, this, &PrizeDataWindow::pickerChanged);

    emit opened();
    move(0, 0);
    resize(body->sizeHint() + QSize(24, 48));
}

int PrizeDataWindow::drawNo() const { return m_shown; }

bool PrizeDataWindow::modified() const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->text() != m_shownTexts.value(qsizetype(i)))
            return true;
    return false;
}

void PrizeDataWindow::fill(int drawNo)
{
    m_filling = true;
    const DrawPrizes* stored = findPrizes(m_prizes, drawNo);
    const std::vector<std::optional<Yen>> values = prizeFields(stored ? *stored : DrawPrizes{}, m_game);
    const std::vector<QString> names = prizeFieldNames(m_game);
    QStringList suspect;
    m_shownTexts.clear();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->setText(prizeValueText(values[i]));
        m_shownTexts << m_fields[i]->text();
        if (values[i] == kSuspectYen)
            suspect << QStringLiteral("「%1」").arg(names[i]);
    }
    m_shown = drawNo;
    m_filling = false;
    if (!stored)
        m_status->setText(QStringLiteral("第%1回の賞金データはありません（すべて不明）。").arg(drawNo));
    else if (!suspect.isEmpty())
        m_status->setText(suspect.join(QString()) + kSuspectNote);
    else
        m_status->clear();
}

void PrizeDataWindow::pickerChanged(int index)
{
    if (m_filling || index < 0)
        return;
    const int wanted = m_draws->itemData(index).toInt();
    if (wanted == m_shown)
        return;
    if (modified()
        && ask(QMessageBox::Warning, m_messageTitle, kDropOnChange.arg(m_shown).arg(wanted),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes) {
        // The picker goes back to the draw whose input is on screen.
        m_filling = true;
        m_draws->setCurrentIndex(m_draws->findData(m_shown));
        m_filling = false;
        return;
    }
    fill(wanted);
}

bool PrizeDataWindow::showDraw(int drawNo)
{
    const int index = m_draws ? m_draws->findData(drawNo) : -1;
    if (index < 0)
        return false;
    m_draws->setCurrentIndex(index);
    return m_shown == drawNo;
}

bool PrizeDataWindow::save()
{
    if (!m_editor || m_shown == 0)
        return false;
    const QString file = QDir::toNativeSeparators(QFileInfo(m_editor->path()).absoluteFilePath());
    const QString unchanged = QStringLiteral("\n履歴ファイル「%1」は変わっていません。").arg(file);
    QStringList texts;
    for (QLineEdit* e : m_fields)
        texts << e->text();
    const PrizeFormReading form = readPrizeForm(m_shown, texts, m_game);
    if (!form.error.isEmpty()) {
        ask(QMessageBox::Critical, m_messageTitle,
            QStringLiteral("第%1回の賞金データを保存できません。\n").arg(m_shown) + form.error + unchanged,
            QMessageBox::Ok, QMessageBox::Ok);
        if (form.errorField >= 0) {
            m_fields[std::size_t(form.errorField)]->setFocus();
            m_fields[std::size_t(form.errorField)]->selectAll();
        }
        return false;
    }
    if (!form.suspect.isEmpty()) {
        const QString text = QStringLiteral("「") + form.suspect.join(QStringLiteral("」「")) + QStringLiteral("」")
                             + kSuspectNote + QStringLiteral("このまま保存しますか？");
        if (ask(QMessageBox::Warning, m_messageTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
            return false;
    }
    try {
        BusyPointer busy;
        m_editor->setPrizes(form.prizes);
        m_prizes = m_editor->prizes();
    } catch (const Error& e) {
        ask(QMessageBox::Critical, m_messageTitle, e.message() + unchanged, QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    fill(m_shown);
    // What fill() says of the stored values stays below.
    const QString note = m_status->text();
    m_status->setText(QStringLiteral("第%1回の賞金データを保存しました。").arg(m_shown)
                      + (note.isEmpty() ? QString() : u'\n' + note));
    return true;
}

bool PrizeDataWindow::confirmDroppingInput(bool exiting)
{
    if (m_dropConfirmed || !modified())
        return true;
    const QString question = (exiting ? kDropOnExit : kDropOnClose).arg(m_shown);
    if (ask(QMessageBox::Warning, m_messageTitle, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_dropConfirmed = true;
    return true;
}

void PrizeDataWindow::closeEvent(QCloseEvent* e)
{
    if (!confirmDroppingInput(false)) {
        e->ignore();
        return;
    }
    ChildWindow::closeEvent(e);
}

void PrizeDataWindow::unload()
{
    // Release the file now, not when the window is deleted later.
    m_editor.reset();
}

QMessageBox::StandardButton PrizeDataWindow::ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def)
{
    return m_ask ? m_ask(icon, title, text, buttons, def) : showMessageBox(this, icon, title, text, buttons, def);
}

}  // namespace mirkano
