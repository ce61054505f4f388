// ミルカノ: the desktop program. Starts on the history file and the prediction
// settings file beside the program, or in the user's data folder when the
// program's folder is not writable.

#include "core/history/history_store.h"
#include "gui/icons/program_icon.h"
#include "gui/sheet/grid_units.h"
#include "gui/shell/main_frm.h"
#include "gui/shell/translation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
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

    // An installed program keeps the history in the user's data folder; the
    // first start there begins with the installed sample.
    // The settings file sits beside the history file.
    const QString historyPath = mirkano::defaultHistoryPath();
    mirkano::copySampleHistoryIfMissing(historyPath);
    mirkano::MainFrm frame(historyPath);
    if (!frame.load())
        return 1;
    QObject::connect(&frame, &mirkano::MainFrm::shutDown, &app, &QCoreApplication::quit);
    // The analysis windows are large: the frame starts filling the screen
    // (also where no window manager maximises it).
    frame.showAtStartUp();
    return QApplication::exec();
}
