#include "platform/HelpViewer.h"
#include "platform/HelpFile.h"
#include "platform/HelpPage.h"
#include "platform/ProgramInfo.h"
#include "tests/support/InFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

using platform::HelpCommand;
using platform::HelpFile;
using platform::HelpViewer;

namespace {

const QString kSample = QStringLiteral(CORVANE_SAMPLE_HELP);

// A viewer over help files written into a program folder of its own, with its controls.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Program.isValid());
        platform::SetProgramFolder(m_Program.path());
    }
    void TearDown() override { platform::SetProgramFolder({}); }

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(m_Program.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    void WriteSample(const QString& name) {
        QFile sample(kSample);
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        Write(name, sample.readAll());
    }
    // Opens name and waits until the viewer takes keys.
    void Open(const QString& name, HelpCommand command) {
        m_Viewer.Open(name, command);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_Viewer));
    }
    template <typename T> T* Get(const char* name) {
        T* child = m_Viewer.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Shown() { return Get<QTextBrowser>("TopicView")->toPlainText(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    QTemporaryDir m_Program;
    HelpViewer m_Viewer;
};

} // namespace

using testsupport::InFolder;

TEST(HelpFile, ReadsTitleIntroductionTopicsAndIndex) {
    HelpFile file;
    ASSERT_TRUE(file.Load(kSample));
    EXPECT_EQ(file.Title(), QStringLiteral("Sample Help"));
    EXPECT_TRUE(file.Introduction().startsWith(QStringLiteral("This is a short help file")));
    ASSERT_EQ(file.Topics().size(), 3U);
    EXPECT_EQ(file.Topics()[1].title, QStringLiteral("Saving"));
    EXPECT_EQ(file.Topics()[1].keywords,
              QStringList(
                  {QStringLiteral("saving"), QStringLiteral("files"), QStringLiteral("loading")}));

    // "Loading" and "loading" are one entry pointing at both topics; sorted without case.
    const auto index = file.Index();
    QStringList keywords;
    for (const auto& entry : index) {
        keywords << entry.first;
    }
    EXPECT_EQ(keywords, QStringList({QStringLiteral("files"), QStringLiteral("Loading"),
                                     QStringLiteral("saving"), QStringLiteral("start"),
                                     QStringLiteral("symbols")}));
    EXPECT_EQ(index[1].second, std::vector<int>({0, 1}));

    file.Parse(QStringLiteral("just text\r\nno headings\r= not a title"));
    EXPECT_TRUE(file.Title().isEmpty());
    EXPECT_TRUE(file.Topics().empty());
    EXPECT_EQ(file.Introduction(), QStringLiteral("just text\nno headings\n= not a title"));
    EXPECT_FALSE(file.Load(QStringLiteral("/no/such/file.hlp")));
}

// A named pipe in the help file's place is refused at once: opened first and checked
// after, it is never waited on.
TEST(HelpFile, APipeInItsPlaceIsRefusedAtOnce) {
    QTemporaryDir dir;
    const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("Mirel.hlp")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    auto loaded = std::async(std::launch::async, [&] {
        HelpFile file;
        return file.Load(QFile::decodeName(pipe));
    });
    const bool waited = loaded.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
    if (waited) {
        ::close(::open(pipe.constData(), O_WRONLY | O_NONBLOCK)); // lets the reader go
    }
    EXPECT_FALSE(waited) << "the help file's reader waited on a pipe";
    EXPECT_FALSE(loaded.get());
}

// A keyword given twice in one topic, in any case, lists that topic once: the index entry
// names it once, and its topic is shown straight away rather than a list of one topic twice.
TEST(HelpFile, AKeywordGivenTwiceInATopicListsItOnce) {
    HelpFile file;
    file.Parse(QStringLiteral("= Pets\n== Dogs\nkeywords: pets, dogs, Pets\nAbout dogs.\n"
                              "== Cats\nkeywords: cats, pets\nAbout cats.\n"));
    const auto index = file.Index();
    ASSERT_EQ(index.size(), 3u);
    EXPECT_EQ(index[2].first, QStringLiteral("pets"));
    EXPECT_EQ(index[2].second, std::vector<int>({0, 1}));
    EXPECT_EQ(index[1].second, std::vector<int>({0}));
}

TEST(HelpFile, LocatesInCurrentThenProgramFolderIgnoringCase) {
    QTemporaryDir current;
    QTemporaryDir program;
    ASSERT_TRUE(QFile::copy(kSample, program.filePath(QStringLiteral("Mirel.hlp"))));
    platform::SetProgramFolder(program.path());
    InFolder in(current.path());

    EXPECT_EQ(HelpFile::Locate(QStringLiteral(".\\Mirel.hlp")),
              program.filePath(QStringLiteral("Mirel.hlp")));
    EXPECT_EQ(HelpFile::Locate(QStringLiteral(".\\MIREL.HLP")),
              program.filePath(QStringLiteral("Mirel.hlp")));
    ASSERT_TRUE(QFile::copy(kSample, current.filePath(QStringLiteral("mirel.HLP"))));
    EXPECT_EQ(HelpFile::Locate(QStringLiteral(".\\Mirel.hlp")),
              current.filePath(QStringLiteral("mirel.HLP")));
    EXPECT_EQ(HelpFile::Locate(QStringLiteral(".\\Halvet.HLP")), QString());
    EXPECT_EQ(HelpFile::Locate(QString()), QString());
    platform::SetProgramFolder({});
}

TEST(HelpViewer, OpensAtContentsOrAtAnEmptyKeywordIndex) {
    QTemporaryDir program;
    ASSERT_TRUE(QFile::copy(kSample, program.filePath(QStringLiteral("Drosk.HLP"))));
    platform::SetProgramFolder(program.path());

    HelpViewer viewer;
    auto* tabs = viewer.findChild<QTabWidget*>(QStringLiteral("HelpTabs"));
    auto* keywordBox = viewer.findChild<QLineEdit*>(QStringLiteral("KeywordBox"));
    auto* keywords = viewer.findChild<QListView*>(QStringLiteral("KeywordList"));
    auto* topics = viewer.findChild<QListView*>(QStringLiteral("TopicList"));
    auto* view = viewer.findChild<QTextBrowser*>(QStringLiteral("TopicView"));
    ASSERT_TRUE(tabs && keywordBox && keywords && topics && view);

    viewer.Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::Contents);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Sample Help"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(topics->model()->rowCount(), 3);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Getting started")));

    // The index starts with an empty keyword every time.
    for (int call = 0; call < 2; ++call) {
        viewer.Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::KeywordSearch);
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_EQ(keywordBox->text(), QString());
        EXPECT_EQ(keywords->model()->rowCount(), 5);
        QTest::keyClicks(keywordBox, QStringLiteral("sy"));
    }
    EXPECT_EQ(keywords->currentIndex().data().toString(), QStringLiteral("symbols"));
    QTest::keyClick(keywordBox, Qt::Key_Return);
    // Help text is shown as text, never as markup.
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Text like <b>this</b> & that")));

    viewer.Open(QStringLiteral(".\\Halvet.HLP"), HelpCommand::Contents);
    EXPECT_TRUE(viewer.CurrentPath().isEmpty());
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Cannot find the help file")));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral(".\\Halvet.HLP")));
    EXPECT_EQ(topics->model()->rowCount(), 0);
    EXPECT_EQ(keywords->model()->rowCount(), 0);
    platform::SetProgramFolder({});
}

