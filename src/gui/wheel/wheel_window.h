#pragma once
// The window 組合せ作成: the chosen numbers (a checkable grid of the game's
// numbers, or typed), key numbers every ticket holds, the guarantee and the
// time budget; 作成 builds the wheel on a worker thread with a progress bar
// and 中止. The result: the tickets in a grid, count, cost and the lower
// bound, the exact chances of the set beside as many random tickets, and on
// 当選確認 the whole set against the history. 印刷, CSV保存… and コピー take
// the tickets. A wheel is shown only after its guarantee has been checked.
//
// Like the other windows it reports `opened` when it loads and `unloaded`
// once, however it is closed; closing it cancels a build and waits for it.

#include "core/history/history.h"
#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_report.h"
#include "gui/shell/child_window.h"

#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class QTimer;
class QToolButton;

namespace mirkano {

class SheetGrid;

class WheelWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit WheelWindow(GameId game = GameId::Loto6, QWidget* parent = nullptr);
    ~WheelWindow() override;

    GameId gameId() const { return m_game; }
    // `opened`, the history kept for 当選確認.
    void load(const History& history);
    void setHistory(const History& history) { m_history = history; }
    // The chosen numbers (e.g. the prediction's), shown in the grid and the text.
    void setNumbers(const std::vector<int>& numbers);

    // "作成": checks the input (a refusal says why) and starts the build;
    // false when refused or already building.
    bool build();
    // "中止".
    void cancel();
    bool isBuilding() const { return m_worker != nullptr; }
    // Waits for a running build to end and shows its result (for tests).
    void waitForBuild();

    const std::optional<Wheel>& wheel() const { return m_wheel; }
    // "当選確認": the shown wheel against the history.
    void checkHistory();

    void printTo(QPagedPaintDevice& device) const;
    void print();
    QStringList printLines() const;

    QLineEdit* numbersEdit() const { return m_numbers; }
    QLineEdit* keysEdit() const { return m_keys; }
    QComboBox* guaranteeBox() const { return m_guarantee; }
    QSpinBox* secondsBox() const { return m_seconds; }
    QToolButton* numberButton(int n) const { return m_numberButtons[std::size_t(n - 1)]; }
    QPushButton* buildButton() const { return m_build; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* checkButton() const { return m_check; }
    QLabel* summary() const { return m_summary; }
    QLabel* status() const { return m_status; }
    SheetGrid* ticketGrid() const { return m_tickets; }
    SheetGrid* oddsGrid() const { return m_odds; }
    SheetGrid* historyGrid() const { return m_historyGrid; }

protected:
    virtual void showRefusal(const QString& text);
    void unload() override;

private:
    struct Job;
    void numbersTyped();
    void buttonToggled();
    void finished();
    void showWheel();
    void updateButtons();

    GameId m_game;
    History m_history;
    std::optional<Wheel> m_wheel;
    WheelOdds m_oddsValues;
    std::shared_ptr<Job> m_job;
    QThread* m_worker = nullptr;
    QTimer* m_progressTimer = nullptr;

    std::vector<QToolButton*> m_numberButtons;
    QLineEdit* m_numbers = nullptr;
    QLineEdit* m_keys = nullptr;
    QComboBox* m_guarantee = nullptr;
    QSpinBox* m_seconds = nullptr;
    QPushButton* m_build = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_close = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_historyLabel = nullptr;
    SheetGrid* m_tickets = nullptr;
    SheetGrid* m_odds = nullptr;
    SheetGrid* m_historyGrid = nullptr;
};

}  // namespace mirkano
