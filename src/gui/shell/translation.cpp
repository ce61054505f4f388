#include "gui/shell/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mirkano {

const char* const kQtTranslationFile = "qtbase_ja.qm";

bool installJapaneseTranslation(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QString name = QString::fromLatin1(kQtTranslationFile);
    for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
            // Dates, numbers and the dialogs' own choices follow Japanese too.
            QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace mirkano
