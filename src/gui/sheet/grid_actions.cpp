#include "gui/sheet/grid_actions.h"

#include "core/error.h"
#include "core/history/history_store.h"
#include "core/sheet/sheet_text.h"
#include "gui/maintenance/ask.h"
#include "gui/shell/child_window.h"
#include "gui/shell/csv_file.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/sheet/sheet_print.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <stdexcept>
#include <utility>

namespace mirkano {

namespace {

const QColor kSelectionColor(51, 153, 255, 70);

// Paints the selection over the cells in view; never takes the mouse.
class SelectionLayer : public QWidget {
public:
    SelectionLayer(SheetGrid* grid, const GridActions* actions)
        : QWidget(grid->viewport()), m_grid(grid), m_actions(actions)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const auto sel = m_actions->selection();
        if (!sel)
            return;
        // The columns and rows in view, found from the grid's own geometry so
        // that frozen panes and scrolling are taken as the grid has them.
        std::vector<int> cols, rows;
        for (int x = 0; x < width();) {
            const QPoint c = m_grid->cellAt({x, 0});
            if (c.isNull())
                break;
            cols.push_back(c.x());
            x += std::max(1, m_grid->columnPixels(c.x()));
        }
        for (int y = 0; y < height();) {
            const QPoint c = m_grid->cellAt({0, y});
            if (c.isNull())
                break;
            rows.push_back(c.y());
            y += std::max(1, m_grid->rowPixels(c.y()));
        }
        QPainter p(this);
        for (int r : rows)
            for (int c : cols)
                if (c >= sel->col1 && c <= sel->col2 && r >= sel->row1 && r <= sel->row2)
                    p.fillRect(m_grid->cellRect(c, r), kSelectionColor);
    }

private:
    SheetGrid* m_grid;
    const GridActions* m_actions;
};

}  // namespace

GridActions::GridActions(SheetGrid* grid) : QObject(grid), m_grid(grid), m_viewport(grid->viewport())
{
    setObjectName(QStringLiteral("gridActions"));
    m_layer = new SelectionLayer(grid, this);
    m_layer->setGeometry(grid->viewport()->rect());
    m_layer->show();

    m_copy = new QAction(QStringLiteral("コピー"), grid);
    m_copy->setObjectName(QStringLiteral("gridCopy"));
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_copy, &QAction::triggered, this, &GridActions::copy);
    grid->addAction(m_copy);

    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    connect(grid, &SheetGrid::activeCellChanged, this, &GridActions::onActiveCellChanged);
    m_anchorCol = grid->activeColumn();
    m_anchorRow = grid->activeRow();

    chooseCsvFile = [this](const QString& suggested) {
        return chooseCsvSaveFile(m_grid, QStringLiteral("CSVで保存"), suggested);
    };
    showError = [this](const QString& text) {
        showMessageBox(m_grid, QMessageBox::Critical, kMessageTitle, text, QMessageBox::Ok, QMessageBox::Ok);
    };
    askYesNo = [this](const QString& text) {
        return showMessageBox(m_grid, QMessageBox::Question, kMessageTitle, text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
    };
    showNote = [this](const QString& text) {
        showMessageBox(m_grid, QMessageBox::Information, kMessageTitle, text, QMessageBox::Ok, QMessageBox::Ok);
    };
}

GridActions* GridActions::of(const SheetGrid* grid)
{
    return grid ? grid->findChild<GridActions*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void GridActions::setSelection(std::optional<Block> block)
{
    if (block) {
        const Block b = *block;
        block = Block{std::min(b.col1, b.col2), std::min(b.row1, b.row2), std::max(b.col1, b.col2),
                      std::max(b.row1, b.row2)};
    }
    m_selection = block;
    m_layer->update();
}

void GridActions::onActiveCellChanged(int col, int row)
{
    // Shift or a drag extends the selection for this one move only.
    const bool extending = std::exchange(m_extending, false);
    if (extending && m_anchorCol > 0 && m_anchorRow > 0 && (col != m_anchorCol || row != m_anchorRow)) {
        setSelection(Block{m_anchorCol, m_anchorRow, col, row});
        return;
    }
    m_anchorCol = col;
    m_anchorRow = row;
    if (m_selection)
        setSelection(std::nullopt);
}

QString GridActions::copyText() const
{
    return m_selection ? sheetToTsv(m_grid->sheet(), *m_selection) : sheetToTsv(m_grid->sheet());
}

void GridActions::copy()
{
    QGuiApplication::clipboard()->setText(copyText());
}

QString GridActions::caption() const
{
    for (QWidget* w = m_grid->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w) || w->isWindow())
            return w->windowTitle();
    return m_grid->windowTitle();
}