// The keyword index moves to the first keyword that begins with what is typed and opens
// only what is chosen: text that begins no keyword chooses nothing, says so, and Enter
// then opens nothing, even when an existing keyword begins the text.
TEST_F(ViewerTest, KeywordSearchOpensOnlyAKeywordThatIsThere) {
    WriteSample(QStringLiteral("Mirel.hlp"));
    Open(QStringLiteral(".\\Mirel.hlp"), HelpCommand::KeywordSearch);
    auto* box = Get<QLineEdit>("KeywordBox");
    auto* keywords = Get<QListView>("KeywordList");
    auto* status = Get<QLabel>("KeywordStatus");
    ASSERT_TRUE(box && keywords);
    auto said = [status] { return status && status->isVisible() ? status->text() : QString(); };
    ASSERT_EQ(QApplication::focusWidget(), box);
    const QString contents = Shown();
    auto chosen = [keywords] { return keywords->currentIndex().data().toString(); };

    // After every keyword, after the last that begins it, and between two keywords.
    for (const char* typed : {"zzz", "m", "g", "loadingz", "symbolsx"}) {
        SCOPED_TRACE(typed);
        box->clear();
        QTest::keyClicks(box, QString::fromLatin1(typed));
        EXPECT_FALSE(keywords->currentIndex().isValid());
        EXPECT_FALSE(keywords->selectionModel()->hasSelection());
        EXPECT_EQ(said(), QStringLiteral("No topic found"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(Shown(), contents);
    }
    QTest::keyClick(box, Qt::Key_Backspace); // "symbols" again, a keyword
    EXPECT_EQ(chosen(), QStringLiteral("symbols"));
    EXPECT_EQ(said(), QString());
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Symbols & <marks>")));

    box->clear();
    QTest::keyClicks(box, QStringLiteral("LOA"));
    EXPECT_EQ(chosen(), QStringLiteral("Loading"));
    QTest::keyClick(box, Qt::Key_Return); // two topics carry it
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Topics found for \"Loading\"")));
}

