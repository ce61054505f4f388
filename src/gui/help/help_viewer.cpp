#include "gui/help/help_viewer.h"

#include "core/files/file_kind.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mirkano {

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kLocalRole = Qt::UserRole + 1;

QString helpTitle()
{
    return QStringLiteral("ヘルプ");
}

void warn(QWidget* owner, const QString& text)
{
    QMessageBox::warning(owner, helpTitle(), text);
}

}  // namespace

QString helpFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ミルカノ.chm");
}

// ---- ChmBrowser ----

ChmBrowser::ChmBrowser(const ChmFile& chm, QWidget* parent) : QTextBrowser(parent), chm_(chm)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::followLink);
}

QUrl ChmBrowser::topicUrl(const QString& local)
{
    QString inner = local;
    const qsizetype sep = inner.indexOf(QLatin1String("::"));
    if (sep >= 0)
        inner = inner.mid(sep + 2);
    if (!inner.startsWith(QLatin1Char('/')))
        inner.prepend(QLatin1Char('/'));
    return QUrl(kScheme + QLatin1Char(':') + inner);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != kScheme)
        return {};  // nothing outside the help file is loaded into the view
    const auto data = chm_.readFile(name.path());
    if (!data)
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return ChmFile::decodeHtml(*data);
    return *data;
}

void ChmBrowser::followLink(const QUrl& link)
{
    const QUrl target = source().resolved(link);
    if (target.scheme() == kScheme) {
        setSource(target);
    } else if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https")
               || target.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(target);
    }
}

// ---- HelpViewer ----

HelpViewer::HelpViewer(QWidget* owner, std::unique_ptr<ChmFile> chm)
    // A dialog-type window: the window manager keeps it above its owner.
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                         | Qt::WindowCloseButtonHint),
      chm_(std::move(chm))
{
    setObjectName(QStringLiteral("helpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(chm_->title().isEmpty() ? QStringLiteral("ミルカノ ヘルプ") : chm_->title());

    tabs_ = new QTabWidget;
    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setHeaderHidden(true);
    tabs_->addTab(contents_, QStringLiteral("目次"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("helpIndexFilter"));
    filter_->setPlaceholderText(QStringLiteral("キーワードを入力"));
    index_ = new QListWidget;
    index_->setObjectName(QStringLiteral("helpIndex"));
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage, QStringLiteral("キーワード"));

    browser_ = new ChmBrowser(*chm_);
    browser_->setObjectName(QStringLiteral("helpBrowser"));

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 620});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 640);

    fillContents();
    fillIndex();

    connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString local = item->data(0, kLocalRole).toString();
        if (!local.isEmpty())
            showTopic(local);
    });
    connect(index_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        showTopic(item->data(kLocalRole).toString());
    });
    connect(index_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        showTopic(item->data(kLocalRole).toString());
    });
    connect(filter_, &QLineEdit::textEdited, this, &HelpViewer::filterIndex);
    connect(filter_, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem* item = index_->currentItem())
            showTopic(item->data(kLocalRole).toString());
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::markContents);
}

void HelpViewer::fillContents()
{
    QList<QTreeWidgetItem*> parents;  // the last item seen at each depth
    for (const SitemapEntry& e : chm_->contents()) {
        QTreeWidgetItem* item = nullptr;
        const int depth = qMin<int>(e.depth, parents.size());
        if (depth == 0)
            item = new QTreeWidgetItem(contents_);
        else
            item = new QTreeWidgetItem(parents[depth - 1]);
        item->setText(0, e.name);
        item->setData(0, kLocalRole, e.local);
        parents.resize(depth);
        parents.append(item);
    }
    contents_->expandAll();
}

void HelpViewer::fillIndex()
{
    for (const SitemapEntry& e : chm_->index()) {
        if (e.local.isEmpty())
            continue;
        auto* item = new QListWidgetItem(e.name, index_);
        item->setData(kLocalRole, e.local);
    }
}

void HelpViewer::filterIndex(const QString& text)
{
    // Select the first keyword that starts with what was typed, as an index
    // list does; the list itself stays complete.
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        if (item->text().startsWith(text, Qt::CaseInsensitive)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

bool HelpViewer::showKeyword(const QString& keyword, const QString& local)
{
    tabs_->setCurrentIndex(1);
    filter_->setText(keyword);
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        if (item->text() == keyword) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            break;
        }
    }
    return showTopic(local);
}

bool HelpViewer::showTopic(const QString& local)
{
    if (local.isEmpty())
        return false;
    if (!chm_->readFile(chmInternalPath(local))) {
        warn(this, QStringLiteral("ページ「%1」がヘルプファイル「%2」にありません。")
                       .arg(local, QDir::toNativeSeparators(chm_->filePath())));
        return false;
    }
    browser_->setSource(ChmBrowser::topicUrl(local), QTextDocument::HtmlResource);
    return true;
}

QString HelpViewer::currentPage() const
{
    return browser_->source().path();
}

void HelpViewer::markContents(const QUrl& source)
{
    const QString page = source.path();
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QString local = (*it)->data(0, kLocalRole).toString();
        if (!local.isEmpty() && chmInternalPath(local) == page) {
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

// ---- openHelp ----

void openHelp(QWidget* owner, const QString& chmPath, const QString& keyword)
{
    const QString shownPath = QDir::toNativeSeparators(chmPath);
    if (isMissing(chmPath)) {
        warn(owner, QStringLiteral("ヘルプファイル「%1」が見つかりません。").arg(shownPath));
        return;
    }
    // Checked without opening: a named pipe in its place would hang the window.
    if (const QString cause = regularFileFault(chmPath); !cause.isEmpty()) {
        warn(owner, QStringLiteral("ヘルプファイル「%1」を開けません：%2。").arg(shownPath, cause));
        return;
    }
    auto chm = std::make_unique<ChmFile>();
    if (!chm->open(chmPath)) {
        warn(owner, QStringLiteral("ヘルプファイル「%1」を開けません。").arg(shownPath));
        return;
    }
    const QString topic = chm->keywordTopic(keyword);
    if (topic.isEmpty()) {
        warn(owner, QStringLiteral("キーワード「%1」がヘルプファイル「%2」の索引にありません。")
                        .arg(keyword, shownPath));
        return;
    }
    if (!chm->readFile(chmInternalPath(topic))) {
        warn(owner, QStringLiteral("キーワード「%1」のページ「%2」がヘルプファイル「%3」にありません。")
                        .arg(keyword, topic, shownPath));
        return;
    }

    // One help window per owner: an open one for the same file is reused.
    HelpViewer* viewer = nullptr;
    if (owner) {
        for (HelpViewer* v : owner->findChildren<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (v->chm().filePath() == chmPath)
                viewer = v;
            else
                v->close();
        }
    }
    if (!viewer)
        viewer = new HelpViewer(owner, std::move(chm));
    viewer->show();
    viewer->showKeyword(keyword, topic);
    viewer->raise();
    viewer->activateWindow();
}

}  // namespace mirkano
