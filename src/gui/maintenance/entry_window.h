#pragma once
// The winning-data entry window 当選データ入力: every stored draw as one row
// of an editable grid bound to the history file itself (see
// core/maintenance/entry_model.h for how edits are stored), the menu
// 編集(&E) with 行追加 and 行削除, and "閉じる", which closes only when no
// number cell holds a wrong value. A wrong number is marked red as soon as it
// is typed, its tool tip naming the rule it breaks; every column is at least
// as wide as its title. The columns are those of the history file's game
// (HistoryEditor::game()), and the window is as much wider or narrower than
// its set width as that game has more or fewer numbers than Loto 6.
//
// load() reports `opened` (the main window clears its end flag); every way
// of closing reports `unloaded` once and releases the file.

#include "core/maintenance/entry_model.h"
#include "gui/maintenance/ask.h"

#include "gui/shell/child_window.h"
#include <QColor>
#include <QTableView>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace mirkano {

// The grid: a table view whose open editor can be committed on demand.
class EntryGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    // Writes the text of an open cell editor into the model and closes it.
    void commitEditing();
    QSize sizeHint() const override;

protected:
    // Tab past the last cell stays there instead of wrapping to the first
    // row, so the row just typed stays in view (Shift+Tab alike at the top).
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

class WinningDataEntryWindow : public ChildWindow {
    Q_OBJECT
public:
    // Texts of the window's questions and of the check on closing.
    static const QString kAddLineQuestion;
    static const QString kDeleteLineQuestion;
    static const QString kWrongNumber;
    // The line under kWrongNumber that says what 結果マスタ is.
    static const QString kWrongNumberMeaning;
    static const QString kMissingDrawNo;
    static const QString kDropOnClose;
    static const QString kDropOnExit;
    // The background of a number cell that breaks a rule.
    static const QColor kWrongCellColor;

    // messageTitle: the title of boxes that have none of their own.
    explicit WinningDataEntryWindow(AskFn ask, QString messageTitle, QWidget* parent = nullptr);
    ~WinningDataEntryWindow() override;

    // Busy pointer, `opened`, placed at the top-left of the frame's client area
    // with its size, the history file opened for editing and its rows shown,
    // pointer back. Throws HistoryError when the file cannot be edited.
    void load(const QString& historyPath);

    EntryGrid* grid() const { return m_grid; }
    HistoryTableModel* model() const { return m_model; }
    QLabel* description() const { return m_description; }
    QPushButton* closeButton() const { return m_close; }
    QMenu* editMenu() const { return m_editMenu; }
    QAction* addLineAction() const { return m_addLine; }
    QAction* deleteLineAction() const { return m_deleteLine; }

    // 行追加 and 行削除, each after its question.
    void addLine();
    void deleteLine();
    // "閉じる": the number check; the window closes only when it passes.
    bool checkAndClose();
    // Any other way of closing (title bar, Ctrl+F4, the program's exit): when
    // input on screen is not in the file (a wrong number, a row without 回数),
    // asks whether to drop it, default No, and goes to it on No. True when
    // nothing would be lost or the player chose to drop it; asked once.
    bool confirmDroppingInput(bool exiting);

protected:
    void unload() override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The first cell whose input is not stored and the lines that say why.
    struct UnstoredInput {
        QModelIndex at;
        QString why;
    };
    std::optional<UnstoredInput> firstUnstoredInput();
    void placeGrid();
    void showRowMenu(const QPoint& pos);
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def);

    AskFn m_ask;
    QString m_messageTitle;
    QWidget* m_body = nullptr;
    QLabel* m_description = nullptr;
    QPushButton* m_close = nullptr;
    EntryGrid* m_grid = nullptr;
    QMenu* m_editMenu = nullptr;
    QAction* m_addLine = nullptr;
    QAction* m_deleteLine = nullptr;
    std::unique_ptr<HistoryEditor> m_editor;
    HistoryTableModel* m_model = nullptr;
    bool m_dropConfirmed = false;
};

}  // namespace mirkano