// Keyboard only: at open the first key is of use; Back and Contents move between the
// pages shown; Esc and Ctrl+W close the window.
TEST_F(ViewerTest, BackContentsAndClosingFromTheKeyboard) {
    WriteSample(QStringLiteral("Drosk.HLP"));
    Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::Contents);
    auto* topics = Get<QListView>("TopicList");
    auto* back = Get<QPushButton>("BackButton");
    ASSERT_TRUE(topics);
    auto canGoBack = [back] { return back && back->isEnabled(); };
    const QString contents = Shown();
    EXPECT_TRUE(contents.startsWith(QStringLiteral("Sample Help")));
    EXPECT_FALSE(canGoBack());

    // The topic list has the focus, at its first topic.
    ASSERT_EQ(QApplication::focusWidget(), topics);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Saving")));
    EXPECT_TRUE(canGoBack());
    Key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), contents);
    EXPECT_FALSE(canGoBack());

    // Back retraces every step, a link followed from the contents page too.
    emit Get<QTextBrowser>("TopicView")->anchorClicked(QUrl(QStringLiteral("topic:2")));
    Key(Qt::Key_Up); // the list marks the topic the link showed, so Up is Saving
    Key(Qt::Key_Return);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Saving")));
    Key(Qt::Key_Backspace);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Symbols")));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), contents);
    Key(Qt::Key_Backspace); // nothing further back
    EXPECT_EQ(Shown(), contents);

    // Contents from any page, and the keyword box keeps Backspace for itself.
    Key(Qt::Key_Return);
    Key(Qt::Key_C, Qt::AltModifier); // the button's mnemonic, which clicks it shortly after
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown() == contents; }));
    Get<QTabWidget>("HelpTabs")->setCurrentIndex(1);
    auto* box = Get<QLineEdit>("KeywordBox");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("sav"));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("sa"));
    EXPECT_EQ(Shown(), contents);

    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_Viewer.isVisible());
    Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::Contents);
    EXPECT_FALSE(canGoBack()); // a new request starts afresh
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(m_Viewer.isVisible());
}

// The contents list marks the topic shown, whether it was reached from the list, a link,
// the index or Back, and no topic on the contents page. The window opens centred, as
// every window of the programs does, and Enter presses its focused button.
TEST_F(ViewerTest, ContentsListMarksTheTopicShownAndTheWindowOpensCentred) {
    WriteSample(QStringLiteral("Mirel.hlp"));
    Open(QStringLiteral(".\\Mirel.hlp"), HelpCommand::Contents);
    const QRect screen = m_Viewer.screen()->availableGeometry();
    EXPECT_LE((m_Viewer.frameGeometry().center() - screen.center()).manhattanLength(), 4)
        << "at " << m_Viewer.x() << "," << m_Viewer.y();

    auto* topics = Get<QListView>("TopicList");
    const auto marked = [topics] {
        QList<int> rows;
        for (const QModelIndex& index : topics->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    };
    EXPECT_EQ(marked(), QList<int>()) << "the contents page is no topic";
    Key(Qt::Key_Return);
    EXPECT_EQ(marked(), QList<int>({0}));
    emit Get<QTextBrowser>("TopicView")->anchorClicked(QUrl(QStringLiteral("topic:2")));
    EXPECT_EQ(marked(), QList<int>({2})) << "a link followed moves the mark";
    Key(Qt::Key_Backspace);
    EXPECT_EQ(marked(), QList<int>({0})) << "and Back moves it back";
    Get<QPushButton>("ContentsButton")->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(marked(), QList<int>());
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Sample Help")));

    Get<QTabWidget>("HelpTabs")->setCurrentIndex(1);
    auto* box = Get<QLineEdit>("KeywordBox");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("sav"));
    Key(Qt::Key_Return);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Saving")));
    EXPECT_EQ(marked(), QList<int>({1})) << "a topic found in the index is marked too";
}

