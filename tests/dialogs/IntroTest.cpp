#include "dialogs/Intro.h"
#include "platform/ProgramInfo.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using dialogs::Intro;

namespace {

QSize PictureSize(const Intro& intro) {
    return intro.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().size();
}

} // namespace

TEST(Intro, GivesWayToTheMainWindowAfterItsTimer) {
    int made = 0;
    Intro intro([&made] {
        ++made;
        auto* main = new QWidget();
        main->setObjectName(QStringLiteral("Main"));
        return main;
    });
    intro.show();
    EXPECT_EQ(made, 0);
    EXPECT_EQ(PictureSize(intro), QSize(420, 320));

    // The main window comes up by the timer's event, not before; the deadline keeps a
    // broken timer from hanging the run.
    QTRY_VERIFY_WITH_TIMEOUT(intro.MainForm() != nullptr && intro.MainForm()->isVisible(), 6000);
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(intro.isVisible());
    EXPECT_EQ(intro.MainForm()->objectName(), QStringLiteral("Main"));
    QTest::qWait(50);
    EXPECT_EQ(made, 1);
}

TEST(Intro, PictureBesideTheProgramReplacesTheBuiltInOne) {
    QTemporaryDir program;
    platform::SetProgramFolder(program.path());
    const QString logo = program.filePath(QStringLiteral("corvanelogo.bmp"));

    QImage picture(50, 40, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(logo, "BMP"));
    {
        Intro intro(nullptr);
        EXPECT_EQ(PictureSize(intro), QSize(50, 40));
    }

    // A file that is no picture keeps the built-in one.
    QFile broken(logo);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("BM this is not a picture");
    broken.close();
    {
        Intro intro(nullptr);
        EXPECT_EQ(PictureSize(intro), QSize(420, 320));
    }
    platform::SetProgramFolder({});
}
