#include "platform/PageLocation.h"
#include "platform/HelpFile.h"
#include "platform/ProgramInfo.h"
#include "tests/support/InFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;
using testsupport::InFolder;

namespace {

QString Touch(const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return path;
}

} // namespace

// An installation keeps the programs in bin/ and their files in share/corvane/; a build
// keeps both side by side. Either way the files are found, whatever the case of a name
// written on a system that ignores case.
TEST(ProgramFiles, FoundBesideTheProgramThenInTheInstalledFolderInAnyCase) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QDir bin(prefix.filePath(QStringLiteral("bin")));
    const QDir share(prefix.filePath(QStringLiteral("share/corvane")));
    ASSERT_TRUE(QDir().mkpath(bin.path()) && QDir().mkpath(share.path()));
    SetProgramFolder(bin.path());
    EXPECT_EQ(QDir::fromNativeSeparators(InstalledFilesFolder()), share.path());

    const QString installedHelp = Touch(share, QStringLiteral("nohelp.htm"));
    const QString installedDesc = Touch(share, QStringLiteral("NoDesc.Htm"));
    const QString besideHelp = Touch(bin, QStringLiteral("NOHELP.HTM"));
    const QString hlp = Touch(share, QStringLiteral("MIREL.HLP"));
    const QString home = Touch(share, QStringLiteral("corvane-home.htm"));

    EXPECT_EQ(FindProgramFile(QStringLiteral("NoHelp.htm")), besideHelp) << "the program's own";
    EXPECT_EQ(FindProgramFile(QStringLiteral("NODESC.HTM")), installedDesc);
    EXPECT_EQ(InProgramFolder(QStringLiteral("nodesc.htm")), installedDesc);
    EXPECT_EQ(HomePage(), home);
    EXPECT_EQ(FindProgramFile(QStringLiteral("missing.htm")), QString());
    EXPECT_EQ(InProgramFolder(QStringLiteral("Missing.htm")),
              bin.filePath(QStringLiteral("Missing.htm")))
        << "a missing file is named as written, where the program is";
    EXPECT_EQ(FindProgramFile(QString()), QString());
    QFile::remove(besideHelp);
    EXPECT_EQ(FindProgramFile(QStringLiteral("NoHelp.htm")), installedHelp);

    QTemporaryDir elsewhere;
    InFolder in(elsewhere.path());
    EXPECT_EQ(HelpFile::Locate(QStringLiteral(".\\Mirel.hlp")), hlp);
    SetProgramFolder({});
}

// A knowledge base names its own pages relative to itself; the program may have been
// started anywhere.
TEST(PageLocation, RelativePagesComeFromTheCurrentFolderThenBesideTheQuestionSet) {
    QTemporaryDir kb;
    QTemporaryDir current;
    ASSERT_TRUE(kb.isValid() && current.isValid());
    const QDir kbDir(kb.path());
    const QString dog = Touch(kbDir, QStringLiteral("dog.htm"));
    const QString cat = Touch(kbDir, QStringLiteral("pages/cat.htm"));
    InFolder in(current.path());

    SetQuestionSetFile({});
    EXPECT_EQ(ResolvePage(QStringLiteral("dog.htm")), QStringLiteral("dog.htm"));

    SetQuestionSetFile(kbDir.filePath(QStringLiteral("pets.qst")));
    EXPECT_EQ(QuestionSetFolder(), kb.path());
    EXPECT_EQ(ResolvePage(QStringLiteral("dog.htm")), dog);
    EXPECT_EQ(ResolvePage(QStringLiteral("pages/cat.htm")), cat);
    for (const QString& unchanged : {QStringLiteral("missing.htm"), QStringLiteral(" dog.htm"),
                                     QStringLiteral("https://example.org/dog.htm"),
                                     QStringLiteral("/srv/dog.htm"), QString()}) {
        EXPECT_EQ(ResolvePage(unchanged), unchanged) << unchanged.toStdString();
    }

    // Named in another case, as a knowledge base made where case does not count names it;
    // a file of the very name comes first.
    EXPECT_EQ(ResolvePage(QStringLiteral("DOG.HTM")), dog);
    EXPECT_EQ(ResolvePage(QStringLiteral("Pages/Cat.HTM")), cat);
    const QString exact = Touch(kbDir, QStringLiteral("Dog.htm"));
    EXPECT_EQ(ResolvePage(QStringLiteral("Dog.htm")), exact);
    EXPECT_EQ(ResolvePage(QStringLiteral("dog.htm")), dog);
    EXPECT_EQ(ResolvePage(QStringLiteral("PAGES")), QStringLiteral("PAGES")) << "no file";

    Touch(QDir(current.path()), QStringLiteral("dog.htm"));
    EXPECT_EQ(ResolvePage(QStringLiteral("dog.htm")), QStringLiteral("dog.htm"))
        << "the current folder comes first";
    SetQuestionSetFile({});
    EXPECT_EQ(ResolvePage(QStringLiteral("pages/cat.htm")), QStringLiteral("pages/cat.htm"));
}