// A file that has nothing to show says why instead of showing two blank panes.
TEST_F(ViewerTest, EmptyAndNonTextFilesSaySo) {
    const struct {
        const char* why;
        QByteArray bytes;
        const char* heading;
    } cases[] = {{"nothing", "", "The help file is empty"},
                 {"blanks", " \r\n\t\n\n", "The help file is empty"},
                 {"NUL bytes", QByteArray("= Help\n\0\x01\x02", 10), "Cannot read the help file"},
                 {"UTF-16", QByteArray("\xFF\xFE=\0 \0H\0", 8), "Cannot read the help file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Write(QStringLiteral("Mirel.hlp"), c.bytes);
        Open(QStringLiteral(".\\Mirel.hlp"), HelpCommand::Contents);
        EXPECT_TRUE(Shown().startsWith(QString::fromLatin1(c.heading))) << Shown().toStdString();
        EXPECT_TRUE(Shown().contains(m_Program.filePath(QStringLiteral("Mirel.hlp"))));
        EXPECT_EQ(Get<QListView>("TopicList")->model()->rowCount(), 0);
    }
}

// A file over the viewer's limit shows its topics up to the last one that ends within
// it, each whole, and says that the rest is not shown.
TEST_F(ViewerTest, OversizedFileIsCutBeforeATopicAndSaysSo) {
    QByteArray text = "= Big Help\nIntroduction.\n";
    int topics = 0;
    while (text.size() <= HelpFile::kMaxBytes + 100) {
        text += "== Topic " + QByteArray::number(topics) + "\nThe body of topic " +
                QByteArray::number(topics) + " ends here.\n";
        ++topics;
    }
    Write(QStringLiteral("Mirel.hlp"), text);
    // The topics whose headings begin before the last heading within the limit.
    const qsizetype kept = text.left(HelpFile::kMaxBytes + 2).count("\n==") - 1;
    ASSERT_LT(kept, topics);

    Open(QStringLiteral(".\\Mirel.hlp"), HelpCommand::Contents);
    EXPECT_TRUE(Shown().contains(QStringLiteral("Only its first %1 topics are shown; the rest "
                                                "of the file is not.")
                                     .arg(kept)));
    auto* list = Get<QListView>("TopicList");
    ASSERT_EQ(list->model()->rowCount(), kept);
    emit list->activated(list->model()->index(static_cast<int>(kept) - 1, 0));
    EXPECT_EQ(Shown(), QStringLiteral("Topic %1\nThe body of topic %1 ends here.").arg(kept - 1));
}

// A few megabytes of short topics show at once and whole, the contents page in parts that
// link to each other.
TEST_F(ViewerTest, LargeFileShowsWholeWithItsContentsInParts) {
    constexpr int kTopics = 60000;
    QByteArray text = "= Many Topics\nEvery topic is listed below.\n";
    for (int t = 0; t < kTopics; ++t) {
        const QByteArray n = QByteArray::number(t);
        text += "== Topic " + n + "\nBody " + n + ".\n";
    }
    Write(QStringLiteral("Mirel.hlp"), text);
    Open(QStringLiteral(".\\Mirel.hlp"), HelpCommand::Contents);
    auto* view = Get<QTextBrowser>("TopicView");
    EXPECT_EQ(Get<QListView>("TopicList")->model()->rowCount(), kTopics);

    // Each part holds a bounded number of links; together they hold every topic once.
    const int blocks = kTopics + 1; // the introduction, then a link per topic
    const int parts =
        (blocks + platform::HelpPage::kBlocksPerPart - 1) / platform::HelpPage::kBlocksPerPart;
    EXPECT_TRUE(Shown().contains(QStringLiteral("Part 1 of %1").arg(parts)));
    int linked = 0;
    for (int part = 0; part < parts; ++part) {
        if (part > 0)
            emit view->anchorClicked(QUrl(QStringLiteral("part:%1").arg(part)));
        const QTextDocument* page = view->document();
        EXPECT_LE(page->blockCount(), platform::HelpPage::kBlocksPerPart + 4) << part;
        for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
            if (block.textList() && block.text() == QStringLiteral("Topic %1").arg(linked))
                ++linked;
        }
    }
    EXPECT_EQ(linked, kTopics);
    EXPECT_TRUE(Shown().contains(QStringLiteral("Part %1 of %1").arg(parts)));
    emit view->anchorClicked(QUrl(QStringLiteral("topic:%1").arg(kTopics - 1)));
    EXPECT_EQ(Shown(), QStringLiteral("Topic %1\nBody %1.").arg(kTopics - 1));
}

