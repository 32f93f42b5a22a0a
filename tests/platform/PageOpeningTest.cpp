#include "platform/PageViewer.h"
#include "platform/Platform.h"
#include "platform/QtBackend.h"
#include "platform/ScriptedBackend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using platform::PageViewer;
using platform::QtBackend;

namespace {

// Runs act while a watchdog frees whatever waits on the named pipe once three seconds
// have passed (opening the other end lets a reader's open return, closing it ends the
// read), again and again, so that code which blocks on the pipe fails its test instead
// of hanging it. True when act had to be freed.
bool WaitedOnPipe(const QString& pipe, const std::function<void()>& act) {
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    bool fired = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        std::chrono::milliseconds wait(3000);
        while (!wake.wait_for(lock, wait, [&] { return done; })) {
            fired = true;
            wait = std::chrono::milliseconds(50);
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    act();
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    wake.notify_all();
    watchdog.join();
    return fired;
}

QString MakePipe(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Puts a stand-in for the desktop's page opener first on PATH (or, with no exit code,
// leaves none on it) for the object's life. The stand-in writes its arguments, one a
// line, to a log and ends with the exit code given.
class FakeOpener {
public:
    explicit FakeOpener(std::optional<int> exitCode) : m_OldPath(qgetenv("PATH")) {
        if (exitCode) {
            QFile script(m_Dir.filePath(QStringLiteral("xdg-open")));
            EXPECT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.part'\n"
                                        "/bin/mv '%1.part' '%1'\nexit %2\n")
                             .arg(Log())
                             .arg(*exitCode)
                             .toUtf8());
            script.close();
            QFile::setPermissions(script.fileName(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_Dir.path()));
    }
    ~FakeOpener() { qputenv("PATH", m_OldPath); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    QString Log() const { return m_Dir.filePath(QStringLiteral("opened.log")); }
    // The arguments the opener was started with; waits up to five seconds for them.
    QStringList Arguments() const {
        for (int waited = 0; waited < 5000 && !QFileInfo::exists(Log()); waited += 10)
            QTest::qWait(10);
        QFile log(Log());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QByteArray m_OldPath;
    QTemporaryDir m_Dir;
};

// Whether the program's page window shows path, after letting events run for at most
// withinMs.
bool ShownInOwnWindow(const QString& path, int withinMs = 5000) {
    const PageViewer& viewer = PageViewer::Instance();
    auto shown = [&] { return viewer.isVisible() && viewer.CurrentPage() == path; };
    for (int waited = 0; waited < withinMs && !shown(); waited += 10)
        QTest::qWait(10);
    return shown();
}

} // namespace

// A help or description page that is a named pipe, a terminal or a device is no page:
// looking into it must never wait, and it never reaches the desktop.
TEST(PageOpening, OnlyRegularFilesAreLookedIntoAndNoneIsWaitedOn) {
    QTemporaryDir kb;
    ASSERT_TRUE(kb.isValid());
    const QString pipePage = MakePipe(kb, QStringLiteral("dog.htm"));
    const QString link = kb.filePath(QStringLiteral("cat.htm"));
    ASSERT_TRUE(QFile::link(pipePage, link));
    for (const QString& target : {pipePage, MakePipe(kb, QStringLiteral("notes")), link,
                                  QUrl::fromLocalFile(pipePage).toString()}) {
        const QString pipe = target.startsWith(u'/') ? target : pipePage;
        EXPECT_FALSE(WaitedOnPipe(pipe, [&] {
            EXPECT_FALSE(QtBackend::UrlFor(target).isValid()) << target.toStdString();
            EXPECT_FALSE(QtBackend().ShellOpen(target)) << target.toStdString();
        })) << target.toStdString();
    }
    for (const char* device : {"/dev/zero", "/dev/null", "/dev/urandom", "/proc/self/mem"})
        EXPECT_FALSE(QtBackend::UrlFor(QString::fromLatin1(device)).isValid()) << device;

    // A huge sparse page is a regular file: only its start is looked into.
    const QString sparse = WriteFile(kb, QStringLiteral("big.htm"), "<p>big</p>");
    ASSERT_TRUE(QFile(sparse).resize(qint64{8} << 30));
    EXPECT_EQ(QtBackend::UrlFor(sparse), QUrl::fromLocalFile(sparse));
}

// A local page goes to the desktop's opener as one percent-encoded address; where the
// desktop has no opener, or the opener finds nothing to show a page with, the page opens
// in the program's own window.
TEST(PageOpening, APageTheDesktopCannotShowOpensInTheProgramsWindow) {
    QTemporaryDir kb;
    const QString dog = WriteFile(kb, QStringLiteral("my dog's page.htm"),
                                  "<html><head><title>Dog</title></head><body><p>A loyal "
                                  "companion.</p></body></html>");
    const QString cat = WriteFile(kb, QStringLiteral("Cat.HTML"), "<p>Cats sleep a lot.</p>");
    const QStringList address({QString::fromLatin1(QUrl::fromLocalFile(dog).toEncoded())});
    PageViewer::Instance().close();
    {
        FakeOpener opener(0);
        EXPECT_TRUE(QtBackend().ShellOpen(dog));
        EXPECT_EQ(opener.Arguments(), address);
        EXPECT_FALSE(ShownInOwnWindow(dog, 200));
    }
    {
        FakeOpener opener(3); // what the opener says when it has no program for a page
        EXPECT_TRUE(QtBackend().ShellOpen(dog));
        EXPECT_EQ(opener.Arguments(), address);
        ASSERT_TRUE(ShownInOwnWindow(dog));
        PageViewer& viewer = PageViewer::Instance();
        EXPECT_TRUE(viewer.isReadOnly());
        EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Dog"));
        EXPECT_TRUE(viewer.toPlainText().contains(QStringLiteral("A loyal companion.")));
    }
    {
        FakeOpener none(std::nullopt);
        EXPECT_TRUE(QtBackend().ShellOpen(cat));
        EXPECT_TRUE(ShownInOwnWindow(cat, 0)); // at once: there is nothing to wait for
        EXPECT_EQ(PageViewer::Instance().windowTitle(), QStringLiteral("Cat.HTML"));
    }
    PageViewer::Instance().close();
}

// The page window reads a page from a stranger's knowledge base: what it refers to comes
// only from regular files, its links follow the rules of ShellOpen, and a page that
// names no charset is read in the code page of the knowledge base.
TEST(PageViewer, ShowsAPageWithoutWaitingOnWhatItRefersTo) {
    QTemporaryDir kb;
    const QString photo = MakePipe(kb, QStringLiteral("photo.png"));
    const QString look = MakePipe(kb, QStringLiteral("look.css"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(kb.filePath(QStringLiteral("red.png"))));
    const QString page =
        WriteFile(kb, QStringLiteral("dog.htm"),
                  "<html><head><link rel=\"stylesheet\" href=\"look.css\"></head><body>"
                  "<p>Caf\xe9 dog <img src=\"photo.png\"> <img src=\"red.png\"> "
                  "<img src=\"/dev/zero\"></p><a name=\"part\">Part</a></body></html>");
    PageViewer viewer;
    EXPECT_FALSE(WaitedOnPipe(photo, [&] {
        EXPECT_FALSE(WaitedOnPipe(look, [&] {
            ASSERT_TRUE(viewer.ShowPage(page));
            viewer.grab(); // lays the page out, pictures and all
        }));
    }));
    EXPECT_TRUE(viewer.toPlainText().contains(QStringLiteral("Caf\u00e9 dog")));
    const QVariant red = viewer.document()->resource(
        QTextDocument::ImageResource, QUrl::fromLocalFile(kb.filePath(QStringLiteral("red.png"))));
    EXPECT_EQ(red.value<QImage>().size(), QSize(4, 4));

    platform::ScriptedBackend scripted;
    emit viewer.anchorClicked(QUrl(QStringLiteral("#part")));
    emit viewer.anchorClicked(QUrl(QStringLiteral("pages/cat.htm")));
    emit viewer.anchorClicked(QUrl(QStringLiteral("https://example.org/pets")));
    EXPECT_EQ(scripted.OpenedPages(), QStringList({kb.filePath(QStringLiteral("pages/cat.htm")),
                                                   QStringLiteral("https://example.org/pets")}));

    // Not a page: the window keeps what it showed.
    const QString pipePage = MakePipe(kb, QStringLiteral("pipe.htm"));
    EXPECT_FALSE(WaitedOnPipe(pipePage, [&] { EXPECT_FALSE(viewer.ShowPage(pipePage)); }));
    EXPECT_EQ(viewer.CurrentPage(), page);
}

// A page laid out whole could freeze the window for minutes: a megabyte of one word, or
// a sparse file of gigabytes. The window shows the start of a long page, says that the
// rest is left out, and never has a run of text it cannot break.
TEST(PageViewer, ShowsOnlyTheStartOfAHugePageAndBreaksEndlessWords) {
    QTemporaryDir kb;
    const QString sparse = WriteFile(kb, QStringLiteral("sparse.htm"), "<p>");
    ASSERT_TRUE(QFile(sparse).resize(qint64{8} << 30));
    const QString word =
        WriteFile(kb, QStringLiteral("word.htm"), "<p>" + QByteArray(2 << 20, 'x') + "</p>");
    // A break falls due inside the entity: it goes after it.
    const QString entity =
        WriteFile(kb, QStringLiteral("entity.htm"), "<p>" + QByteArray(78, 'y') + "&amp;z</p>");
    PageViewer viewer;
    const QString note = QStringLiteral("The rest of this page is too long to be shown here.");
    for (const QString& page : {sparse, word}) {
        ASSERT_TRUE(viewer.ShowPage(page));
        const QString text = viewer.toPlainText();
        EXPECT_TRUE(text.endsWith(note)) << page.toStdString();
        qsizetype run = 0;
        qsizetype longest = 0;
        for (const QChar c : text) {
            run = c.isSpace() || c == QChar(0x200B) ? 0 : run + 1;
            longest = std::max(longest, run);
        }
        EXPECT_LE(longest, 100) << page.toStdString();
    }
    ASSERT_TRUE(viewer.ShowPage(entity));
    EXPECT_EQ(viewer.toPlainText().remove(QChar(0x200B)), QString(78, u'y') + QStringLiteral("&z"));
}
