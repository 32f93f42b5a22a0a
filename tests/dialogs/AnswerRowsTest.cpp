#include "dialogs/AnswerRows.h"

#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <iterator>

// The option texts stand on light yellow, 0x80FFFF in the design's blue-green-red order,
// in dark blue: what the person sees, read from the painted row rather than the palette.
TEST(AnswerRows, OptionTextsAreDarkBlueOnLightYellow) {
    QWidget frame;
    frame.resize(640, 300);
    dialogs::AnswerRows rows(&frame);
    QLabel* option = rows.Option(0);
    option->setText(QStringLiteral("Medium"));
    frame.show();
    QCoreApplication::processEvents();

    const QImage painted = option->grab().toImage();
    ASSERT_FALSE(painted.isNull());
    // Far right of the row, clear of the text.
    EXPECT_EQ(painted.pixelColor(painted.width() - 3, painted.height() / 2), QColor(255, 255, 128));
    EXPECT_EQ(option->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    for (int row = 1; row < dialogs::AnswerRows::kRows; ++row)
        EXPECT_EQ(rows.Option(row)->palette().color(QPalette::Window), QColor(255, 255, 128))
            << row;
}

// The sliders are tab stops between the controls made before and after them, and move
// by the keys as the platform's scroll bars do: Left/Up and Page Up one level down,
// Right/Down and Page Down one level up, Home and End to the ends. Every key move is the
// person's; a key that moves nothing and a value the program sets are not.
TEST(AnswerRows, SlidersTakeTheFocusAndAnswerTheKeys) {
    QWidget frame;
    frame.resize(640, 300);
    auto* before = new QPushButton(QStringLiteral("Before"), &frame);
    dialogs::AnswerRows rows(&frame);
    auto* after = new QPushButton(QStringLiteral("After"), &frame);
    after->move(0, 250);
    for (int row = 0; row < 2; ++row)
        rows.Slider(row)->setEnabled(true);
    QList<int> moved;
    QList<int> positions;
    QObject::connect(&rows, &dialogs::AnswerRows::SliderMoved, [&](int row) {
        moved << row;
        positions << rows.Slider(row)->sliderPosition();
    });
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), rows.Slider(0));
    QTest::keyClick(rows.Slider(0), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), rows.Slider(1));
    QTest::keyClick(rows.Slider(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), rows.Slider(1));

    QScrollBar* slider = rows.Slider(1);
    const struct {
        Qt::Key key;
        int value;
    } steps[] = {{Qt::Key_Right, 5},  {Qt::Key_Right, 10},    {Qt::Key_Left, 5},
                 {Qt::Key_Home, -10}, {Qt::Key_PageDown, -5}, {Qt::Key_Down, 0},
                 {Qt::Key_End, 10},   {Qt::Key_PageUp, 5},    {Qt::Key_Up, 0}};
    for (const auto& step : steps) {
        QTest::keyClick(slider, step.key);
        EXPECT_EQ(slider->value(), step.value) << QKeySequence(step.key).toString().toStdString();
    }
    EXPECT_EQ(moved, QList<int>(std::size(steps), 1));
    EXPECT_EQ(positions, QList<int>({5, 10, 5, -10, -5, 0, 10, 5, 0}));

    moved.clear();
    QTest::keyClick(slider, Qt::Key_Home);
    QTest::keyClick(slider, Qt::Key_Left); // at the end already
    slider->setValue(10);                  // the program's value
    EXPECT_EQ(moved, QList<int>({1}));
    EXPECT_EQ(slider->value(), 10);

    // The focused slider shows its thumb inverted, dark where the others' is light.
    rows.Slider(0)->setValue(0);
    slider->setValue(0);
    auto thumbLightness = [](QScrollBar* bar) {
        const QImage image = bar->grab().toImage();
        int sum = 0;
        for (int dy = -3; dy <= 3; ++dy)
            sum += image.pixelColor(image.width() / 2, image.height() / 2 + dy).lightness();
        return sum / 7;
    };
    EXPECT_LT(thumbLightness(slider), 100);
    EXPECT_GT(thumbLightness(rows.Slider(0)), 150);

    // A click gives the focus too, so the keys work after it.
    after->setFocus();
    QTest::mouseClick(rows.Slider(0), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(QApplication::focusWidget(), rows.Slider(0));
}
