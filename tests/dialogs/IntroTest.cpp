#include "dialogs/Intro.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using dialogs::Intro;

namespace {

QSize PictureSize(const Intro& intro) {
    return intro.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().size();
}

} // namespace

TEST(Intro, GivesWayToTheMainWindowAfterItsTimer) {
    int made = 0;
    QElapsedTimer since;
    since.start();
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
    EXPECT_GE(since.elapsed(), 2900); // not before its three seconds
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

// The splash's three seconds are its timer's: one shot of 3000 ms, running from the moment
// the splash is made.
TEST(Intro, TimerRunsOnceForThreeSeconds) {
    QElapsedTimer since;
    since.start();
    Intro intro(nullptr);
    auto* timer = intro.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    ASSERT_TRUE(timer->isActive());
    EXPECT_GT(timer->remainingTime(), 3000 - 500 - since.elapsed());
    EXPECT_LE(timer->remainingTime(), 3000);
    EXPECT_EQ(intro.MainForm(), nullptr);
}

// The picture starts 120 twips left of the client area: 8 pixels, a negative offset
// rounded as a positive one is.
TEST(Intro, PictureStartsEightPixelsLeftOfTheWindow) {
    Intro intro(nullptr);
    const QRect place = intro.findChild<QLabel*>(QStringLiteral("Picture1"))->geometry();
    EXPECT_EQ(place.topLeft(), QPoint(-8, 0));
    EXPECT_EQ(place.size(), QSize(429, 322));
    EXPECT_EQ(intro.size(), QSize(411, 320));

    for (int twips = 0; twips <= 300; ++twips)
        ASSERT_EQ(platform::TwipsToPixels(-twips), -platform::TwipsToPixels(twips)) << twips;
    EXPECT_EQ(platform::TwipsToPixels(7), 0);
    EXPECT_EQ(platform::TwipsToPixels(8), 1);
    EXPECT_EQ(platform::TwipsToPixels(-8), -1);
    EXPECT_EQ(platform::TwipsRect(-120, -7, 30, 15), QRect(-8, 0, 2, 1));
}
