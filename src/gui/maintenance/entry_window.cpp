#include "gui/maintenance/entry_window.h"

#include "gui/shell/busy_pointer.h"
#include "gui/sheet/grid_units.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace mirkano {

namespace {

constexpr int kWidthTwips = 7180;
constexpr int kHeightTwips = 13450;
constexpr int kGridLeftTwips = 120;
constexpr int kGridTopTwips = 600;
constexpr int kVisibleRows = 50;
constexpr double kRowHeight = 10;
constexpr double kDrawNoWidth = 5;
constexpr double kNumberWidth = 7;
// The number columns the set width was made for (Loto 6's six and the bonus);
// a game with more or fewer numbers widens or narrows the window by theirs.
constexpr int kSetNumberColumns = 7;

const QString kCaption = QStringLiteral("当選データ入力");
const QString kDescription = QStringLiteral("当選数字を開催回数毎に入力します。ここのデータが分析対象になります");

// The rows with the grid's colours and alignment: 回数 in blue, the numbers
// centred, the bonus numbers red on light cyan; a wrong number black on red
// (its tool tip, from the model, names the rule).
class EntryGridModel : public HistoryTableModel {
public:
    using HistoryTableModel::HistoryTableModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int col = index.column();
        const bool bonus = col >= firstBonusColumn();
        const bool wrong = (role == Qt::ForegroundRole || role == Qt::BackgroundRole)
                           && problemAt(index) != NumberProblem::None;
        switch (role) {
        case Qt::ForegroundRole:
            if (wrong)
                return QColor(0, 0, 0);
            if (col == kDrawNoColumn)
                return QColor(0, 0, 255);
            if (bonus)
                return QColor(255, 0, 0);
            return {};
        case Qt::BackgroundRole:
            if (wrong)
                return WinningDataEntryWindow::kWrongCellColor;
            return bonus ? QVariant(QColor(197, 255, 255)) : QVariant();
        case Qt::TextAlignmentRole:
            return col == kDrawNoColumn ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignCenter);
        default:
            return HistoryTableModel::data(index, role);
        }
    }
};

}  // namespace

const QString WinningDataEntryWindow::kAddLineQuestion =
    QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？");
const QString WinningDataEntryWindow::kDeleteLineQuestion = QStringLiteral("選択された行を削除します。よろしいですか？");
const QString WinningDataEntryWindow::kWrongNumber = QStringLiteral("結果マスタの数字に誤りがあります。");
const QString WinningDataEntryWindow::kWrongNumberMeaning =
    QStringLiteral("（結果マスタは、この画面の当選数字の表です。赤い欄の数字は保存されていません）");
const QColor WinningDataEntryWindow::kWrongCellColor = QColor(255, 120, 120);
const QString WinningDataEntryWindow::kMissingDrawNo =
    QStringLiteral("回数が入力されていない行があります。回数を入力するか、行を削除してください。");
const QString WinningDataEntryWindow::kDropOnClose =
    QStringLiteral("この入力は保存されていません。入力を捨てて閉じますか？");
const QString WinningDataEntryWindow::kDropOnExit =
    QStringLiteral("この入力は保存されていません。入力を捨ててミルカノを終了しますか？");

void EntryGrid::commitEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QModelIndex EntryGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (current.isValid() && next.isValid()
        && ((action == MoveNext && next.row() < current.row())
            || (action == MovePrevious && next.row() > current.row())))
        return current;
    return next;
}

QSize EntryGrid::sizeHint() const
{
    // Every column and the visible rows, with the vertical scroll bar.
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        width += horizontalHeader()->sectionSize(c);
    const int height =
        2 * frameWidth() + horizontalHeader()->sizeHint().height() + kVisibleRows * verticalHeader()->defaultSectionSize();
    return {width, height};
}

