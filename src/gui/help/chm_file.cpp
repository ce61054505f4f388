#include "gui/help/chm_file.h"

#include "core/files/file_kind.h"

#include <chm_lib.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace mirkano {

namespace {

// Codes of the records in the "/#SYSTEM" header that name the files the
// viewer needs.
constexpr quint16 kSystemContentsFile = 0;
constexpr quint16 kSystemIndexFile = 1;
constexpr quint16 kSystemDefaultTopic = 2;
constexpr quint16 kSystemTitle = 3;

quint16 readLe16(const char* p)
{
    return quint16(quint8(p[0]) | (quint8(p[1]) << 8));
}

// Values in sitemaps are HTML attribute text: resolve the character
// references a help compiler writes.
QString decodeEntities(QString s)
{
    if (!s.contains(QLatin1Char('&')))
        return s;
    static const QRegularExpression ref(QStringLiteral("&(#x[0-9A-Fa-f]+|#[0-9]+|amp|lt|gt|quot|apos);"));
    QString out;
    qsizetype last = 0;
    auto it = ref.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        out += s.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        if (name == QLatin1String("amp")) out += QLatin1Char('&');
        else if (name == QLatin1String("lt")) out += QLatin1Char('<');
        else if (name == QLatin1String("gt")) out += QLatin1Char('>');
        else if (name == QLatin1String("quot")) out += QLatin1Char('"');
        else if (name == QLatin1String("apos")) out += QLatin1Char('\'');
        else {
            bool ok = false;
            const uint code = name.startsWith(QLatin1String("#x"))
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                out += QString::fromUcs4(&c, 1);
            }
        }
        last = m.capturedEnd();
    }
    out += s.mid(last);
    return out;
}

}  // namespace

QString chmInternalPath(const QString& local)
{
    QString p = local;
    const qsizetype sep = p.indexOf(QLatin1String("::"));
    if (sep >= 0)
        p = p.mid(sep + 2);
    const qsizetype hash = p.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        p.truncate(hash);
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    return p;
}

ChmFile::~ChmFile()
{
    close();
}

bool ChmFile::open(const QString& filePath)
{
    close();
    // Only a regular file: the reader would wait on a named pipe for ever.
    if (!regularFileFault(filePath).isEmpty())
        return false;
    handle_ = chm_open(QFile::encodeName(filePath).constData());
    if (!handle_)
        return false;
    filePath_ = filePath;
    readSystemHeader();
    if (contentsFile_.isEmpty())
        contentsFile_ = findStoredFile(QStringLiteral(".hhc"));
    if (indexFile_.isEmpty())
        indexFile_ = findStoredFile(QStringLiteral(".hhk"));
    return true;
}

void ChmFile::close()
{
    if (handle_)
        chm_close(handle_);
    handle_ = nullptr;
    filePath_.clear();
    title_.clear();
    defaultTopic_.clear();
    contentsFile_.clear();
    indexFile_.clear();
}

