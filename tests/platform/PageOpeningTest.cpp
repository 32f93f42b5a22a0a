#include "platform/PageViewer.h"
#include "platform/QtBackend.h"
#include "platform/ScriptedBackend.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

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

// Runs act while a watchdog, after three seconds, keeps freeing whatever waits on the
// named pipe (opening its other end lets a reader's open return, closing it ends the
// read), so code that blocks on the pipe fails its test instead of hanging it. True when
// act had to be freed.
bool WaitedOnPipe(const QString& pipe, const std::function<void()>& act) {
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    bool fired = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (int ms = 3000;
             !wake.wait_for(lock, std::chrono::milliseconds(ms), [&] { return done; }); ms = 50) {
            fired = true;
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
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

// PATH holds only a stand-in for the desktop's page opener that logs its arguments, one a
// line, and ends with exitCode; or, with no exit code, no opener at all.
class FakeOpener {
public:
    explicit FakeOpener(std::optional<int> exitCode) : m_Path(qgetenv("PATH")) {
        if (exitCode)
            WriteFile(m_Dir, QStringLiteral("xdg-open"),
                      QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >'%1.part'\n"
                                     "/bin/mv '%1.part' '%1'\nexit %2\n")
                          .arg(Log())
                          .arg(*exitCode)
                          .toUtf8());
        QFile::setPermissions(m_Dir.filePath(QStringLiteral("xdg-open")),
                              QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_Dir.path()));
    }
    ~FakeOpener() { qputenv("PATH", m_Path); }

    QString Log() const { return m_Dir.filePath(QStringLiteral("opened.log")); }
    QStringList Arguments() const {
        for (int waited = 0; waited < 5000 && !QFileInfo::exists(Log()); waited += 10)
            QTest::qWait(10);
        QFile log(Log());
        return log.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

private:
    QByteArray m_Path;
    QTemporaryDir m_Dir;
};

// Whether the program's page window shows path, letting events run for up to withinMs.
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
    const QString pipePage = MakePipe(kb, QStringLiteral("dog.htm"));
    const QString link = kb.filePath(QStringLiteral("cat.htm"));
    ASSERT_TRUE(QFile::link(pipePage, link));
    for (const QString& target : {pipePage, MakePipe(kb, QStringLiteral("notes")), link,
                                  QUrl::fromLocalFile(pipePage).toString()}) {
        EXPECT_FALSE(WaitedOnPipe(target.startsWith(u'/') ? target : pipePage, [&] {
            EXPECT_FALSE(QtBackend::UrlFor(target).isValid());
            EXPECT_FALSE(QtBackend().ShellOpen(target));
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
                                  "<title>Dog</title><p>A loyal companion.</p>");
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
        EXPECT_TRUE(PageViewer::Instance().isReadOnly());
        EXPECT_EQ(PageViewer::Instance().windowTitle(), QStringLiteral("Dog"));
        EXPECT_TRUE(PageViewer::Instance().toPlainText().contains(u"A loyal companion."));
    }
    {
        FakeOpener none(std::nullopt);
        EXPECT_TRUE(QtBackend().ShellOpen(cat));
        EXPECT_TRUE(ShownInOwnWindow(cat, 0)); // at once: there is nothing to wait for
        EXPECT_EQ(PageViewer::Instance().windowTitle(), QStringLiteral("Cat.HTML"));
    }
    PageViewer::Instance().close();
}

// The page window closes from the keyboard, as the help window does.
TEST(PageViewer, EscAndCtrlWCloseIt) {
    QTemporaryDir kb;
    const QString page = WriteFile(kb, QStringLiteral("dog.htm"), "<p>A loyal companion.</p>");
    PageViewer& viewer = PageViewer::Instance();
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
        const QString name = QKeySequence(key).toString();
        ASSERT_TRUE(viewer.ShowPage(page));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer)) << name.toStdString();
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(viewer.isVisible()) << name.toStdString() << " leaves the page window open";
    }
}