WinningDataEntryWindow::WinningDataEntryWindow(AskFn ask, QString messageTitle, QWidget* parent)
    : ChildWindow(parent), m_ask(std::move(ask)), m_messageTitle(std::move(messageTitle))
{
    setWindowTitle(kCaption);
    setObjectName(QStringLiteral("WinningDataEntry"));

    m_body = new QWidget(this);
    m_body->setFont(uiFont());
    m_description = new QLabel(kDescription, m_body);
    m_description->setObjectName(QStringLiteral("Label1"));
    m_description->setWordWrap(true);
    m_close = new QPushButton(QStringLiteral("閉じる"), m_body);
    m_close->setObjectName(QStringLiteral("Command1"));
    m_close->setFixedSize(64, 24);
    connect(m_close, &QPushButton::clicked, this, &WinningDataEntryWindow::checkAndClose);

    m_grid = new EntryGrid(m_body);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    m_grid->setFont(sheetFont());
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(GridUnits::rowPixels(kRowHeight));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setShowGrid(true);
    m_grid->setGridStyle(Qt::SolidLine);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &WinningDataEntryWindow::showRowMenu);

    // The window's menu; the main window shows it in place of its own while
    // this window is the active child. The shortcuts act while the focus is in
    // this window.
    m_editMenu = new QMenu(QStringLiteral("編集(&E)"), this);
    m_editMenu->setObjectName(QStringLiteral("mnuEdit"));
    m_editMenu->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    m_editMenu->setFont(uiFont());
    m_addLine = m_editMenu->addAction(QStringLiteral("行追加"), this, &WinningDataEntryWindow::addLine);
    m_addLine->setObjectName(QStringLiteral("mnuAddLine"));
    m_addLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    m_deleteLine = m_editMenu->addAction(QStringLiteral("行削除"), this, &WinningDataEntryWindow::deleteLine);
    m_deleteLine->setObjectName(QStringLiteral("mnuDelLine"));
    m_deleteLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    for (QAction* a : {m_addLine, m_deleteLine}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_body->addAction(a);
    }

    setWidget(m_body);
    m_body->installEventFilter(this);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

WinningDataEntryWindow::~WinningDataEntryWindow()
{
    // The model reads through the editor: it goes first.
    m_grid->setModel(nullptr);
    delete m_model;
}

void WinningDataEntryWindow::load(const QString& historyPath)
{
    BusyPointer busy;
    m_editor = std::make_unique<HistoryEditor>(historyPath);
    m_model = new EntryGridModel(*m_editor, this);
    // Refusals are shown once the edit that caused them has finished.
    connect(m_model, &HistoryTableModel::refused, this,
            [this](const QString& message) {
                ask(QMessageBox::Critical, m_messageTitle, message, QMessageBox::Ok, QMessageBox::Ok);
            },
            Qt::QueuedConnection);
    m_grid->setModel(m_model);
    const GridUnits units(sheetFont());
    // Each column at least as wide as its whole title.
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnWidth(c, std::max(units.columnPixels(c == HistoryTableModel::kDrawNoColumn ? kDrawNoWidth
                                                                                                    : kNumberWidth),
                                           m_grid->horizontalHeader()->sectionSizeHint(c)));
    emit opened();
    move(0, 0);
    // The set width holds Loto 6's columns; another game's columns widen or
    // narrow it by as many number columns.
    const int extraColumns = m_model->columnCount() - 1 - kSetNumberColumns;
    resize(twipsToPixels(kWidthTwips) + extraColumns * m_grid->columnWidth(1), twipsToPixels(kHeightTwips));
    placeGrid();
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 1));
}

void WinningDataEntryWindow::placeGrid()
{
    // Description and "閉じる" on one line above the grid, whose corner sits
    // at (120, 600) twips; the grid keeps its own size, cut to the room there is.
    const int left = twipsToPixels(kGridLeftTwips);
    const int bodyW = m_body->width(), bodyH = m_body->height();
    const int width = std::max(0, bodyW - 2 * left);
    const int buttonX = std::max(left, left + width - m_close->width());
    const int textW = std::max(0, buttonX - left - 6);
    const int textH = std::max(m_close->height(), m_description->heightForWidth(textW));
    m_description->setGeometry(left, 6, textW, textH);
    m_close->move(buttonX, 6);
    const int top = std::max(twipsToPixels(kGridTopTwips), textH + 12);
    const QSize room(std::max(0, bodyW - left), std::max(0, bodyH - top));
    const QSize size = m_grid->sizeHint().boundedTo(room);
    m_grid->setGeometry(left, top, size.width(), size.height());
    // Columns wide enough for their titles may need more than the window's
    // width: it grows so that no column is cut off at the right.
    // (After this resize has run its course, not within it.)
    if (m_grid->sizeHint().width() > room.width() && m_model)
        QTimer::singleShot(0, this, [this] {
            const int missing = m_grid->sizeHint().width() + twipsToPixels(kGridLeftTwips) - m_body->width();
            if (missing > 0 && isVisible() && !isMaximized() && !isMinimized())
                resize(QMdiSubWindow::width() + missing, QMdiSubWindow::height());
        });
}

bool WinningDataEntryWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_body && e->type() == QEvent::Resize)
        placeGrid();
    return QMdiSubWindow::eventFilter(watched, e);
}

