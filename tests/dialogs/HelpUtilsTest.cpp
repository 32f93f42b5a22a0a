#include "dialogs/HelpUtils.h"
#include "platform/ProgramInfo.h"
#include "tests/support/InFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

// The install check: one line per file the program needs, and success only when all
// of them were found.
TEST(HelpUtils, ReportProgramFilesNamesEachFileAndFailsOnAMissingOne) {
    QTemporaryDir prefix;
    QTemporaryDir elsewhere;
    const QDir share(prefix.filePath(QStringLiteral("share/corvane")));
    ASSERT_TRUE(QDir().mkpath(share.path()) &&
                QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
    for (const char* name : {"nohelp.htm", "nodesc.htm", "corvane-home.htm", "Mirel.hlp"}) {
        QFile file(share.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    platform::SetProgramFolder(prefix.filePath(QStringLiteral("bin")));
    testsupport::InFolder in(elsewhere.path());

    QString text;
    QTextStream out(&text);
    EXPECT_EQ(dialogs::ReportProgramFiles(QStringLiteral(".\\Mirel.hlp"), out), 0);
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              QStringLiteral(".\\Mirel.hlp: ") + share.filePath(QStringLiteral("Mirel.hlp")));
    EXPECT_EQ(lines[1],
              QStringLiteral("nohelp.htm: ") + share.filePath(QStringLiteral("nohelp.htm")));

    text.clear();
    EXPECT_EQ(dialogs::ReportProgramFiles(QStringLiteral(".\\Drosk.HLP"), out), 1);
    lines = text.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral(".\\Drosk.HLP: not found"));
    platform::SetProgramFolder({});
}