// The page window reads pages from a stranger's knowledge base: what a page refers to
// comes only from regular files, links follow the rules of ShellOpen, a page without a
// charset is read in the knowledge base's code page, and a page that would take minutes
// to lay out (a sparse file of gigabytes, a megabyte of one word) is shown in part, with
// every run of text breakable.
TEST(PageViewer, ShowsAStrangersPageWithoutWaitingOrFreezing) {
    QTemporaryDir kb;
    const QString photo = MakePipe(kb, QStringLiteral("photo.png"));
    const QString look = MakePipe(kb, QStringLiteral("look.css"));
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(kb.filePath(QStringLiteral("red.png"))));
    const QString page = WriteFile(kb, QStringLiteral("dog.htm"),
                                   "<head><link rel=stylesheet href=look.css></head><p>Caf\xe9 "
                                   "dog <img src=photo.png><img src=red.png><img src=/dev/zero>");
    PageViewer viewer;
    EXPECT_FALSE(WaitedOnPipe(photo, [&] {
        EXPECT_FALSE(WaitedOnPipe(look, [&] {
            ASSERT_TRUE(viewer.ShowPage(page));
            viewer.grab(); // lays the page out, pictures and all
        }));
    }));
    EXPECT_TRUE(viewer.toPlainText().contains(u"Caf\u00e9 dog"));
    const QUrl redUrl = QUrl::fromLocalFile(kb.filePath(QStringLiteral("red.png")));
    EXPECT_EQ(viewer.document()
                  ->resource(QTextDocument::ImageResource, redUrl)
                  .value<QImage>()
                  .pixelColor(3, 3),
              QColor(Qt::red));

    platform::ScriptedBackend scripted;
    for (const char* link : {"#part", "pages/cat.htm", "https://example.org/pets"})
        emit viewer.anchorClicked(QUrl(QString::fromLatin1(link)));
    EXPECT_EQ(scripted.OpenedPages(), QStringList({kb.filePath(QStringLiteral("pages/cat.htm")),
                                                   QStringLiteral("https://example.org/pets")}));

    const QString sparse = WriteFile(kb, QStringLiteral("sparse.htm"), "<p>");
    ASSERT_TRUE(QFile(sparse).resize(qint64{8} << 30));
    const QString word = WriteFile(kb, QStringLiteral("word.htm"), QByteArray(2 << 20, 'x'));
    for (const QString& huge : {sparse, word}) {
        ASSERT_TRUE(viewer.ShowPage(huge));
        const QString text = viewer.toPlainText();
        EXPECT_TRUE(text.endsWith(u"The rest of this page is too long to be shown here."));
        qsizetype run = 0;
        for (const QChar c : text) {
            run = c.isSpace() || c == QChar(0x200B) ? 0 : run + 1;
            ASSERT_LE(run, 100) << huge.toStdString();
        }
    }
    // A page of exactly the most that is shown is shown whole, without the note.
    const QByteArray words = QByteArray("w ").repeated(platform::PageViewer::kMaxPageBytes / 2);
    for (const QByteArray& page : {words, words + "w"}) {
        ASSERT_TRUE(viewer.ShowPage(WriteFile(kb, QStringLiteral("exact.htm"), page)));
        EXPECT_EQ(
            viewer.toPlainText().endsWith(u"The rest of this page is too long to be shown here."),
            page.size() > platform::PageViewer::kMaxPageBytes)
            << page.size();
    }
    // A break that falls due inside an entity goes after it.
    ASSERT_TRUE(viewer.ShowPage(
        WriteFile(kb, QStringLiteral("entity.htm"), QByteArray(78, 'y') + "&amp;z")));
    EXPECT_EQ(viewer.toPlainText().remove(QChar(0x200B)), QString(78, u'y') + u'&' + u'z');

    // Markup too deep to lay out quickly is shown as the page's text, at once.
    const QByteArray deep = "<title>Deep</title>" + QByteArray("<table><tr><td>").repeated(14) +
                            "Deep &amp; dark" + QByteArray("</td></tr></table>").repeated(14);
    ASSERT_TRUE(viewer.ShowPage(WriteFile(kb, QStringLiteral("deep.htm"), deep)));
    EXPECT_EQ(viewer.toPlainText(),
              QStringLiteral("This page's markup is too deep to be laid out quickly; its text "
                             "is shown without it.\n\nDeep & dark\n"));
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("deep.htm"));

    // Not a page: the window keeps what it showed.
    const QString pipePage = MakePipe(kb, QStringLiteral("pipe.htm"));
    EXPECT_FALSE(WaitedOnPipe(pipePage, [&] { EXPECT_FALSE(viewer.ShowPage(pipePage)); }));
    EXPECT_TRUE(viewer.CurrentPage().endsWith(u"/deep.htm"));
}
