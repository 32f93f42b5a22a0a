#include "DroskFixture.h"

#include "platform/Twips.h"

#include <QFontMetrics>
#include <QGroupBox>

// The navigation frame as designed: each caption stands above the control it names, at its
// designed top, and covers no other control of the frame.
TEST_F(DroskTest, NavigationLabelsStandAboveTheirControlsWithoutOverlap) {
    MakeMain();
    auto* frame = Control<QGroupBox>(QStringLiteral("NavigationFrame"));
    ASSERT_NE(frame, nullptr);
    QLabel* recordCaption = Label(QStringLiteral("Label2"));
    QLabel* questionCaption = Label(QStringLiteral("Label1"));
    EXPECT_EQ(recordCaption->text(), QStringLiteral("Record Name"));
    EXPECT_EQ(questionCaption->text(), QStringLiteral("Question"));
    EXPECT_EQ(recordCaption->y(), platform::TwipsToPixels(120));
    EXPECT_EQ(questionCaption->y(), platform::TwipsToPixels(210));
    EXPECT_LE(recordCaption->geometry().bottom(), NameBox()->y() - 1);
    EXPECT_LE(questionCaption->geometry().bottom(), Label(QStringLiteral("QNoLabel"))->y() - 1);

    // Each caption still has the height of its letters.
    for (QLabel* caption : {recordCaption, questionCaption}) {
        const QFontMetrics metrics(caption->font());
        EXPECT_GE(caption->height(), metrics.ascent() + metrics.descent() - 2)
            << caption->objectName().toStdString();
    }

    // The buttons are designed to meet edge to edge; the captions must clear everything.
    const QList<QWidget*> controls =
        frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel* caption : {recordCaption, questionCaption}) {
        for (QWidget* other : controls) {
            if (other == caption)
                continue;
            EXPECT_FALSE(caption->geometry().intersects(other->geometry()))
                << caption->objectName().toStdString() << " covers "
                << other->objectName().toStdString();
        }
    }
}
