#pragma once
// データ管理 → 最新化の設定…: the address the update fetches from, set and
// tried out. The test downloads what the address serves (a history file of
// this program or a CSV in any layout the reader takes), and says how many
// draws it holds and how many of them the history lacks. Each game has its own
// address: OK stores the game's in its file beside the program
// (update-server.txt for Loto 6, update-server-loto7.txt, …), where the update
// reads it.

#include "core/maintenance/history_download.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace mirkano {

class UpdateSourceDialog : public QDialog {
    Q_OBJECT
public:
    // programDir: where the address files are; historyPath: the history of
    // the game whose address is edited, which the source is compared with.
    UpdateSourceDialog(QString programDir, QString historyPath, GameId game, DownloadLimits limits,
                       QWidget* parent = nullptr);
    ~UpdateSourceDialog() override;

    QLineEdit* addressEdit() const { return m_address; }
    QPushButton* testButton() const { return m_test; }
    QLabel* resultLabel() const { return m_result; }
    // Whether a test download is running.
    bool testing() const { return m_download != nullptr; }

    void accept() override;
    void reject() override;

signals:
    // A test has ended (its result is in resultLabel()).
    void testFinished();

private:
    void startOrStopTest();
    void showTestOutcome();
    void stopTest();

    QString m_programDir;
    QString m_historyPath;
    GameId m_game;
    DownloadLimits m_limits;
    QLineEdit* m_address = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_result = nullptr;
    QPointer<HistoryDownload> m_download;
};

// Stores the game's address as the first line of its file in programDir,
// replacing the file whole. Throws Error naming the file and the cause.
void saveConfiguredServer(const QString& programDir, const QString& address, GameId game = GameId::Loto6);

}  // namespace mirkano