QMessageBox::StandardButton WinningDataEntryWindow::ask(QMessageBox::Icon icon, const QString& title,
                                                        const QString& text, QMessageBox::StandardButtons buttons,
                                                        QMessageBox::StandardButton def)
{
    return m_ask ? m_ask(icon, title, text, buttons, def) : showMessageBox(this, icon, title, text, buttons, def);
}

void WinningDataEntryWindow::addLine()
{
    if (!m_model)
        return;
    m_grid->commitEditing();
    if (ask(QMessageBox::Warning, m_messageTitle, kAddLineQuestion, QMessageBox::Yes | QMessageBox::No,
            QMessageBox::No) == QMessageBox::No)
        return;
    const QModelIndex current = m_grid->currentIndex();
    const int column = current.isValid() ? current.column() : 1;
    const int row = m_model->insertEmptyRowAfter(current.isValid() ? current.row() : m_model->rowCount() - 1);
    const QModelIndex target = m_model->index(row, column);
    m_grid->setCurrentIndex(target);
    m_grid->scrollTo(target);
}

void WinningDataEntryWindow::deleteLine()
{
    if (!m_model)
        return;
    m_grid->commitEditing();
    // Only the active row, whatever else is selected; the question names it.
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    if (ask(QMessageBox::Warning, m_messageTitle, kDeleteLineQuestion + u'\n' + m_model->rowName(current.row()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::No)
        return;
    const int column = current.column();
    if (!m_model->removeRowAt(current.row()))
        return;
    const int row = std::min(current.row(), m_model->rowCount() - 1);
    if (row >= 0)
        m_grid->setCurrentIndex(m_model->index(row, column));
}

std::optional<WinningDataEntryWindow::UnstoredInput> WinningDataEntryWindow::firstUnstoredInput()
{
    if (!m_model)
        return std::nullopt;
    m_grid->commitEditing();
    if (const std::optional<QModelIndex> wrong = m_model->firstWrongNumber()) {
        // The first line says that something is wrong, the second what the
        // table it names is, the third where and why.
        const QString where =
            m_model->placeOf(*wrong) + QStringLiteral(": ") + numberProblemText(m_model->problemAt(*wrong), m_model->game());
        return UnstoredInput{*wrong, kWrongNumber + u'\n' + kWrongNumberMeaning + u'\n' + where};
    }
    // A row with numbers but no 回数 is not stored.
    if (const std::optional<QModelIndex> missing = m_model->firstRowWithoutDrawNo())
        return UnstoredInput{*missing, kMissingDrawNo};
    return std::nullopt;
}

bool WinningDataEntryWindow::checkAndClose()
{
    if (const std::optional<UnstoredInput> input = firstUnstoredInput()) {
        ask(QMessageBox::Critical, kMessageTitle, input->why, QMessageBox::Ok, QMessageBox::Ok);
        m_grid->setCurrentIndex(input->at);
        m_grid->scrollTo(input->at);
        return false;
    }
    return close();
}

bool WinningDataEntryWindow::confirmDroppingInput(bool exiting)
{
    if (m_dropConfirmed)
        return true;
    const std::optional<UnstoredInput> input = firstUnstoredInput();
    if (!input)
        return true;
    const QString question = input->why + QStringLiteral("\n\n") + (exiting ? kDropOnExit : kDropOnClose);
    if (ask(QMessageBox::Warning, kMessageTitle, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes) {
        m_grid->setCurrentIndex(input->at);
        m_grid->scrollTo(input->at);
        m_grid->setFocus();
        return false;
    }
    m_dropConfirmed = true;
    return true;
}

void WinningDataEntryWindow::closeEvent(QCloseEvent* e)
{
    if (!confirmDroppingInput(false)) {
        e->ignore();
        return;
    }
    ChildWindow::closeEvent(e);
}

void WinningDataEntryWindow::showRowMenu(const QPoint& pos)
{
    // The row labels are hidden, so a right click on a row's cells offers the
    // row commands, when the selection spans that one row.
    const QModelIndex at = m_grid->indexAt(pos);
    if (!at.isValid())
        return;
    if (!m_grid->selectionModel()->isSelected(at))
        m_grid->setCurrentIndex(at);
    else
        m_grid->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    int first = at.row(), last = at.row();
    for (const QItemSelectionRange& range : m_grid->selectionModel()->selection()) {
        first = std::min(first, range.top());
        last = std::max(last, range.bottom());
    }
    if (first != last)
        return;
    m_editMenu->popup(m_grid->viewport()->mapToGlobal(pos));
}

void WinningDataEntryWindow::unload()
{
    m_grid->commitEditing();
    // Release the file now, not when the window is deleted later.
    m_grid->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
    m_editor.reset();
}

}  // namespace mirkano
