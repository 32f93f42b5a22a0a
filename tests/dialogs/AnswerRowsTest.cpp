#include "dialogs/AnswerRows.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

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
