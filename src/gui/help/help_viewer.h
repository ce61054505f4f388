#pragma once
// The in-program help viewer: shows the pages of the compiled help file
// "ミルカノ.chm" with its contents and keyword index beside them.

#include "gui/help/chm_file.h"

#include <QString>
#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace mirkano {

// The help file beside the program: program folder + "/ミルカノ.chm".
QString helpFilePath();

// Opens the help file chmPath at the topic of keyword in a help window owned
// by owner: the keyword index is shown with keyword selected, then its topic.
// A help file that is missing or unreadable, or a keyword that is not in its
// index, is reported in a warning message box naming the file or keyword;
// nothing else is shown then.
void openHelp(QWidget* owner, const QString& chmPath, const QString& keyword);

// Page view that loads pages, style sheets and images from the help file.
// Pages are addressed as "chm:/page.html", so relative links resolve inside
// the file.
class ChmBrowser : public QTextBrowser {
    Q_OBJECT
public:
    ChmBrowser(const ChmFile& chm, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

    static QUrl topicUrl(const QString& local);

private:
    void followLink(const QUrl& link);

    const ChmFile& chm_;
};

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Takes the opened help file; the window belongs to owner.
    HelpViewer(QWidget* owner, std::unique_ptr<ChmFile> chm);

    const ChmFile& chm() const { return *chm_; }
    // Index tab in front with keyword selected, then the topic shown.
    // false (and a warning) when the topic page is not in the file.
    bool showKeyword(const QString& keyword, const QString& local);
    bool showTopic(const QString& local);
    // The page shown, as its path inside the file ("/index.html").
    QString currentPage() const;

    ChmBrowser* browser() const { return browser_; }
    QTabWidget* tabs() const { return tabs_; }
    QTreeWidget* contentsTree() const { return contents_; }
    QListWidget* indexList() const { return index_; }
    QLineEdit* indexFilter() const { return filter_; }

private:
    void fillContents();
    void fillIndex();
    void filterIndex(const QString& text);
    void markContents(const QUrl& source);

    std::unique_ptr<ChmFile> chm_;
    ChmBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QListWidget* index_ = nullptr;
    QLineEdit* filter_ = nullptr;
};

}  // namespace mirkano
