#pragma once

#include <QTextBrowser>

namespace platform {

// The program's own window for a local web page that the desktop cannot open (no page
// opener, or none of the programs it knows is installed). Read-only, one per program and
// re-used. Links go back through ShellOpen and so follow its rules; pictures and style
// sheets come only from regular local files; a page is shown only up to a length that is
// laid out at once, so a page from a stranger cannot freeze the program. Esc and Ctrl+W
// close it.
class PageViewer : public QTextBrowser {
    Q_OBJECT
public:
    // Most bytes of a page shown; the rest is left out, and the window says so.
    static constexpr qint64 kMaxPageBytes = qint64{1} << 20;
    // Most bytes of a picture or style sheet a page refers to.
    static constexpr qint64 kMaxResourceBytes = qint64{4} << 20;

    // The program's one viewer, made on first use and deleted when the application ends.
    static PageViewer& Instance();

    explicit PageViewer(QWidget* parent = nullptr);

    // Shows the page at path and brings the window to the front. False, leaving the
    // window as it was, unless path is a regular file that can be read at once.
    bool ShowPage(const QString& path);
    // The absolute path of the page shown, "" before the first.
    const QString& CurrentPage() const { return m_Page; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private slots:
    void Page_AnchorClicked(const QUrl& link);

private:
    QString m_Page;
    bool m_Placed = false;
};

} // namespace platform
