#pragma once
// The winning-data update as the main window runs it: the server from the
// setting, the history downloaded under a progress dialog that shows the bytes
// received and can be cancelled (the window keeps repainting meanwhile), then
// checked and renamed over the history file.

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
};

inline const QString kUpdateDone = QStringLiteral("当選データを最新化しました。");

// Runs the whole update over parent. A download that would lose complete
// draws of the history is written only after the user answers Yes to a
// question (No is the default), asked through ask (a plain box over parent
// when none is given). nullopt when the user cancelled the download or
// answered No (nothing written); otherwise the message of success or of the
// cause of the refusal (the history file then as it was).
std::optional<UpdateReport> runHistoryUpdate(QWidget* parent, const QString& target, const QString& server,
                                             const DownloadLimits& limits, const AskFn& ask = {});

}  // namespace mirkano
