#pragma once
// Read access to a compiled HTML help file (.chm): its pages, its table of
// contents and its keyword index. Plain data, no widgets, so the help viewer's
// look-ups can be tested on their own.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct chmFile;

namespace mirkano {

// One entry of a contents (.hhc) or index (.hhk) sitemap. depth is the
// nesting level of the entry's list (0 for the outermost list); local is the
// page inside the file ("index.html", possibly with "#anchor"), empty for a
// heading without a page.
struct SitemapEntry {
    QString name;
    QString local;
    int depth = 0;
};

class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file; false when it does not exist or is not a help file.
    bool open(const QString& filePath);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    QString filePath() const { return filePath_; }

    // The bytes of one stored file ("/index.html" or "index.html"), or
    // nothing when the file is not in the archive.
    std::optional<QByteArray> readFile(const QString& path) const;

    // Facts from the file's system header (empty when not recorded).
    QString title() const { return title_; }
    QString defaultTopic() const { return defaultTopic_; }
    QString contentsFileName() const { return contentsFile_; }
    QString indexFileName() const { return indexFile_; }

    QList<SitemapEntry> contents() const;
    QList<SitemapEntry> index() const;

    // The page of the first index entry whose keyword equals keyword exactly,
    // or an empty string when the index has no such keyword.
    QString keywordTopic(const QString& keyword) const;

    // Parses the sitemap HTML of a contents or index file.
    static QList<SitemapEntry> parseSitemap(const QByteArray& html);
    // Decodes an HTML file by its declared charset (UTF-8 when none).
    static QString decodeHtml(const QByteArray& html);

private:
    void readSystemHeader();
    QString findStoredFile(const QString& suffix) const;

    chmFile* handle_ = nullptr;
    QString filePath_;
    QString title_;
    QString defaultTopic_;
    QString contentsFile_;
    QString indexFile_;
};

// The path inside the archive of a sitemap "Local" value: leading "/", no
// anchor, any "file.chm::" prefix removed.
QString chmInternalPath(const QString& local);

}  // namespace mirkano