std::optional<QByteArray> ChmFile::readFile(const QString& path) const
{
    if (!handle_ || path.isEmpty())
        return std::nullopt;
    QString inner = path;
    if (!inner.startsWith(QLatin1Char('/')))
        inner.prepend(QLatin1Char('/'));
    const QByteArray name = inner.toUtf8();
    chmUnitInfo ui{};
    if (chm_resolve_object(handle_, name.constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // Directory entries resolve too; they have no content of their own.
    if (inner.endsWith(QLatin1Char('/')))
        return std::nullopt;
    QByteArray data(qsizetype(ui.length), Qt::Uninitialized);
    if (ui.length == 0)
        return data;
    const LONGINT64 got = chm_retrieve_object(handle_, &ui,
                                              reinterpret_cast<unsigned char*>(data.data()), 0,
                                              LONGINT64(ui.length));
    if (got != LONGINT64(ui.length))
        return std::nullopt;
    return data;
}

void ChmFile::readSystemHeader()
{
    const auto sys = readFile(QStringLiteral("/#SYSTEM"));
    if (!sys || sys->size() < 4)
        return;
    const char* p = sys->constData();
    const qsizetype size = sys->size();
    qsizetype pos = 4;  // after the format version
    while (pos + 4 <= size) {
        const quint16 code = readLe16(p + pos);
        const quint16 len = readLe16(p + pos + 2);
        pos += 4;
        if (pos + len > size)
            break;
        QByteArray value(p + pos, len);
        const qsizetype nul = value.indexOf('\0');
        if (nul >= 0)
            value.truncate(nul);
        const QString text = QString::fromUtf8(value);
        switch (code) {
        case kSystemContentsFile: contentsFile_ = text; break;
        case kSystemIndexFile: indexFile_ = text; break;
        case kSystemDefaultTopic: defaultTopic_ = text; break;
        case kSystemTitle: title_ = text; break;
        default: break;
        }
        pos += len;
    }
}

QString ChmFile::findStoredFile(const QString& suffix) const
{
    struct Search {
        QString suffix;
        QString found;
    } search{suffix, {}};
    chm_enumerate(
        handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
        [](chmFile*, chmUnitInfo* ui, void* ctx) -> int {
            auto* s = static_cast<Search*>(ctx);
            const QString path = QString::fromUtf8(ui->path);
            if (path.endsWith(s->suffix, Qt::CaseInsensitive)) {
                s->found = path;
                return CHM_ENUMERATOR_SUCCESS;
            }
            return CHM_ENUMERATOR_CONTINUE;
        },
        &search);
    return search.found;
}

QList<SitemapEntry> ChmFile::contents() const
{
    const auto data = readFile(contentsFile_);
    return data ? parseSitemap(*data) : QList<SitemapEntry>{};
}

QList<SitemapEntry> ChmFile::index() const
{
    const auto data = readFile(indexFile_);
    return data ? parseSitemap(*data) : QList<SitemapEntry>{};
}

QString ChmFile::keywordTopic(const QString& keyword) const
{
    if (keyword.isEmpty())
        return {};
    for (const SitemapEntry& e : index()) {
        if (e.name == keyword && !e.local.isEmpty())
            return e.local;
    }
    return {};
}

QString ChmFile::decodeHtml(const QByteArray& html)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(html);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(html);
}

QList<SitemapEntry> ChmFile::parseSitemap(const QByteArray& html)
{
    // A sitemap is a tree of <UL> lists whose items are
    // <OBJECT type="text/sitemap"> elements with <param name=... value=...>.
    // Walk the tags in order, tracking the list depth.
    static const QRegularExpression tag(
        QStringLiteral("<(/?)(ul|object|param)\\b([^>]*)>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attr(
        QStringLiteral("(\\w+)\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"));

    const QString text = decodeHtml(html);
    QList<SitemapEntry> entries;
    int depth = -1;
    bool inItem = false;
    SitemapEntry current;

    auto it = tag.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == QLatin1String("ul")) {
            depth += closing ? -1 : 1;
            continue;
        }
        QString type, pname, pvalue;
        auto ait = attr.globalMatch(m.captured(3));
        while (ait.hasNext()) {
            const auto a = ait.next();
            const QString key = a.captured(1).toLower();
            QString value = a.captured(3);
            if (value.isEmpty()) value = a.captured(4);
            if (value.isEmpty()) value = a.captured(5);
            value = decodeEntities(value);
            if (key == QLatin1String("type")) type = value;
            else if (key == QLatin1String("name")) pname = value;
            else if (key == QLatin1String("value")) pvalue = value;
        }
        if (name == QLatin1String("object")) {
            if (!closing && type.compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0) {
                inItem = true;
                current = SitemapEntry{};
                current.depth = qMax(depth, 0);
            } else if (closing && inItem) {
                inItem = false;
                if (!current.name.isEmpty())
                    entries.append(current);
            }
        } else if (name == QLatin1String("param") && inItem) {
            // The first Name/Local pair of an entry counts; later pairs name
            // further topics of the same keyword.
            if (pname.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && current.name.isEmpty())
                current.name = pvalue;
            else if (pname.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && current.local.isEmpty())
                current.local = pvalue;
        }
    }
    return entries;
}

}  // namespace mirkano
