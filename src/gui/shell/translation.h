#pragma once
// Qt's own Japanese translation, so that the standard buttons and dialogs
// (はい/いいえ, キャンセル, the file chooser, the print and preview dialogs)
// read Japanese like the rest of the program, with the program's own
// Japanese for the few texts of those dialogs that Qt's translation lacks,
// and dates in the file chooser in Japanese form.

class QCoreApplication;
class QString;
class QTranslator;

namespace mirkano {

// The translation's file name, shipped in translations/ beside the program.
extern const char* const kQtTranslationFile;

// Makes the system locale's dates and messages Japanese for this process:
// Qt's file chooser writes its dates and sizes in the system locale, not in
// the program's default one. Must run before the application object is made.
// Other locale settings of the environment stay as they are.
void useJapaneseSystemLocale();

// The Japanese of the texts of Qt's print and file dialogs that Qt's own
// translation does not hold (「Pages」, 「Folder」 …). It answers only those
// and gives way to Qt's translation wherever that has a text.
QTranslator* newMissingDialogTexts(QCoreApplication& app);

// Loads Qt's Japanese translation into the application: first from
// translations/ beside the program (the build folder and an install carry it
// there), then from Qt's own translations folder; the program's own texts
// for what it lacks are consulted after it. Returns false when neither folder
// holds it; the dialogs then stay in Qt's English.
bool installJapaneseTranslation(QCoreApplication& app);

}  // namespace mirkano
