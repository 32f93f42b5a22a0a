#include "platform/PageViewer.h"

#include "kb/Cp1252.h"
#include "platform/FormUtilities.h"
#include "platform/LocalFile.h"
#include "platform/PageMarkup.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextDocument>

namespace platform {

namespace {

QPointer<PageViewer> g_Viewer;

void DeleteViewer() {
    delete g_Viewer.data();
}

// Most characters of text between two chances to break a line; see Breakable.
constexpr qsizetype kMaxRun = 80;
// Pictures larger than this on either side are not shown.
constexpr int kMaxPictureSide = 8192;

// The page's own charset, or UTF-8 when it names none; a page in neither (older pages
// made on Windows name none and are in its code page) is read as Windows-1252.
QString Decode(const QByteArray& bytes) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (decoder.isValid()) {
        QString text = decoder.decode(bytes);
        if (!decoder.hasError()) {
            return text;
        }
    }
    return QString::fromStdString(
        kb::Cp1252ToUtf8(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

bool StartsTag(const QString& html, qsizetype at, QLatin1StringView name) {
    if (html.size() < at + 1 + name.size() + 1 ||
        QStringView(html).mid(at + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QChar after = html.at(at + 1 + name.size());
    return after.isSpace() || after == u'>' || after == u'/';
}

// Laying out text that runs on without a chance to break a line takes time that grows
// with the square of its length (a megabyte of one word: minutes). So text between tags
// gets a zero-width space at least every kMaxRun characters, never inside an entity or
// a surrogate pair; control characters become blanks; tags, comments, style sheets and
// scripts are left as written.
QString Breakable(const QString& html) {
    QString out;
    out.reserve(html.size() + html.size() / kMaxRun + 1);
    qsizetype run = 0;
    qsizetype entity = -1; // characters since "&" while an entity may be open
    qsizetype i = 0;
    auto copyUntil = [&](const QString& end) {
        qsizetype stop = html.indexOf(end, i, Qt::CaseInsensitive);
        stop = stop < 0 ? html.size() : stop + end.size();
        out += QStringView(html).mid(i, stop - i);
        i = stop;
    };
    while (i < html.size()) {
        QChar c = html.at(i);
        if (c == u'<') {
            run = 0;
            entity = -1;
            if (QStringView(html).mid(i, 4) == QLatin1StringView("<!--")) {
                copyUntil(QStringLiteral("-->"));
                continue;
            }
            if (StartsTag(html, i, QLatin1StringView("style"))) {
                copyUntil(QStringLiteral("</style"));
            } else if (StartsTag(html, i, QLatin1StringView("script"))) {
                copyUntil(QStringLiteral("</script"));
            }
            copyUntil(QStringLiteral(">"));
            continue;
        }
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') {
            c = u' ';
        }
        if (c.isSpace()) {
            run = 0;
        } else if (++run > kMaxRun && entity < 0 && !c.isLowSurrogate()) {
            out += QChar(0x200B);
            run = 1;
        }
        if (c == u'&') {
            entity = 0;
        } else if (entity >= 0 &&
                   (c == u';' || !(c.isLetterOrNumber() || c == u'#') || ++entity > 32)) {
            entity = -1;
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace

PageViewer& PageViewer::Instance() {
    if (g_Viewer.isNull()) {
        g_Viewer = new PageViewer();
        qAddPostRoutine(DeleteViewer);
    }
    return *g_Viewer;
}

PageViewer::PageViewer(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("PageViewer"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 560);
    document()->setDocumentMargin(12);
    // Links are ours to follow (through ShellOpen), never the browser's own.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &PageViewer::Page_AnchorClicked);
    // Closed from the keyboard as the help window is.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
}

bool PageViewer::ShowPage(const QString& path) {
    QByteArray bytes;
    bool whole = false;
    if (!ReadLocalFile(path, kMaxPageBytes, bytes, &whole)) {
        return false;
    }
    // A modal dialog (the page dialog, whose Browse shows a page) blocks every window but
    // its own: the page window goes with it, so it can be read and closed meanwhile.
    QWidget* modal = QApplication::activeModalWidget();
    if (parentWidget() != modal) {
        const QPoint place = pos();
        setParent(modal, Qt::Window);
        move(place);
    }
    const QFileInfo info(path);
    m_Page = info.absoluteFilePath();
    document()->setBaseUrl(QUrl::fromLocalFile(m_Page));
    const QString page = Decode(bytes);
    QString title;
    if (PageMarkup::LaysOutQuickly(page)) {
        QString html = Breakable(page);
        if (!whole) {
            html += QStringLiteral("<hr><p><i>The rest of this page is too long to be shown "
                                   "here.</i></p>");
        }
        setHtml(html);
        title = documentTitle().simplified().remove(QChar(0x200B));
    } else {
        // Markup that would keep the window laying it out for minutes, or overflow the
        // stack: the page's text is shown, without it.
        QString text = QStringLiteral("This page's markup is too deep to be laid out quickly; "
                                      "its text is shown without it.\n\n") +
                       PageMarkup::PageText(page);
        if (!whole) {
            text += QStringLiteral("\n\nThe rest of this page is too long to be shown here.");
        }
        setPlainText(text);
    }
    document()->setBaseUrl(QUrl::fromLocalFile(m_Page));
    setWindowTitle(title.isEmpty() ? info.fileName() : title);
    if (!m_Placed) {
        m_Placed = true;
        CentreForm(this, 0, 0);
    }
    show();
    raise();
    activateWindow();
    return true;
}

QVariant PageViewer::loadResource(int type, const QUrl& name) {
    // An empty value rather than none: with none, the document would read the file
    // itself, waiting on a named pipe for good.
    const QVariant nothing = QVariant(QByteArray());
    const QUrl url = document()->baseUrl().resolved(name);
    QByteArray bytes;
    if (!url.isLocalFile() || !ReadLocalFile(url.toLocalFile(), kMaxResourceBytes, bytes)) {
        return nothing;
    }
    switch (type) {
    case QTextDocument::ImageResource: {
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
            return nothing;
        }
        const QImage image = reader.read();
        return image.isNull() ? nothing : QVariant(image);
    }
    case QTextDocument::StyleSheetResource:
        return Decode(bytes);
    default:
        return nothing;
    }
}

void PageViewer::Page_AnchorClicked(const QUrl& link) {
    const QUrl url = document()->baseUrl().resolved(link);
    if (url.isLocalFile() && url.hasFragment() &&
        url.adjusted(QUrl::RemoveFragment) == QUrl::fromLocalFile(m_Page)) {
        scrollToAnchor(url.fragment());
        return;
    }
    ShellOpen(url.isLocalFile() ? url.toLocalFile() : url.toString());
}

} // namespace platform
