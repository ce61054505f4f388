#pragma once
// Qt's own Japanese translation, so that the standard buttons and dialogs
// (はい/いいえ, キャンセル, the file chooser, the print and preview dialogs)
// read Japanese like the rest of the program.

class QCoreApplication;
class QString;

namespace mirkano {

// The translation's file name, shipped in translations/ beside the program.
extern const char* const kQtTranslationFile;

// Loads Qt's Japanese translation into the application: first from
// translations/ beside the program (the build folder and an install carry it
// there), then from Qt's own translations folder. Returns false when neither
// holds it; the dialogs then stay in Qt's English.
bool installJapaneseTranslation(QCoreApplication& app);

}  // namespace mirkano
