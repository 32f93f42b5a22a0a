#include "dialogs/SavedMsg.h"
#include "tests/support/ModalDriver.h"

#include <QElapsedTimer>
#include <QLabel>
#include <gtest/gtest.h>

using dialogs::SavedMsg;
using testsupport::Control;
using testsupport::ExecWithDeadline;

// Shown modally it hides itself after its timer, which ends the caller's wait; each
// showing names the file of its own save.
TEST(SavedMsg, HidesItselfAndNamesEachSave) {
    SavedMsg notice;
    for (const QString& file :
         {QStringLiteral("cats.dat"), QStringLiteral("dogs.qst"), QString()}) {
        notice.Initialise(file);
        QString shown = QStringLiteral("unset");
        QTimer::singleShot(0, [&] { shown = Control<QLabel>(&notice, "FilenameLabel")->text(); });
        QElapsedTimer waited;
        waited.start();
        ExecWithDeadline(notice, 4000);
        EXPECT_FALSE(notice.isVisible());
        EXPECT_GE(waited.elapsed(), 900);
        EXPECT_EQ(shown, file);
    }
    EXPECT_EQ(Control<QLabel>(&notice, "Label1")->text(),
              QStringLiteral("Changed information has been saved in:"));
}

TEST(SavedMsg, LongPathKeepsTheFileNameInView) {
    SavedMsg notice;
    const QString path = QStringLiteral("/home/someone/knowledge bases/") + QString(80, u'x') +
                         QStringLiteral("/pets.dat");
    notice.Initialise(path);
    notice.show();
    auto* label = Control<QLabel>(&notice, "FilenameLabel");
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("pets.dat")));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_EQ(label->toolTip(), path);
    notice.hide();
}
