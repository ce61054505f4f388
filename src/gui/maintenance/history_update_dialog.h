#pragma once
// The winning-data update as the main window runs it: the source from the
// setting, its draws downloaded under a progress dialog that shows the bytes
// received and can be cancelled (the window keeps repainting meanwhile),
// then checked and merged into the history file, conflicts asked about.

#include "core/maintenance/history_download.h"
#include "gui/maintenance/ask.h"

#include <QMessageBox>

#include <optional>

class QWidget;

namespace mirkano {

// What to tell the user afterwards.
struct UpdateReport {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    bool changed = false;  // the history file was rewritten
};

inline const QString kUpdateDone = QStringLiteral("当選データを最新化しました。");

// Runs the whole update of the game's history over parent, asking through ask
// when draws differ. nullopt when the user cancelled the download or stopped
// at the question (nothing written); otherwise the summary of the merge (headed
// kUpdateDone only when the history changed) or the cause of the refusal (the
// history file then as it was).
std::optional<UpdateReport> runHistoryUpdate(QWidget* parent, const AskFn& ask, const QString& target, GameId game,
                                             const QString& server, const DownloadLimits& limits);

}  // namespace mirkano
