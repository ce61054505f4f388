// ミルカノ: the desktop program. Starts on the history file and the prediction
// settings file beside the program, or in the user's data folder when the
// program's folder is not writable.

#include "core/game/game_files.h"
#include "core/history/history_store.h"
#include "gui/icons/program_icon.h"
#include "gui/sheet/grid_units.h"
#include "gui/shell/main_frm.h"
#include "gui/shell/translation.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    // The file chooser's dates read Japanese whatever the desktop's language.
    mirkano::useJapaneseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ミルカノ"));
    QApplication::setFont(mirkano::uiFont());
    QApplication::setWindowIcon(mirkano::programIcon());
    // Without it the standard buttons and dialogs stay English; the program
    // still runs.
    mirkano::installJapaneseTranslation(app);
    // The program ends with its main window, even while the help or the
    // version window is still open.
    QApplication::setQuitOnLastWindowClosed(false);

    // An installed program keeps the histories in the user's data folder; the
    // first start there begins with the installed sample. The program opens
    // the game it showed last (Loto 6 the first time); each game's settings
    // file sits beside its history file.
    const QString folder = QFileInfo(mirkano::defaultHistoryPath()).absolutePath();
    const mirkano::GameId game = mirkano::readLastGame(folder);
    const QString historyPath = mirkano::gameHistoryPath(folder, game);
    mirkano::copySampleHistoryIfMissing(historyPath);
    mirkano::MainFrm frame(historyPath, mirkano::gameSettingsPath(folder, game));
    frame.setGame(game);
    // A last game whose history cannot be read opens Loto 6 instead.
    if (!frame.loadAtStartUp())
        return 1;
    QObject::connect(&frame, &mirkano::MainFrm::shutDown, &app, &QCoreApplication::quit);
    // The analysis windows are large: the frame starts filling the screen
    // (also where no window manager maximises it).
    frame.showAtStartUp();
    return QApplication::exec();
}