PageHeader GridActions::pageHeader() const
{
    for (QWidget* w = m_grid->parentWidget(); w; w = w->parentWidget())
        if (auto* child = qobject_cast<ChildWindow*>(w))
            return {caption(), child->printSource()};
    return {caption(), QString()};
}

void GridActions::writeCsv(const QString& path) const
{
    writeCsvFile(path, sheetToCsv(m_grid->sheet()));
}

bool GridActions::saveCsv()
{
    QString name = caption().isEmpty() ? QStringLiteral("sheet") : caption();
    name.replace(u'/', u'_');
    const QString path = chooseCsvFile(suggestedCsvPath(name + QStringLiteral(".csv")));
    if (path.isEmpty())
        return false;
    // Never over the history or any other history file; an existing CSV only
    // after a question.
    if (!mayWriteCsv(path, defaultHistoryPath(), showError, askYesNo))
        return false;
    try {
        writeCsv(path);
    } catch (const Error& e) {
        showError(e.message());
        return false;
    }
    showNote(csvWrittenText(path));
    return true;
}

void showPrintPreview(QWidget* parent, const QString& docName, QPageLayout::Orientation orientation,
                      const std::function<void(QPagedPaintDevice&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(docName);
    printer.setPageOrientation(orientation);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) { paint(*p); });
    dialog.exec();
}

void GridActions::print()
{
    if (printHandler) {
        printHandler();
        return;
    }
    const Sheet sheet = m_grid->sheet();
    const PageHeader header = pageHeader();
    showPrintPreview(m_grid, header.caption, preferredOrientation(sheet),
                     [&](QPagedPaintDevice& device) { printSheet(device, sheet, header); });
}

QMenu* GridActions::buildMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setFont(uiFont());
    menu->addAction(m_copy);
    // The newest draw is the last row of data; one click brings it into view.
    QAction* latest = menu->addAction(QStringLiteral("最新の回へ"), m_grid, &SheetGrid::goToLatest);
    latest->setObjectName(QStringLiteral("gridLatest"));
    latest->setEnabled(m_grid->lastDataRow() > 0);
    QAction* csv = menu->addAction(QStringLiteral("CSVで保存…"), this, [this] { saveCsv(); });
    csv->setObjectName(QStringLiteral("gridSaveCsv"));
    menu->addSeparator();
    QAction* printAction = menu->addAction(QStringLiteral("印刷…"), this, [this] { print(); });
    printAction->setObjectName(QStringLiteral("gridPrint"));
    return menu;
}

bool GridActions::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_viewport) {
        switch (e->type()) {
        case QEvent::Resize:
            m_layer->setGeometry(m_viewport->rect());
            break;
        case QEvent::ContextMenu: {
            auto* ce = static_cast<QContextMenuEvent*>(e);
            QMenu* menu = buildMenu(m_grid);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(ce->globalPos());
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(e);
            m_dragging = me->button() == Qt::LeftButton;
            // Shift+click extends from the active cell; a right click keeps
            // the selection for the context menu.
            m_extending = (me->modifiers() & Qt::ShiftModifier) != 0;
            if (me->button() == Qt::RightButton)
                return true;
            break;
        }
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (m_dragging && (me->buttons() & Qt::LeftButton)) {
                const QPoint cell = m_grid->cellAt(me->position().toPoint());
                if (!cell.isNull()) {
                    m_extending = true;
                    m_grid->setActiveCell(cell.x(), cell.y());
                    m_extending = false;
                }
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            m_extending = false;
            break;
        default:
            break;
        }
    } else if (watched == m_grid && e->type() == QEvent::KeyRelease) {
        m_extending = false;
    } else if (watched == m_grid && e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        m_extending = (ke->modifiers() & Qt::ShiftModifier) != 0;
        if (ke->key() == Qt::Key_Escape && m_selection) {
            setSelection(std::nullopt);
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace mirkano