TEST(HelpFile, CutsOnlyBeforeATopicHeading) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cut.hlp"));
    const QByteArray text = "\xEF\xBB\xBF= T\r\nintro\r\n== A\r\nal\xC3\xA9 a\r\n== B\r\nbbb\r\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    const qint64 b = text.indexOf("== B") - 3; // counted after the byte-order mark

    struct Row {
        qint64 limit;
        QStringList titles;
        bool cut;
    };
    for (const Row& row : {Row{text.size(), {"A", "B"}, false}, Row{b + 6, {"A"}, true},
                           Row{b, {"A"}, true}, Row{b - 1, {}, true}, Row{2, {}, true}}) {
        SCOPED_TRACE(row.limit);
        HelpFile help;
        ASSERT_TRUE(help.Load(path, row.limit));
        QStringList titles;
        for (const HelpFile::Topic& topic : help.Topics())
            titles << topic.title;
        EXPECT_EQ(titles, row.titles);
        EXPECT_EQ(help.IsCut(), row.cut);
        if (!titles.isEmpty()) {
            EXPECT_EQ(help.Title(), QStringLiteral("T"));
            EXPECT_EQ(help.Topics()[0].body, QStringLiteral("al\u00e9 a"));
        }
    }
}

// However long a page, its parts show every paragraph, list item and character once and
// in order, each part small enough to lay out at once.
TEST(HelpPage, LongPagesAreShownWholeInParts) {
    QString body;
    for (int p = 0; p < 1500; ++p)
        body += QStringLiteral("Paragraph %1 has\n  two lines.\n\n").arg(p);
    for (int i = 0; i < 700; ++i)
        body += QStringLiteral("- item %1\n").arg(i);
    const QString word(100003, u'w');
    body += QStringLiteral("\n") + word + QStringLiteral("\n\nlast\n");
    const std::vector<HelpFile::Topic> none;
    const platform::HelpPage page(QStringLiteral("Long"), {}, body, {}, none);
    ASSERT_GT(page.PartCount(), 1);

    QStringList paragraphs;
    QStringList items;
    QString joined;
    for (int part = 0; part < page.PartCount(); ++part) {
        QTextDocument document;
        document.setHtml(page.PartHtml(part));
        EXPECT_LE(document.blockCount(), platform::HelpPage::kBlocksPerPart + 3) << part;
        EXPECT_LE(document.characterCount(), platform::HelpPage::kCharsPerPart + 200) << part;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            QString text = block.text();
            text.remove(QChar(0x200B));
            if (text.startsWith(u'w'))
                joined += text;
            else if (block.textList())
                items << text;
            else if (text.startsWith(QStringLiteral("Paragraph")) || text == QStringLiteral("last"))
                paragraphs << text;
        }
    }
    ASSERT_EQ(paragraphs.size(), 1501);
    for (int p = 0; p < 1500; ++p)
        EXPECT_EQ(paragraphs[p], QStringLiteral("Paragraph %1 has two lines.").arg(p));
    EXPECT_EQ(paragraphs.last(), QStringLiteral("last"));
    ASSERT_EQ(items.size(), 700);
    for (int i = 0; i < 700; ++i)
        EXPECT_EQ(items[i], QStringLiteral("item %1").arg(i));
    EXPECT_EQ(joined, word);
}
