#include "platform/HelpViewer.h"
#include "platform/HelpFile.h"
#include "platform/ProgramInfo.h"
#include "tests/support/InFolder.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using platform::HelpCommand;
using platform::HelpFile;
using platform::HelpViewer;

namespace {

const QString kSample = QStringLiteral(CORVANE_SAMPLE_HELP);

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
    auto* keywords = viewer.findChild<QListWidget*>(QStringLiteral("KeywordList"));
    auto* topics = viewer.findChild<QListWidget*>(QStringLiteral("TopicList"));
    auto* view = viewer.findChild<QTextBrowser*>(QStringLiteral("TopicView"));
    ASSERT_TRUE(tabs && keywordBox && keywords && topics && view);

    viewer.Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::Contents);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Sample Help"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(topics->count(), 3);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Getting started")));

    // The index starts with an empty keyword every time.
    for (int call = 0; call < 2; ++call) {
        viewer.Open(QStringLiteral(".\\Drosk.HLP"), HelpCommand::KeywordSearch);
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_EQ(keywordBox->text(), QString());
        EXPECT_EQ(keywords->count(), 5);
        QTest::keyClicks(keywordBox, QStringLiteral("sy"));
    }
    EXPECT_EQ(keywords->currentItem()->text(), QStringLiteral("symbols"));
    QTest::keyClick(keywordBox, Qt::Key_Return);
    // Help text is shown as text, never as markup.
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Text like <b>this</b> & that")));

    viewer.Open(QStringLiteral(".\\Halvet.HLP"), HelpCommand::Contents);
    EXPECT_TRUE(viewer.CurrentPath().isEmpty());
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Cannot find the help file")));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral(".\\Halvet.HLP")));
    EXPECT_EQ(topics->count(), 0);
    EXPECT_EQ(keywords->count(), 0);
    platform::SetProgramFolder({});
}
