#pragma once
// The window 賞金データ: the prize data of one draw of the history file (per
// class the winning tickets 口数 and the yen per ticket 賞金, the carry-over
// where the game has one, the sales), shown for the draw chosen in the 回数
// list (the last draw when it opens) and corrected in place. An empty field
// is unknown. "保存" checks every field (whole numbers, not negative; a value
// of 2,147,483,647 is asked about as a likely 32-bit cut) and writes the
// draw's prize data in one transaction: a refused write leaves the file as it
// was and says why. Input not saved is asked about before another draw is
// shown or the window closes.
//
// load() reports `opened` (the main window clears its end flag); every way
// of closing reports `unloaded` once and releases the file.

#include "core/history/history_store.h"
#include "gui/maintenance/ask.h"
#include "gui/shell/child_window.h"

#include <QStringList>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mirkano {

class PrizeDataWindow : public ChildWindow {
    Q_OBJECT
public:
    static const QString kCaption;
    static const QString kDropOnChange;
    static const QString kDropOnClose;
    static const QString kDropOnExit;

    // messageTitle: the title of boxes that have none of their own.
    explicit PrizeDataWindow(AskFn ask, QString messageTitle, QWidget* parent = nullptr);
    ~PrizeDataWindow() override;

    // Busy pointer, `opened`, the history file opened for editing and its
    // last draw shown. Throws HistoryError when the file cannot be edited.
    void load(const QString& historyPath);

    QComboBox* drawPicker() const { return m_draws; }
    // The field of prizeFieldNames(game)[i].
    QLineEdit* field(int i) const { return m_fields.at(std::size_t(i)); }
    int fieldCount() const { return int(m_fields.size()); }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* closeButton() const { return m_close; }
    QLabel* statusLine() const { return m_status; }

    // The draw shown, 0 when the history has none.
    int drawNo() const;
    // Shows the stored prize data of drawNo (one of the history's draws),
    // after asking about input not saved; false when the player stays.
    bool showDraw(int drawNo);
    // "保存": true when the draw's prize data are in the file as shown.
    bool save();
    // Whether a field holds other text than the stored value was shown with.
    bool modified() const;
    // Before the window closes or the program ends: when input is not saved,
    // asks whether to drop it (default No). True when nothing would be lost
    // or the player chose to drop it.
    bool confirmDroppingInput(bool exiting);

protected:
    void unload() override;
    void closeEvent(QCloseEvent* e) override;

private:
    void fill(int drawNo);
    void pickerChanged(int index);
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def);

    AskFn m_ask;
    QString m_messageTitle;
    QComboBox* m_draws = nullptr;
    std::vector<QLineEdit*> m_fields;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_status = nullptr;
    std::unique_ptr<HistoryEditor> m_editor;
    GameId m_game = GameId::Loto6;
    PrizeTable m_prizes;
    int m_shown = 0;
    QStringList m_shownTexts;  // the fields as filled from the file
    bool m_filling = false;
    bool m_dropConfirmed = false;
};

}  // namespace mirkano
