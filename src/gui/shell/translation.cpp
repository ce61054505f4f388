#include "gui/shell/translation.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mirkano {

const char* const kQtTranslationFile = "qtbase_ja.qm";

namespace {

// Texts of Qt 6.4's print, print-property and file dialogs that its
// Japanese translation leaves in English, keyed by context, source text and
// disambiguation as the dialogs ask for them.
class MissingDialogTexts : public QTranslator {
public:
    explicit MissingDialogTexts(QObject* parent) : QTranslator(parent)
    {
        const auto add = [this](const char* context, const char* source, const char* disambiguation,
                                const char16_t* japanese) {
            m_texts.insert(key(context, source, disambiguation), QString::fromUtf16(japanese));
        };
        add("QAbstractFileIconProvider", "Folder", "All other platforms", u"フォルダー");
        add("QAbstractFileIconProvider", "Shortcut", "All other platforms", u"ショートカット");
        add("QAbstractFileIconProvider", "Drive", "", u"ドライブ");
        add("QPrintSettingsOutput", "Pages", "", u"ページ指定");
        add("QPrintSettingsOutput",
            "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
            "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
            "",
            u"印刷するページや範囲をコンマで区切って指定します。範囲は２つの数字をハイフンでつなぎます。"
            u"例：3,5-7,9 で 3、5、6、7、9 ページを印刷します。");
        add("QPrintSettingsOutput", "Double Sided Printing", "", u"両面印刷");
        add("QPrintSettingsOutput", "Off", "", u"しない");
        add("QPrintSettingsOutput", "Long side binding", "", u"長辺とじ");
        add("QPrintSettingsOutput", "Short side binding", "", u"短辺とじ");
        add("QPrintPropertiesWidget", "Advanced", "", u"詳細設定");
        add("QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.", "",
            u"いくつかのオプションが競合しています。修正してください。");
    }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int) const override
    {
        return m_texts.value(key(context, sourceText, disambiguation));
    }
    bool isEmpty() const override { return false; }

private:
    static QString key(const char* context, const char* source, const char* disambiguation)
    {
        return QString::fromUtf8(context) + u'\x1f' + QString::fromUtf8(source) + u'\x1f'
               + QString::fromUtf8(disambiguation ? disambiguation : "");
    }
    QHash<QString, QString> m_texts;
};

}  // namespace

void useJapaneseSystemLocale()
{
    // LC_ALL would override the two set below: what it chose goes to LANG,
    // where it still rules every other category.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty() && !all.startsWith("ja")) {
        qputenv("LANG", all);
        qunsetenv("LC_ALL");
    }
    if (qgetenv("LC_ALL").isEmpty()) {
        qputenv("LC_TIME", "ja_JP.UTF-8");
        qputenv("LC_MESSAGES", "ja_JP.UTF-8");
    }
}

QTranslator* newMissingDialogTexts(QCoreApplication& app) { return new MissingDialogTexts(&app); }

bool installJapaneseTranslation(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QString name = QString::fromLatin1(kQtTranslationFile);
    for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(name, folder)) {
            // The translator installed last is asked first: the program's own
            // texts go in before Qt's, so Qt's answer wins where it has one.
            QCoreApplication::installTranslator(newMissingDialogTexts(app));
            if (!QCoreApplication::installTranslator(translator))
                break;
            // Dates, numbers and the dialogs' own choices follow Japanese too.
            QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace mirkano
